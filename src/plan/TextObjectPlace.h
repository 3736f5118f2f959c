#pragma once

#include <QString>
#include <QTextCharFormat>

#include <functional>
#include <optional>

class QTextDocument;

// Puts a text object in the place of each picture of `document` for which `format` gives the
// object's character format (none leaves the picture as it is). The pictures stand in
// paragraphs of their own: only the blocks of the document's top level are looked at, each
// table passed over whole. Call it before the document has a layout, which would otherwise lay
// it all out at once.
void placeTextObjects(QTextDocument* document,
                      const std::function<std::optional<QTextCharFormat>(const QString& name)>& format);
