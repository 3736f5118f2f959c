#include "SongIndex.h"

#include "catalogue/CatalogueFormat.h"
#include "catalogue/SongQuery.h"

#include <QHash>
#include <QStringList>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <numeric>
#include <thread>

namespace
{
const QString kMusic = QLatin1String(CatalogueFormat::kMusic);

constexpr quint32 kNone = std::numeric_limits<quint32>::max();

char foldAscii(char32_t c)
{
    return char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
}

// Appends `text` as UTF-8 with the ASCII capitals made small, as the catalogue engine's
// LIKE and NOCASE compare it. False for text the engine reads otherwise: a NUL ends its
// text early, and it reads U+FFFE and U+FFFF as U+FFFD; lone surrogates are no text.
bool appendFolded(const QString& text, std::string& out)
{
    const qsizetype n = text.size();
    const char16_t* p = reinterpret_cast<const char16_t*>(text.constData());
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = p[i];
        if (c < 0x80) {
            if (c == 0)
                return false;
            out += foldAscii(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            if (c > 0xDBFF || i + 1 >= n || p[i + 1] < 0xDC00 || p[i + 1] > 0xDFFF)
                return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (p[++i] - 0xDC00);
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            if (c >= 0xFFFE)
                return false;
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return true;
}

// Whether stored UTF-8 bytes are text the index reads as the engine does: well-formed
// UTF-8 without a NUL, U+FFFE or U+FFFF (the engine reads those in ways of its own).
bool isPlainText(const unsigned char* p, size_t n)
{
    size_t i = 0;
    // Eight bytes at a time while they are ASCII (no high bit) and none is a NUL.
    constexpr quint64 kLow = 0x0101010101010101u, kHigh = 0x8080808080808080u;
    for (quint64 w = 0; i + 8 <= n; i += 8) {
        std::memcpy(&w, p + i, 8);
        if ((w & kHigh) || ((w - kLow) & ~w & kHigh))
            break;
    }
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            if (b == 0)
                return false;
            ++i;
            continue;
        }
        size_t len = 0;
        char32_t c = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
            c = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            c = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            c = b & 0x07;
        } else {
            return false;
        }
        if (i + len > n)
            return false;
        for (size_t k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (p[i + k] & 0x3F);
        }
        if ((len == 3 && c < 0x800) || (len == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
            (c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFE || c == 0xFFFF)
            return false;
        i += len;
    }
    return true;
}

// Appends plain text with its ASCII capitals made small, and a NUL after it when `ended`.
void appendFolded(std::string_view text, std::string& out, bool ended = false)
{
    const size_t start = out.size();
    out.resize(start + text.size() + (ended ? 1 : 0));
    char* o = out.data() + start;
    const char* p = text.data();
    const char* end = p + text.size();
    // Eight bytes at a time: 0x20 added to each byte from 'A' to 'Z' (bytes with the high
    // bit, which are never letters here, excluded).
    constexpr quint64 kOnes = 0x0101010101010101u, kHigh = 0x8080808080808080u;
    for (quint64 w = 0; end - p >= 8; p += 8, o += 8) {
        std::memcpy(&w, p, 8);
        const quint64 low = w & ~kHigh;
        const quint64 upper =
            (low + (0x80 - 'A') * kOnes) & ~(low + (0x80 - 'Z' - 1) * kOnes) & ~w & kHigh;
        w |= upper >> 2;
        std::memcpy(o, &w, 8);
    }
    for (; p != end; ++p)
        *o++ = *p >= 'A' && *p <= 'Z' ? char(*p + ('a' - 'A')) : *p;
}

// A stored value as the index reads it: no value, plain text (its bytes), or anything else
// (a number, binary data, text the index cannot read as the engine does).
struct Stored {
    enum Kind { Null, Text, Other } kind = Null;
    std::string_view text;
};

Stored storedAt(sqlite3_stmt* st, int column)
{
    if (column < 0)
        return {};
    // One value object read through: fewer calls than asking the statement for each part.
    sqlite3_value* value = sqlite3_column_value(st, column);
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_TEXT: {
        const unsigned char* text = sqlite3_value_text(value);
        const auto bytes = size_t(sqlite3_value_bytes(value));
        if (isPlainText(text, bytes))
            return {Stored::Text, {reinterpret_cast<const char*>(text), bytes}};
        return {Stored::Other, {}};
    }
    default:
        return {Stored::Other, {}};
    }
}

// A length in base-128 digits, lowest first, the high bit marking that more follow.
void appendLength(std::string& out, size_t n)
{
    if (n < 0x80) { // mostly
        out.append(1, char(n));
        return;
    }
    for (; n >= 0x80; n >>= 7)
        out += char(0x80 | (n & 0x7F));
    out += char(n);
}

size_t readLength(const char*& p)
{
    size_t n = 0;
    for (int shift = 0;; shift += 7) {
        const auto b = quint8(*p++);
        n |= size_t(b & 0x7F) << shift;
        if (b < 0x80)
            return n;
    }
}

// Numbers distinct values: an equal value seen before gets its number again. The values
// stay with the caller, who gives them by number (`valueOf`).
class Interner
{
  public:
    // The number of a value equal to `value` seen before, else `next`, which is then the
    // value's number.
    template <class ValueOf>
    quint32 number(std::string_view value, quint32 next, const ValueOf& valueOf)
    {
        if (value.size() == 1) { // type numbers mostly: found without hashing
            quint32& n = m_single[quint8(value[0])];
            return n = n == kNone ? next : n;
        }
        if ((m_used + 1) * 2 > m_slots.size())
            grow(valueOf);
        const size_t mask = m_slots.size() - 1;
        size_t i = std::hash<std::string_view>()(value) & mask;
        for (; m_slots[i] != kNone; i = (i + 1) & mask)
            if (valueOf(m_slots[i]) == value)
                return m_slots[i];
        m_slots[i] = next;
        ++m_used;
        return next;
    }

