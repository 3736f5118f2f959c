#pragma once

#include "CatalogueSong.h"
#include "CsvReader.h"
#include "SettingsSheet.h"

#include <QList>
#include <QString>

// Turns the records of the songs file into catalogue songs and refuses the file at the
// first bad line, naming it: a key that is not a whole number, outside 1..32767 or used
// twice; a missing title; a year, length, type, sub-type or category code that the
// catalogue cannot hold.
//
// The file has the header key,title,artist,year,length,type,subtype,categories.
// `categories` is a string of category codes ("0", "3A"); types and sub-types are numbers.
class SongListReader
{
  public:
    static constexpr qint64 kMaxKey16 = 32767;
    static const QStringList& columns();

    explicit SongListReader(const SettingsSheet& settings) : m_settings(settings) {}

    bool read(const CsvReader& csv, const QString& fileName);

    const QList<CatalogueSong>& songs() const { return m_songs; }
    QString errorString() const { return m_error; }

  private:
    bool fail(const QString& fileName, int line, const QString& reason);
    bool readSong(const CsvRecord& rec, CatalogueSong* song, QString* reason) const;

    const SettingsSheet& m_settings;
    QList<CatalogueSong> m_songs;
    QString m_error;
};
