#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <QtGlobal>

#include <array>
#include <string>
#include <string_view>
#include <vector>

struct SongSearch;
struct sqlite3;

// The catalogue's songs held in memory for the song-pick dialog: a search is answered
// without reading the catalogue (the count at once, the rows in the statement's order), and
// the fields the grid shows and a pick hands back are read from here.
//
// Rows are numbered in the order of a title search (title ignoring ASCII letter case, then
// dbKey), which the catalogue gives through its title index. Each searchable column (the
// title and the user fields offered) is kept in the order the statement sorts by when it
// searches that column (the column ignoring ASCII letter case, then the title order),
// folded the way the catalogue compares text (ASCII letters to lower case, every other
// character as it is), as one text with the songs' values one after the other. Beside it:
// each song's type and sub-type (as the number of its distinct folded value), its special
// categories (one bit per code), and the stored text of the fields the grid shows.
//
// search() gives exactly the rows of SongQuery::bound() in the same order, or declines, and
// the statement must run instead: when the index could not be built, for a column not
// indexed, when a column the search uses holds anything but text or no value (a number,
// binary data, text with a NUL or not valid UTF-8), when the type columns compare with a
// collation that ignores trailing blanks, and for search inputs the statement treats in
// ways of its own (a NUL, invalid UTF-16, a pattern over the engine's length limit).
class SongIndex
{
  public:
    // The longest LIKE pattern the catalogue engine accepts, in bytes; longer ones fail.
    static constexpr int kMaxPatternBytes = 50000;

    // Reads the songs of the catalogue file (a path or a file: URI): the title and user
    // fields 1..userFields as searchable columns. False (and every search then declines)
    // when the songs cannot be read or the order of the result would not be fixed (a dbKey
    // that is not a unique integer, a title that is not text).
    bool build(const QString& catalogueFile, int userFields);
    bool isBuilt() const { return m_built; }

    // Whether the index answers `search` (else the statement must).
    bool answers(const SongSearch& search) const;
    // The rows of `search` in the statement's order, as row numbers of this index; false
    // when the statement must answer instead.
    bool search(const SongSearch& search, std::vector<quint32>& rows) const;

    qint64 rowId(quint32 row) const { return m_rowIds[row]; }
    int songCount() const { return int(m_rowIds.size()); }

    // The stored value of a field of `row`, the columns numbered as the song grid numbers
    // them (dbKey, Name, Type, SType1, SType2, Time, Matrix, UDF01..UDF09): text as a
    // string, dbKey as a number, no value as an empty string. False for what the index does
    // not hold, which only the catalogue can give: SType2, the user fields beyond those
    // offered (and beyond the first), and values that are not plain text.
    bool field(quint32 row, int column, QVariant& value) const;

    // Bytes held by the index.
    size_t memoryBytes() const;

  private:
    // One searchable column: its non-null values, folded, in the column's result order,
    // each followed by a NUL (no value holds one), and which row each value belongs to.
    struct Column {
        bool indexed = false;
        bool exact = true;
        std::string text;
        std::vector<quint32> starts; // offset of each value in `text`, plus the end
        std::vector<quint32> rows;
        std::vector<quint64> masks; // which bytes each value holds (see byteMask)
        std::string_view value(size_t entry) const
        {
            return std::string_view(text).substr(starts[entry],
                                                 starts[entry + 1] - starts[entry] - 1);
        }
    };
    // A filter column compared for equality: each row's distinct folded value by number
    // (0 = no value).
    struct Values {
        bool exact = true;
        std::vector<quint32> ids;
        std::vector<std::string> distinct{std::string()};
    };

    // What the catalogue's MUSIC table offers: which columns there are and which hold text,
    // whether a column compares ignoring trailing blanks, and the user fields searched.
    struct Layout {
        QHash<QString, bool> textColumns; // upper-case name: whether it holds text
        bool trailingBlanks = true;
        int userFields = 0;
    };

    // The title order (the rows, their keys and titles); false when the index cannot follow
    // the statement's order.
    bool readTitles(sqlite3* db);
    // On a connection of its own, every song's other fields in the table's order: their
    // rowids, the fields shown, types, sub-types and categories (members of their own, in
    // that order) and the user fields searched (into `userColumns`, rows numbered as read).
    bool readFields(const QString& catalogueFile, const Layout& layout, std::vector<qint64>& rowIds,
                    std::array<Column, 10>& userColumns);
    // Which distinct values of a type column match the type's name or number.
    std::vector<char> matchingIds(const Values& values, const QString& name, int number) const;

    bool m_built = false;
    std::vector<qint64> m_rowIds;
    std::vector<qint64> m_keys;
    std::array<Column, 10> m_columns; // 0 the title, 1..9 the user fields
    Values m_types;
    Values m_subTypes;
    bool m_marksExact = true;
    std::vector<quint16> m_marks; // bit j: the song is in special category j
    // The titles as stored, laid out as the title column's folded text; the rows without a
    // title come first in title order.
    std::string m_titles;
    quint32 m_untitled = 0;
    // Each row's other fields the grid shows (Type, SType1, Time, Matrix, UDF01 up to
    // m_shownUserFields), one after the other, each a length in base-128 digits (0 for no
    // value, 1 for a value held only by the catalogue, else 2 + its bytes) and its bytes.
    std::string m_shown;
    std::vector<quint32> m_shownAt;
    int m_shownUserFields = 0;
};