  private:
    template <class ValueOf> void grow(const ValueOf& valueOf)
    {
        std::vector<quint32> old(std::max<size_t>(64, m_slots.size() * 2), kNone);
        old.swap(m_slots);
        const size_t mask = m_slots.size() - 1;
        for (const quint32 n : old) {
            if (n == kNone)
                continue;
            size_t i = std::hash<std::string_view>()(valueOf(n)) & mask;
            while (m_slots[i] != kNone)
                i = (i + 1) & mask;
            m_slots[i] = n;
        }
    }

    std::vector<quint32> m_slots;
    size_t m_used = 0;
    std::array<quint32, 256> m_single = [] {
        std::array<quint32, 256> a{};
        a.fill(kNone);
        return a;
    }();
};

// Rows by rowid, in an open-addressed table (rowids are unique).
class RowsById
{
  public:
    explicit RowsById(const std::vector<qint64>& rowIds)
    {
        while ((size_t(1) << m_bits) < rowIds.size() * 2)
            ++m_bits;
        m_slots.assign(size_t(1) << m_bits, {0, kNone});
        for (quint32 row = 0; row < rowIds.size(); ++row) {
            size_t i = slot(rowIds[row]);
            while (m_slots[i].second != kNone)
                i = (i + 1) & (m_slots.size() - 1);
            m_slots[i] = {rowIds[row], row};
        }
    }
    quint32 find(qint64 rowId) const
    {
        for (size_t i = slot(rowId); m_slots[i].second != kNone; i = (i + 1) & (m_slots.size() - 1))
            if (m_slots[i].first == rowId)
                return m_slots[i].second;
        return kNone;
    }

  private:
    size_t slot(qint64 rowId) const
    {
        return size_t((quint64(rowId) * 0x9E3779B97F4A7C15u) >> (64 - m_bits));
    }
    int m_bits = 6;
    std::vector<std::pair<qint64, quint32>> m_slots;
};

struct CloseDb {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct Finalize {
    void operator()(sqlite3_stmt* st) const { sqlite3_finalize(st); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

Statement prepare(sqlite3* db, const QString& text)
{
    sqlite3_stmt* st = nullptr;
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &st, nullptr) != SQLITE_OK) {
        sqlite3_finalize(st);
        return nullptr;
    }
    return Statement(st);
}

// A connection of its own to the catalogue, read-only, through the engine's own interface:
// the values come as the stored UTF-8 bytes, with no conversion on the way. The file is
// mapped into memory, so its pages are read without a copy through the system.
sqlite3* openCatalogue(const QString& catalogueFile)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(catalogueFile.toUtf8().constData(), &db,
                        SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 5000);
    sqlite3_exec(db, "PRAGMA mmap_size = 1073741824", nullptr, nullptr, nullptr);
    return db;
}

QString columnText(sqlite3_stmt* st, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, column)),
                             sqlite3_column_bytes(st, column));
}

bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Whether `segment` (literal bytes, '_' for any one character) matches `value` at `at`;
// on a match `end` is where it ends. A character is a lead byte with the continuation
// bytes after it, as the engine reads them.
bool matchesAt(std::string_view value, size_t at, std::string_view segment, size_t& end)
{
    size_t v = at;
    for (const char p : segment) {
        if (v >= value.size())
            return false;
        if (p == '_') {
            ++v;
            while (v < value.size() && isContinuation(value[v]))
                ++v;
        } else if (value[v++] != p) {
            return false;
        }
    }
    end = v;
    return true;
}

// Whether `value` matches "%" + segments joined by "%" + "%": each segment found, in turn,
// at the earliest place after the one before (segments match a fixed number of characters,
// so the earliest place is never worse).
bool matchesAll(std::string_view value, const std::vector<std::string_view>& segments)
{
    size_t from = 0;
    for (const std::string_view seg : segments) {
        bool found = false;
        for (size_t at = from; at < value.size(); ++at) {
            if (isContinuation(value[at]))
                continue;
            size_t end = 0;
            if (matchesAt(value, at, seg, end)) {
                from = end;
                found = true;
                break;
            }
        }
        if (!found)
            return false;
    }
    return true;
}

// A declared column type whose affinity is text: values are stored as text or not at all,
// and bound text is compared as text.
bool hasTextAffinity(const QString& declared)
{
    const QString t = declared.toUpper();
    return !t.contains(QLatin1String("INT")) &&
           (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB")) ||
            t.contains(QLatin1String("TEXT")));
}

quint16 categoryBit(char folded)
{
    if (folded >= '0' && folded <= '9')
        return quint16(1u << (folded - '0'));
    if (folded >= 'a' && folded <= 'e')
        return quint16(1u << (10 + folded - 'a'));
    return 0;
}

// The bit a (folded) byte sets in a value's byte mask: one of its own for each small ASCII
// letter, digit and the blank, a shared one for every other byte.
constexpr std::array<quint8, 256> kMaskBits = [] {
    std::array<quint8, 256> bits{};
    for (int b = 0; b < 256; ++b)
        bits[size_t(b)] = quint8(b >= 'a' && b <= 'z'   ? b - 'a'
                                 : b >= '0' && b <= '9' ? 26 + b - '0'
                                 : b == ' '             ? 36
                                                        : 37 + b % 27);
    return bits;
}();

int maskBit(char folded)
{
    return kMaskBits[quint8(folded)];
}

// Which bytes a value holds, one bit per maskBit(): a value can match a pattern only when it
// holds every byte the pattern spells out.
quint64 byteMask(std::string_view folded)
{
    quint64 mask = 0;
    for (const char c : folded)
        mask |= quint64(1) << maskBit(c);
    return mask;
}

// A searchable column's values, read in any order, put in its result order: by folded
// value (as the NOCASE collation orders folded text: bytewise, a prefix first), equal values
// in row order, which is the title order. Each distinct value is sorted once; the songs then
// go into their value's place in row order.
template <class Column> void orderColumn(const Column& from, size_t songs, Column& to)
{
    const auto entries = quint32(from.rows.size());
    Interner interner;
    std::vector<quint32> distinctOf(entries); // entry -> its distinct value
    std::vector<quint32> firstEntry;          // distinct value -> an entry holding it
    for (quint32 e = 0; e < entries; ++e) {
        const quint32 d = interner.number(from.value(e), quint32(firstEntry.size()),
                                          [&](quint32 n) { return from.value(firstEntry[n]); });
        if (d == firstEntry.size())
            firstEntry.push_back(e);
        distinctOf[e] = d;
    }
    std::vector<quint32> sorted(firstEntry.size());
    std::iota(sorted.begin(), sorted.end(), 0u);
    std::sort(sorted.begin(), sorted.end(), [&](quint32 a, quint32 b) {
        return from.value(firstEntry[a]) < from.value(firstEntry[b]);
    });
    // Where each distinct value's songs begin in the result.
    std::vector<quint32> place(sorted.size() + 1, 0);
    std::vector<quint32> rank(sorted.size());
    for (quint32 i = 0; i < sorted.size(); ++i)
        rank[sorted[i]] = i;
    for (quint32 e = 0; e < entries; ++e)
        ++place[rank[distinctOf[e]] + 1];
    std::partial_sum(place.begin(), place.end(), place.begin());
    std::vector<quint32> entryOf(songs, kNone);
    for (quint32 e = 0; e < entries; ++e)
        entryOf[from.rows[e]] = e;
    std::vector<quint32> order(entries);
    for (const quint32 e : entryOf)
        if (e != kNone)
            order[place[rank[distinctOf[e]]]++] = e;

    to.text.reserve(from.text.size());
    to.starts.reserve(entries + 1);
    to.rows.reserve(entries);
    to.masks.reserve(entries);
    for (const quint32 e : order) {
        to.starts.push_back(quint32(to.text.size()));
        to.text.append(from.value(e));
        to.text += '\0';
        to.rows.push_back(from.rows[e]);
        to.masks.push_back(byteMask(from.value(e)));
    }
    to.starts.push_back(quint32(to.text.size()));
}

