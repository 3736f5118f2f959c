#include "TextObjectPlace.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

void placeTextObjects(QTextDocument* document,
                      const std::function<std::optional<QTextCharFormat>(const QString& name)>& format)
{
    for (auto it = document->rootFrame()->begin(); !it.atEnd(); ++it)
        for (auto part = it.currentBlock().begin(); !part.atEnd(); ++part) {
            const QTextFragment fragment = part.fragment();
            const std::optional<QTextCharFormat> object =
                format(fragment.charFormat().toImageFormat().name());
            if (!object)
                continue;
            QTextCursor at(document);
            at.setPosition(fragment.position());
            at.setPosition(fragment.position() + 1, QTextCursor::KeepAnchor);
            at.setCharFormat(*object);
        }
}
