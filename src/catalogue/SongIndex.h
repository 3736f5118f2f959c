#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <string>
#include <string_view>
#include <vector>

struct SongSearch;

// The catalogue's searchable columns held in memory, so that a search of the song-pick
// dialog is answered without reading the catalogue: the count at once and the rows in the
// statement's order, each row named by its rowid for reading its fields when shown.
//
// Each searchable column (the title and the user fields offered) is kept in the order the
// statement sorts by when it searches that column (the column, then the title, both
// ignoring ASCII letter case, then dbKey), folded the way the catalogue compares text
// (ASCII letters to lower case, every other character as it is), as one text with the
// songs' values one after the other. Beside it: each song's type and sub-type (as the
// number of its distinct folded value) and its special categories (one bit per code).
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
    // that is not a unique integer).
    bool build(const QString& catalogueFile, int userFields);
    bool isBuilt() const { return m_built; }

    // The rows of `search` in the statement's order, as row numbers of this index; false
    // when the statement must answer instead.
    bool search(const SongSearch& search, std::vector<quint32>& rows) const;

    qint64 rowId(quint32 row) const { return m_rowIds[row]; }
    int songCount() const { return int(m_rowIds.size()); }
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

    bool matchingIds(const Values& values, const QString& name, int number,
                     std::vector<char>& allowed) const;

    bool m_built = false;
    std::vector<qint64> m_rowIds;
    std::array<Column, 10> m_columns; // 0 the title, 1..9 the user fields
    Values m_types;
    Values m_subTypes;
    bool m_marksExact = true;
    std::vector<quint16> m_marks; // bit j: the song is in special category j
};