// The fields of a row the grid shows beside the title, in the order they are held.
enum Shown { ShownType, ShownSubType, ShownTime, ShownMatrix, ShownUserField1 };
} // namespace

bool SongIndex::build(const QString& catalogueFile, int userFields)
{
    *this = SongIndex();
    const std::unique_ptr<sqlite3, CloseDb> db(openCatalogue(catalogueFile));
    if (!db)
        return false;

    // Which columns there are, whether they hold text, and whether any compares with a
    // collation that ignores trailing blanks (the type filters' "=" would then differ).
    Layout layout;
    Statement info = prepare(db.get(), QStringLiteral("PRAGMA table_info(%1)").arg(kMusic));
    while (info && sqlite3_step(info.get()) == SQLITE_ROW)
        layout.textColumns.insert(columnText(info.get(), 1).toUpper(),
                                  hasTextAffinity(columnText(info.get(), 2)));
    Statement schema = prepare(db.get(), QStringLiteral("SELECT sql FROM sqlite_master WHERE type "
                                                        "= 'table' AND name = '%1' COLLATE NOCASE")
                                             .arg(kMusic));
    layout.trailingBlanks =
        !schema || sqlite3_step(schema.get()) != SQLITE_ROW ||
        columnText(schema.get(), 0).contains(QLatin1String("RTRIM"), Qt::CaseInsensitive);
    if (!layout.textColumns.contains(QStringLiteral("DBKEY")) ||
        !layout.textColumns.value(QStringLiteral("NAME")))
        return false;
    layout.userFields = std::clamp(userFields, 0, 9);

    // The other fields are read on a connection of their own at the same time, in a second
    // thread; each thread fills members of its own.
    std::array<Column, 10> byRead;
    std::vector<qint64> readIds;
    bool fieldsRead = false;
    std::thread reader([&] { fieldsRead = readFields(catalogueFile, layout, readIds, byRead); });
    const bool titlesRead = readTitles(db.get());
    reader.join();
    const size_t songs = m_rowIds.size();
    if (!titlesRead || !fieldsRead || readIds.size() != songs)
        return false;

    // The fields were read in the table's order: each put at its row's place.
    const RowsById rowOf(m_rowIds);
    std::vector<quint32> rowAt(songs);
    for (size_t i = 0; i < songs; ++i)
        if ((rowAt[i] = rowOf.find(readIds[i])) == kNone)
            return false; // not the songs the title order gave
    auto reorder = [&](auto& byReadOrder) {
        std::remove_reference_t<decltype(byReadOrder)> byRow(byReadOrder.size());
        for (size_t i = 0; i < byReadOrder.size(); ++i)
            byRow[rowAt[i]] = byReadOrder[i];
        byReadOrder = std::move(byRow);
    };
    reorder(m_shownAt);
    reorder(m_marks);
    reorder(m_types.ids);
    reorder(m_subTypes.ids);
    // Each user field searched in its result order.
    for (int i = 1; i <= layout.userFields; ++i) {
        if (!m_columns[i].indexed || !m_columns[i].exact)
            continue;
        for (quint32& row : byRead[i].rows)
            row = rowAt[row];
        orderColumn(byRead[i], songs, m_columns[i]);
    }
    m_built = true;
    return true;
}

