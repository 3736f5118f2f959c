#include "CsvReader.h"

#include <QFile>
#include <QStringDecoder>

bool CsvReader::readFile(const QString& path)
{
    m_fileName = path;
    m_records.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("%1: cannot be read: %2").arg(path, file.errorString());
        return false;
    }
    return parse(file.readAll(), path);
}

bool CsvReader::fail(int line, const QString& reason)
{
    m_error = QStringLiteral("%1:%2: %3").arg(m_fileName).arg(line).arg(reason);
    m_records.clear();
    return false;
}

bool CsvReader::parse(const QByteArray& data, const QString& fileName)
{
    m_fileName = fileName;
    m_records.clear();
    m_error.clear();

    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(data);
    if (decoder.hasError()) {
        // Find the line of the first byte that is not UTF-8, so the message points at it.
        int line = 1;
        const QList<QByteArray> lines = data.split('\n');
        for (const QByteArray& l : lines) {
            QStringDecoder probe(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString decoded = probe.decode(l); // decoding happens on conversion
            Q_UNUSED(decoded);
            if (probe.hasError())
                break;
            ++line;
        }
        return fail(line, QStringLiteral("the line is not UTF-8 text"));
    }
    return parseText(text, fileName, QLatin1Char(','));
}

bool CsvReader::parseText(const QString& text, const QString& fileName, QChar separator,
                          qsizetype maxRecords)
{
    m_fileName = fileName;
    m_records.clear();
    m_stoppedEarly = false;
    m_error.clear();
    m_separator = separator;
    qsizetype i = text.startsWith(QChar(0xFEFF)) ? 1 : 0;
    const qsizetype n = text.size();
    int line = 1;

    while (i < n) {
        if (m_records.size() == maxRecords) {
            m_stoppedEarly = true;
            break;
        }
        // Skip blank lines between records.
        if (text[i] == QLatin1Char('\n')) {
            ++line;
            ++i;
            continue;
        }
        if (text[i] == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) {
            ++line;
            i += 2;
            continue;
        }

        CsvRecord record;
        record.line = line;
        bool endOfRecord = false;
        while (!endOfRecord) {
            QString field;
            if (i < n && text[i] == QLatin1Char('"')) {
                const int fieldLine = line;
                ++i;
                bool closed = false;
                while (i < n) {
                    const QChar c = text[i];
                    if (c == QLatin1Char('"')) {
                        if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                            field += QLatin1Char('"');
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    if (c == QLatin1Char('\n'))
                        ++line;
                    field += c;
                    ++i;
                }
                if (!closed)
                    return fail(
                        fieldLine,
                        QStringLiteral("a quoted field is not closed (a quote is missing)"));
                if (i < n && text[i] != m_separator && text[i] != QLatin1Char('\n') &&
                    text[i] != QLatin1Char('\r'))
                    return fail(line,
                                QStringLiteral("text follows the closing quote of field %1; "
                                               "a quote inside a quoted field must be doubled")
                                    .arg(record.fields.size() + 1));
            } else {
                while (i < n && text[i] != m_separator && text[i] != QLatin1Char('\n') &&
                       !(text[i] == QLatin1Char('\r') && i + 1 < n &&
                         text[i + 1] == QLatin1Char('\n'))) {
                    if (text[i] == QLatin1Char('"'))
                        return fail(line, QStringLiteral("a quote inside field %1, which is not "
                                                         "quoted; quote the whole field")
                                              .arg(record.fields.size() + 1));
                    field += text[i];
                    ++i;
                }
            }
            record.fields << field;

            if (i >= n) {
                endOfRecord = true;
            } else if (text[i] == m_separator) {
                ++i;
            } else if (text[i] == QLatin1Char('\r')) {
                if (i + 1 >= n || text[i + 1] != QLatin1Char('\n'))
                    return fail(line, QStringLiteral("a carriage return without a line feed"));
                i += 2;
                ++line;
                endOfRecord = true;
            } else { // '\n'
                ++i;
                ++line;
                endOfRecord = true;
            }
        }
        m_records << record;
    }
    return true;
}
