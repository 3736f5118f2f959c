#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

// How a spreadsheet wrote a CSV file: its text encoding and its field separator, found from
// the file itself, since spreadsheets write what the computer's language settings say
// (semicolons where the comma is the decimal mark, Windows-1252 on older systems).
class CsvDialect
{
  public:
    // The text of `data`: UTF-8 (a byte order mark dropped) when it is valid UTF-8, else
    // Windows-1252, which every byte sequence is.
    static QString decode(const QByteArray& data);
    // The separator of the first line: of comma, semicolon and tab the one found most often
    // outside quotes; a comma when there is none.
    static QChar separatorOf(const QString& text);
};