bool SongIndex::readTitles(sqlite3* db)
{
    // In the order the statement gives a title search (the catalogue walks its title index
    // for it): the rows are numbered in it, and the titles kept in it.
    const Statement byTitle =
        prepare(db, QStringLiteral("SELECT rowid, dbKey, Name FROM %1").arg(kMusic) +
                        SongQuery::bound(SongSearch()).order);
    if (!byTitle)
        return false;
    sqlite3_stmt* q = byTitle.get();
    Column& titles = m_columns[0];
    titles.indexed = true;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(q)) == SQLITE_ROW) {
        const auto row = quint32(m_rowIds.size());
        const Stored name = storedAt(q, 2);
        if (sqlite3_column_type(q, 1) != SQLITE_INTEGER || name.kind == Stored::Other)
            return false; // every search sorts by the title, then dbKey
        const qint64 key = sqlite3_column_int64(q, 1);
        const bool sameKey = row > 0 && m_keys.back() == key;
        if (name.kind == Stored::Null) {
            // Untitled songs come first. Two songs alike in title and dbKey would come in
            // an order of the engine's choosing: then the index stays out.
            if (!titles.rows.empty() || sameKey)
                return false;
            ++m_untitled;
        } else {
            const auto start = quint32(titles.text.size());
            appendFolded(name.text, titles.text, true);
            const std::string_view folded(titles.text.data() + start, name.text.size());
            titles.starts.push_back(start); // the end of the title before
            if (sameKey && titles.starts.size() > 1 &&
                titles.value(titles.starts.size() - 2) == folded)
                return false;
            titles.rows.push_back(row);
            titles.masks.push_back(byteMask(folded));
            m_titles.append(name.text.data(), name.text.size() + 1); // with the NUL after it
        }
        m_rowIds.push_back(sqlite3_column_int64(q, 0));
        m_keys.push_back(key);
    }
    titles.starts.push_back(quint32(titles.text.size()));
    titles.text.shrink_to_fit();
    m_titles.shrink_to_fit();
    return step == SQLITE_DONE && m_rowIds.size() < kNone;
}

bool SongIndex::readFields(const QString& catalogueFile, const Layout& layout,
                           std::vector<qint64>& rowIds, std::array<Column, 10>& userColumns)
{
    const std::unique_ptr<sqlite3, CloseDb> db(openCatalogue(catalogueFile));
    if (!db)
        return false;
    // A plain scan, in the table's own order; the fields of a row are kept in read order.
    m_shownUserFields = std::max(layout.userFields, 1); // user field 1 is the artist of a pick
    QStringList select{QStringLiteral("rowid")};
    std::vector<int> at; // for each shown field, its column in the read, or -1
    auto column = [&](const QString& name) {
        if (!layout.textColumns.contains(name.toUpper()))
            return -1;
        select << name;
        return int(select.size()) - 1;
    };
    for (int c : {CatalogueFormat::Type, CatalogueFormat::SubType1, CatalogueFormat::Time,
                  CatalogueFormat::Matrix})
        at.push_back(column(CatalogueFormat::musicColumn(c)));
    for (int i = 1; i <= m_shownUserFields; ++i)
        at.push_back(column(SongQuery::searchColumn(i)));
    const Statement read =
        prepare(db.get(),
                QStringLiteral("SELECT %1 FROM %2").arg(select.join(QStringLiteral(", ")), kMusic));
    if (!read)
        return false;
    sqlite3_stmt* q = read.get();
    m_types.exact = layout.textColumns.value(QStringLiteral("TYPE")) && !layout.trailingBlanks;
    m_subTypes.exact = layout.textColumns.value(QStringLiteral("STYPE1")) && !layout.trailingBlanks;
    m_marksExact = layout.textColumns.value(QStringLiteral("MATRIX"));
    for (int i = 1; i <= layout.userFields; ++i)
        m_columns[i].indexed = layout.textColumns.value(SongQuery::searchColumn(i).toUpper());
    Interner typeIds, subTypeIds;
    std::string folded;
    auto intern = [&](Values& values, Interner& ids, const Stored& v) {
        values.exact = values.exact && v.kind != Stored::Other;
        quint32 n = 0;
        if (values.exact && v.kind == Stored::Text) {
            folded.clear();
            appendFolded(v.text, folded);
            n = ids.number(folded, quint32(values.distinct.size()),
                           [&](quint32 i) { return std::string_view(values.distinct[i]); });
            if (n == values.distinct.size())
                values.distinct.push_back(folded);
        }
        values.ids.push_back(n);
    };
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(q)) == SQLITE_ROW) {
        const auto read = quint32(rowIds.size());
        rowIds.push_back(sqlite3_column_int64(q, 0));
        m_shownAt.push_back(quint32(m_shown.size()));
        quint16 marks = 0;
        for (int f = 0; f < int(at.size()); ++f) {
            const Stored v = storedAt(q, at[f]);
            // 0 for no value, 1 for a value only the catalogue gives, else 2 + its bytes.
            appendLength(m_shown, v.kind == Stored::Text    ? v.text.size() + 2
                                  : v.kind == Stored::Other ? 1
                                                            : 0);
            m_shown.append(v.text);
            if (f == ShownType) {
                intern(m_types, typeIds, v);
            } else if (f == ShownSubType) {
                intern(m_subTypes, subTypeIds, v);
            } else if (f == ShownMatrix) {
                m_marksExact = m_marksExact && v.kind != Stored::Other;
                for (const char ch : v.text)
                    marks |= categoryBit(foldAscii(quint8(ch)));
            } else if (const int i = f - ShownUserField1 + 1; i >= 1 && i <= layout.userFields) {
                Column& c = userColumns[i];
                m_columns[i].exact = m_columns[i].exact && v.kind != Stored::Other;
                if (v.kind != Stored::Text)
                    continue;
                c.starts.push_back(quint32(c.text.size()));
                appendFolded(v.text, c.text, true);
                c.rows.push_back(read);
            }
        }
        m_marks.push_back(marks);
    }
    for (Column& c : userColumns)
        c.starts.push_back(quint32(c.text.size()));
    m_shown.shrink_to_fit();
    return step == SQLITE_DONE && m_shown.size() < kNone;
}

