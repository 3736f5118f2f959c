#pragma once

#include <QString>

// Text as the event database stores it: valid UTF-8 that other programs can read. A half
// of a character (a lone UTF-16 surrogate, as a length limit may leave when it cuts a
// pair in two) is no character and is left out; everything else is kept exactly.
namespace StoredText
{
QString whole(const QString& text);
}
