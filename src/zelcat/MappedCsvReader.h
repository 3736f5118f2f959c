#pragma once

#include "ImportSummary.h"
#include "ImportedSong.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Reads songs from a CSV file with a header row, finding each field by its column name:
// title (required), artist, length (minutes:seconds, hours:minutes:seconds, seconds, or a
// time of day a spreadsheet made of minutes:seconds), genre, year, bpm and file (the song's
// file, relative to the CSV's folder). Columns are named like the fields unless a mapping
// names others ("title=Song,artist=Performer"). The separator (comma, semicolon, tab) and the
// encoding (UTF-8, else Windows-1252) are found from the file (CsvDialect). A field that
// cannot be read is left empty and reported; a line without a title or with the wrong number
// of fields is reported and passed over; a file that is not well-formed CSV, or lacks a
// column it needs, is passed over whole.
class MappedCsvReader
{
  public:
    static const QStringList& fields();

    explicit MappedCsvReader(ImportSummary& summary) : m_summary(summary) {}

    // Sets the mapping from "field=Column,..."; false with `error` for an unknown field.
    bool setMapping(const QString& spec, QString* error);
    // False when the file cannot be read, and when it holds more than `room` lines of songs:
    // then it is read only that far (overflowed()).
    bool read(const QString& fileName, qsizetype room = ImportedSong::kMaxPerImport);
    const QList<ImportedSong>& songs() const { return m_songs; }
    bool overflowed() const { return m_overflowed; }

    // Seconds of "m:ss", "h:mm:ss" or a plain number of seconds; -1 when it is none.
    static int parseLength(const QString& text);

  private:
    bool readLine(const QStringList& values, const QHash<QString, int>& at, const QString& folder,
                  ImportedSong* song, QStringList* unread) const;

    ImportSummary& m_summary;
    QHash<QString, QString> m_columns; // field -> column name given by the mapping
    QList<ImportedSong> m_songs;
    bool m_overflowed = false;
};
