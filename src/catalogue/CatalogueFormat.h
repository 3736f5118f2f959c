#pragma once

#include <QString>
#include <QStringList>

class SqlConnection;

// The format of the song catalogue songlist.mdb, written down once. The catalogue tool
// writes it and the importer updates it; the store session, the search index and the grid
// model read it.
//
// - MUSIC: one row per song, the key dbKey (1..32767, the format's 16-bit keys), the title
//   Name, Type and sub-types, the length Time ("m:ss"), the special categories Matrix and
//   nine user fields UDF01..UDF09 (UDF01 the artist, UDF02 the year). Two indexes serve the
//   search's sorts and scans: by title, and by artist then title.
// - Config: the catalogue's settings as keyed items (Item, Usage).
// - ImportKeys: the importer's memory of each song's source and of the keys of removed
//   songs with the title, artist, time and file that identified them (Name, Artist, Time,
//   set for removed songs only); the wizard never reads it.
// - ImportFailed: the files whose tags could not be read, with size, time and reason, so
//   they are not read again until they change; the wizard never reads it.
//
// Texts compare without regard to case, as the search's LIKE and "=" do.
class CatalogueFormat
{
  public:
    // The format version in PRAGMA user_version.
    static constexpr int kVersion = 1;
    static constexpr int kMaxKey = 32767;
    static constexpr int kUserFields = 9;

    static constexpr const char* kMusic = "MUSIC";
    static constexpr const char* kConfig = "Config";
    static constexpr const char* kImportKeys = "ImportKeys";
    static constexpr const char* kImportFailed = "ImportFailed";

    // The columns of MUSIC in the table's order; UserField1 + n - 1 is UDF0n.
    enum MusicColumn { Key, Title, Type, SubType1, SubType2, Time, Matrix, UserField1 };
    static constexpr int kMusicColumns = UserField1 + kUserFields;
    static QString musicColumn(int column);
    static QStringList musicColumns();
    // The two tables every catalogue has.
    static QStringList tables();
    // Whether an open catalogue is one this release knows: a database with both tables and a
    // format version no later than kVersion. Otherwise false, with `reason` saying why ("it
    // has no MUSIC table").
    static bool isKnown(const SqlConnection& catalogue, QString* reason);

    enum KeyRange {
        SixteenBit, // dbKey 1..32767, enforced by the table itself
        Unbounded,  // any positive dbKey; only for stress catalogues
    };
    // The statements that make the tables of a new catalogue, and its indexes (made once
    // the rows are in, which is quicker).
    static QStringList createTables(KeyRange range);
    static QStringList createIndexes();
    // The importer's table, made when a catalogue lacks it.
    static QString createImportKeys();
    static QString createImportFailed();
};
