#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One record of a CSV file and the line on which it begins (counted from 1).
struct CsvRecord {
    int line = 0;
    QStringList fields;
};

// Reads comma-separated text as RFC 4180 writes it: fields may be quoted, a quote inside a
// quoted field is doubled, and quoted fields may hold commas and line breaks. Lines end in
// LF or CRLF; a UTF-8 byte order mark is skipped; blank lines are skipped.
//
// A malformed file is refused as a whole: errorString() then names the file and the line.
class CsvReader
{
  public:
    // Reads and parses a file; false when it cannot be read or is malformed.
    bool readFile(const QString& path);
    // Parses `data`; `fileName` is only used in messages.
    bool parse(const QByteArray& data, const QString& fileName);
    // Parses text already decoded whose fields are separated by `separator`, stopping after
    // `maxRecords` records (then stoppedEarly()).
    bool parseText(const QString& text, const QString& fileName, QChar separator,
                   qsizetype maxRecords = -1);
    bool stoppedEarly() const { return m_stoppedEarly; }

    const QList<CsvRecord>& records() const { return m_records; }
    QString errorString() const { return m_error; }

  private:
    bool fail(int line, const QString& reason);

    QString m_fileName;
    QChar m_separator = QLatin1Char(',');
    QList<CsvRecord> m_records;
    bool m_stoppedEarly = false;
    QString m_error;
};