bool SongIndex::field(quint32 row, int column, QVariant& value) const
{
    if (!m_built || row >= m_rowIds.size())
        return false;
    if (column == 0) {
        value = m_keys[row];
        return true;
    }
    if (column == 1) {
        const Column& t = m_columns[0];
        const size_t e = row - m_untitled;
        value = row < m_untitled ? QString()
                                 : QString::fromUtf8(m_titles.data() + t.starts[e],
                                                     qsizetype(t.starts[e + 1] - t.starts[e] - 1));
        return true;
    }
    // Type, SType1, Time, Matrix, then the user fields; SType2 is not held.
    static constexpr std::array<int, 7> kShown{-1, -1,        ShownType,  ShownSubType,
                                               -1, ShownTime, ShownMatrix};
    int shown = column < 7 ? kShown[size_t(std::max(column, 0))]
                           : (column - 6 <= m_shownUserFields ? ShownUserField1 + column - 7 : -1);
    if (shown < 0)
        return false;
    const char* p = m_shown.data() + m_shownAt[row];
    for (;; --shown) {
        const size_t n = readLength(p);
        if (shown == 0) {
            if (n == 1)
                return false;
            value = n == 0 ? QString() : QString::fromUtf8(p, qsizetype(n - 2));
            return true;
        }
        p += n >= 2 ? n - 2 : 0;
    }
}

std::vector<char> SongIndex::matchingIds(const Values& values, const QString& name,
                                         int number) const
{
    std::string folded;
    const bool named = !name.isNull() && appendFolded(name, folded);
    const std::string digits = std::to_string(number);
    std::vector<char> allowed(values.distinct.size(), 0);
    for (size_t id = 1; id < values.distinct.size(); ++id)
        allowed[id] = (named && values.distinct[id] == folded) || values.distinct[id] == digits;
    return allowed;
}

bool SongIndex::answers(const SongSearch& s) const
{
    const Column& c = m_columns[s.lookIndex >= 1 && s.lookIndex <= 9 ? s.lookIndex : 0];
    auto comparable = [](const Values& values, const QString& name) {
        std::string folded;
        return values.exact && (name.isNull() || appendFolded(name, folded));
    };
    const bool byCategory =
        std::any_of(s.categoryCodes.begin(), s.categoryCodes.end(), &SongQuery::isCategoryCode);
    std::string pattern;
    return m_built && c.indexed && c.exact &&
           (s.typeIndex < 1 || comparable(m_types, s.typeName)) &&
           (s.subTypeIndex <= 0 || comparable(m_subTypes, s.subTypeText)) &&
           (!byCategory || m_marksExact) && appendFolded(s.findText, pattern) &&
           pattern.size() + 2 <= size_t(kMaxPatternBytes);
}

