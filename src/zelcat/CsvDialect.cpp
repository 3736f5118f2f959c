#include "CsvDialect.h"

#include <QStringDecoder>

#include <array>

QString CsvDialect::decode(const QByteArray& data)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }
    // Windows-1252: Latin-1 but for 0x80..0x9F, where it has printable characters (the
    // five bytes it leaves undefined are kept as the control characters of Latin-1).
    static constexpr std::array<char16_t, 32> k80{
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    text.resize(data.size());
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto b = quint8(data[i]);
        text[i] = b >= 0x80 && b < 0xA0 ? QChar(k80[b - 0x80]) : QChar(b);
    }
    return text;
}

QChar CsvDialect::separatorOf(const QString& text)
{
    std::array<int, 3> counts{};
    static constexpr std::array<char16_t, 3> kSeparators{u',', u';', u'\t'};
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted)
            for (size_t k = 0; k < kSeparators.size(); ++k)
                counts[k] += c == QChar(kSeparators[k]) ? 1 : 0;
    }
    size_t best = 0;
    for (size_t k = 1; k < counts.size(); ++k)
        if (counts[k] > counts[best])
            best = k;
    return QChar(kSeparators[best]);
}
