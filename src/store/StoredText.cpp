#include "StoredText.h"

namespace StoredText
{

QString whole(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (!c.isSurrogate()) {
            out += c;
        }
    }
    // An empty text stays an empty text, never "no value".
    return out.isNull() && !text.isNull() ? QString(QLatin1String("")) : out;
}

} // namespace StoredText