bool SongIndex::search(const SongSearch& s, std::vector<quint32>& rows) const
{
    rows.clear();
    if (!answers(s))
        return false;
    const Column& c = m_columns[s.lookIndex >= 1 && s.lookIndex <= 9 ? s.lookIndex : 0];
    const bool byType = s.typeIndex >= 1;
    const bool bySubType = s.subTypeIndex > 0;
    const std::vector<char> types =
        byType ? matchingIds(m_types, s.typeName, s.typeIndex) : std::vector<char>();
    const std::vector<char> subTypes =
        bySubType ? matchingIds(m_subTypes, s.subTypeText, s.subTypeIndex) : std::vector<char>();
    quint16 need = 0;
    for (const QString& code : s.categoryCodes)
        if (SongQuery::isCategoryCode(code))
            need |= categoryBit(char(code.at(0).toLower().unicode()));
    std::string pattern;
    appendFolded(s.findText, pattern);
    // "%" + text + "%": the parts between the %s, each found in turn.
    std::vector<std::string_view> segments;
    std::string_view longest; // the longest run without '_', which every match contains
    {
        const std::string_view p(pattern);
        size_t from = 0;
        while (from <= p.size()) {
            size_t to = p.find('%', from);
            if (to == std::string_view::npos)
                to = p.size();
            const std::string_view seg = p.substr(from, to - from);
            if (!seg.empty())
                segments.push_back(seg);
            for (size_t a = 0; a < seg.size();) {
                size_t b = seg.find('_', a);
                if (b == std::string_view::npos)
                    b = seg.size();
                if (b - a > longest.size())
                    longest = seg.substr(a, b - a);
                a = b + 1;
            }
            from = to + 1;
        }
    }
    const bool literal = segments.size() == 1 && segments[0].size() == longest.size();
    // The bytes every match holds; a single letter, digit or blank is matched by its bit.
    quint64 spelt = 0;
    for (const char ch : pattern)
        if (ch != '%' && ch != '_')
            spelt |= quint64(1) << maskBit(ch);
    const bool byBit = literal && longest.size() == 1 && maskBit(longest[0]) <= 36;

    auto accepted = [&](quint32 row) {
        return (!byType || types[m_types.ids[row]]) &&
               (!bySubType || subTypes[m_subTypes.ids[row]]) &&
               (!need || (m_marks[row] & need) == need);
    };
    const size_t entries = c.rows.size();
    if (segments.empty() && !byType && !bySubType && !need) {
        rows.assign(c.rows.begin(), c.rows.end()); // every song with a value there
        return true;
    }
    // Each value in the column's order: first whether it holds the bytes spelt out and passes
    // the filters, then whether it matches.
    for (size_t e = 0; e < entries; ++e) {
        if ((c.masks[e] & spelt) != spelt || !accepted(c.rows[e]))
            continue;
        if (byBit || segments.empty() ||
            (literal ? c.value(e).find(longest) != std::string_view::npos
                     : matchesAll(c.value(e), segments)))
            rows.push_back(c.rows[e]);
    }
    return true;
}

size_t SongIndex::memoryBytes() const
{
    size_t bytes = sizeof(*this) + (m_rowIds.capacity() + m_keys.capacity()) * sizeof(qint64) +
                   m_marks.capacity() * sizeof(quint16) + m_titles.capacity() + m_shown.capacity() +
                   m_shownAt.capacity() * sizeof(quint32);
    for (const Column& c : m_columns)
        bytes += c.text.capacity() + (c.starts.capacity() + c.rows.capacity()) * sizeof(quint32) +
                 c.masks.capacity() * sizeof(quint64);
    for (const Values* v : {&m_types, &m_subTypes}) {
        bytes += v->ids.capacity() * sizeof(quint32);
        for (const std::string& d : v->distinct)
            bytes += sizeof(std::string) + d.capacity();
    }
    return bytes;
}
