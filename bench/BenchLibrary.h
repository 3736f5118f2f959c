#pragma once

#include <QString>

// A generated catalogue of `songs` songs, each with a file in the library, as after an
// import; false with `error` when it could not be made.
bool makeBenchLibrary(const QString& file, int songs, QString* error);
