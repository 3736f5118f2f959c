#include "SongIndex.h"

#include "catalogue/SongQuery.h"

#include <QStringList>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <numeric>
#include <unordered_map>

namespace
{
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

// Appends the stored UTF-8 `bytes` folded, as above. False for bytes that are not
// well-formed UTF-8 (the engine reads those in ways of its own), a NUL, U+FFFE or U+FFFF.
bool appendFoldedUtf8(const unsigned char* p, size_t n, std::string& out)
{
    const size_t start = out.size();
    out.append(reinterpret_cast<const char*>(p), n);
    char* o = out.data() + start;
    for (size_t i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            if (b == 0)
                return false;
            o[i] = foldAscii(b);
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

// What a stored value is to the index: no value, text it holds (appended folded), or
// anything else (a number, binary data, text it cannot compare as the engine does).
enum class Stored { Null, Text, Other };

Stored appendValue(sqlite3_stmt* st, int column, std::string& out)
{
    switch (sqlite3_column_type(st, column)) {
    case SQLITE_NULL:
        return Stored::Null;
    case SQLITE_TEXT: {
        const unsigned char* text = sqlite3_column_text(st, column);
        const size_t start = out.size();
        if (appendFoldedUtf8(text, size_t(sqlite3_column_bytes(st, column)), out))
            return Stored::Text;
        out.resize(start);
        return Stored::Other;
    }
    default:
        return Stored::Other;
    }
}

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

QString columnText(sqlite3_stmt* st, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, column)),
                             sqlite3_column_bytes(st, column));
}

// Where `needle` first occurs in `text` from `from` on (npos when nowhere).
size_t findIn(std::string_view text, std::string_view needle, size_t from)
{
#ifdef __GLIBC__
    const void* at = memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
    return at ? size_t(static_cast<const char*>(at) - text.data()) : std::string_view::npos;
#else
    return text.find(needle, from);
#endif
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

// What a value is sorted by: its folded text, whose first eight bytes make one number
// compared first, then a tie-break; `item` names the value.
struct SortKey {
    quint64 prefix;
    qint64 tie;
    const char* text;
    quint32 length;
    quint32 item;
};

quint64 prefixOf(std::string_view v)
{
    quint64 p = 0;
    for (size_t i = 0; i < 8; ++i)
        p = (p << 8) | (i < v.size() ? quint8(v[i]) : 0u);
    return p;
}

SortKey sortKey(std::string_view text, qint64 tie, quint32 item)
{
    return {prefixOf(text), tie, text.data(), quint32(text.size()), item};
}

// Sorts `keys` by text (as the NOCASE collation orders folded text: bytewise, a prefix
// first) and then tie-break. False when two keys are alike in both.
bool sortKeys(std::vector<SortKey>& keys)
{
    auto compare = [](const SortKey& a, const SortKey& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix ? -1 : 1;
        // Alike in the first eight bytes, and no longer: alike (no text holds a NUL).
        if (a.length > 8 || b.length > 8)
            if (const int c =
                    std::string_view(a.text + 8, a.length - std::min(a.length, 8u))
                        .compare(std::string_view(b.text + 8, b.length - std::min(b.length, 8u)));
                c != 0)
                return c;
        return a.tie < b.tie ? -1 : (a.tie == b.tie ? 0 : 1);
    };
    std::sort(keys.begin(), keys.end(),
              [&](const SortKey& a, const SortKey& b) { return compare(a, b) < 0; });
    for (size_t i = 1; i < keys.size(); ++i)
        if (compare(keys[i - 1], keys[i]) == 0)
            return false;
    return true;
}

quint16 categoryBit(char folded)
{
    if (folded >= '0' && folded <= '9')
        return quint16(1u << (folded - '0'));
    if (folded >= 'a' && folded <= 'e')
        return quint16(1u << (10 + folded - 'a'));
    return 0;
}
} // namespace

bool SongIndex::build(const QString& catalogueFile, int userFields)
{
    *this = SongIndex();
    // A connection of its own, read-only, through the engine's own interface: the values
    // come as the stored UTF-8 bytes, with no conversion on the way.
    sqlite3* raw = nullptr;
    const int opened =
        sqlite3_open_v2(catalogueFile.toUtf8().constData(), &raw,
                        SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    const std::unique_ptr<sqlite3, CloseDb> db(raw);
    if (opened != SQLITE_OK)
        return false;
    sqlite3_busy_timeout(raw, 5000);

    // Which columns there are, whether they hold text, and whether any compares with a
    // collation that ignores trailing blanks (the type filters' "=" would then differ).
    QHash<QString, bool> textColumns;
    Statement info = prepare(raw, QStringLiteral("PRAGMA table_info(MUSIC)"));
    while (info && sqlite3_step(info.get()) == SQLITE_ROW)
        textColumns.insert(columnText(info.get(), 1).toUpper(),
                           hasTextAffinity(columnText(info.get(), 2)));
    bool trailingBlanks = true;
    Statement schema = prepare(raw, QStringLiteral("SELECT sql FROM sqlite_master WHERE type = "
                                                   "'table' AND lower(name) = 'music'"));
    if (schema && sqlite3_step(schema.get()) == SQLITE_ROW)
        trailingBlanks =
            columnText(schema.get(), 0).contains(QLatin1String("RTRIM"), Qt::CaseInsensitive);
    if (!textColumns.contains(QStringLiteral("DBKEY")) ||
        !textColumns.value(QStringLiteral("NAME")))
        return false;

    // The columns read: rowid, dbKey, the title, then those there are of the others.
    QStringList select{QStringLiteral("rowid"), QStringLiteral("dbKey"), QStringLiteral("Name")};
    auto optional = [&](const QString& name) {
        if (!textColumns.value(name.toUpper()))
            return -1;
        select << name;
        return int(select.size()) - 1;
    };
    const int typeAt = optional(QStringLiteral("Type"));
    const int subTypeAt = optional(QStringLiteral("SType1"));
    const int matrixAt = optional(QStringLiteral("Matrix"));
    std::array<int, 10> columnAt{};
    columnAt[0] = 2;
    userFields = std::clamp(userFields, 0, 9);
    for (int i = 1; i <= 9; ++i)
        columnAt[i] = i <= userFields ? optional(SongQuery::searchColumn(i)) : -1;
    const Statement read =
        prepare(raw, QStringLiteral("SELECT %1 FROM MUSIC").arg(select.join(QStringLiteral(", "))));
    if (!read)
        return false;
    sqlite3_stmt* const q = read.get();

    // The searchable columns' values in the order read, each with its row.
    std::array<Column, 10> byRow;
    std::unordered_map<std::string, quint32> typeIds, subTypeIds;
    std::string folded;
    auto intern = [&](Values& values, std::unordered_map<std::string, quint32>& ids, int at) {
        folded.clear();
        switch (appendValue(q, at, folded)) {
        case Stored::Null:
            values.ids.push_back(0);
            return;
        case Stored::Other:
            values.exact = false;
            values.ids.push_back(0);
            return;
        case Stored::Text:
            break;
        }
        auto [it, added] = ids.emplace(folded, quint32(values.distinct.size()));
        if (added)
            values.distinct.push_back(folded);
        values.ids.push_back(it->second);
    };
    m_types.exact = typeAt >= 0 && !trailingBlanks;
    m_subTypes.exact = subTypeAt >= 0 && !trailingBlanks;
    m_marksExact = matrixAt >= 0;
    for (int i = 0; i <= 9; ++i)
        m_columns[i].indexed = columnAt[i] >= 0;

    // Rows are read in the table's own order (a plain scan, much faster than walking an
    // index), numbered as read; each column is then put in its result order.
    std::vector<qint64> keys;
    std::vector<quint32> nameEntry; // each row's entry in the title column, or none
    constexpr quint32 kNone = std::numeric_limits<quint32>::max();
    std::string matrix;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(q)) == SQLITE_ROW) {
        const auto row = quint32(m_rowIds.size());
        if (sqlite3_column_type(q, 1) != SQLITE_INTEGER)
            return false;
        keys.push_back(sqlite3_column_int64(q, 1));
        m_rowIds.push_back(sqlite3_column_int64(q, 0));

        for (int i = 0; i <= 9; ++i) {
            if (columnAt[i] < 0)
                continue;
            Column& c = byRow[i];
            const size_t start = c.text.size();
            switch (appendValue(q, columnAt[i], c.text)) {
            case Stored::Null:
                break;
            case Stored::Other:
                m_columns[i].exact = false;
                break;
            case Stored::Text:
                c.text += '\0';
                c.starts.push_back(quint32(start));
                c.rows.push_back(row);
                break;
            }
        }
        if (!m_columns[0].exact)
            return false; // every search sorts by the title
        nameEntry.push_back(byRow[0].rows.empty() || byRow[0].rows.back() != row
                                ? kNone
                                : quint32(byRow[0].rows.size() - 1));

        if (typeAt >= 0)
            intern(m_types, typeIds, typeAt);
        if (subTypeAt >= 0)
            intern(m_subTypes, subTypeIds, subTypeAt);
        quint16 marks = 0;
        if (matrixAt >= 0) {
            matrix.clear();
            if (appendValue(q, matrixAt, matrix) == Stored::Other)
                m_marksExact = false;
            for (const char ch : matrix)
                marks |= categoryBit(ch);
        }
        m_marks.push_back(marks);
    }
    if (step != SQLITE_DONE || m_rowIds.size() >= kNone)
        return false;
    for (Column& c : byRow)
        c.starts.push_back(quint32(c.text.size()));

    // The title order: no title first, then by folded title, then dbKey. Two songs alike
    // in both would come in an order of the engine's choosing: then the index stays out.
    const size_t songs = m_rowIds.size();
    std::vector<SortKey> untitled, titled;
    for (quint32 row = 0; row < songs; ++row) {
        if (nameEntry[row] == kNone)
            untitled.push_back(sortKey({}, keys[row], row));
        else
            titled.push_back(sortKey(byRow[0].value(nameEntry[row]), keys[row], row));
    }
    if (!sortKeys(untitled) || !sortKeys(titled))
        return false;
    std::vector<quint32> nameRank(songs);
    quint32 rank = 0;
    for (const auto* part : {&untitled, &titled})
        for (const SortKey& k : *part)
            nameRank[k.item] = rank++;
    // From here on rows are numbered in title order, so a search of the title reads the
    // types and categories beside it in the order it goes.
    auto renumber = [&](auto& perRow) {
        std::remove_reference_t<decltype(perRow)> sorted(perRow.size());
        for (size_t row = 0; row < perRow.size(); ++row)
            sorted[nameRank[row]] = perRow[row];
        perRow = std::move(sorted);
    };
    renumber(m_rowIds);
    renumber(m_marks);
    if (typeAt >= 0)
        renumber(m_types.ids);
    if (subTypeAt >= 0)
        renumber(m_subTypes.ids);

    // Each searchable column in its result order: by its value, then in title order.
    for (int i = 0; i <= 9; ++i) {
        const Column& from = byRow[i];
        Column& to = m_columns[i];
        if (!to.indexed)
            continue;
        std::vector<SortKey> order(from.rows.size());
        for (quint32 e = 0; e < order.size(); ++e)
            order[e] =
                sortKey(i > 0 ? from.value(e) : std::string_view(), nameRank[from.rows[e]], e);
        sortKeys(order);
        to.text.reserve(from.text.size());
        to.starts.reserve(order.size() + 1);
        to.rows.reserve(order.size());
        for (const SortKey& k : order) {
            to.starts.push_back(quint32(to.text.size()));
            to.text.append(from.value(k.item));
            to.text += '\0';
            to.rows.push_back(nameRank[from.rows[k.item]]);
        }
        to.starts.push_back(quint32(to.text.size()));
    }
    m_built = true;
    return true;
}

bool SongIndex::matchingIds(const Values& values, const QString& name, int number,
                            std::vector<char>& allowed) const
{
    if (!values.exact)
        return false;
    std::string folded;
    if (!name.isNull() && !appendFolded(name, folded))
        return false;
    const std::string digits = std::to_string(number);
    allowed.assign(values.distinct.size(), 0);
    for (size_t id = 1; id < values.distinct.size(); ++id)
        allowed[id] =
            (!name.isNull() && values.distinct[id] == folded) || values.distinct[id] == digits;
    return true;
}

bool SongIndex::search(const SongSearch& s, std::vector<quint32>& rows) const
{
    rows.clear();
    if (!m_built)
        return false;
    const int col = s.lookIndex >= 1 && s.lookIndex <= 9 ? s.lookIndex : 0;
    const Column& c = m_columns[col];
    if (!c.indexed || !c.exact)
        return false;

    std::vector<char> types, subTypes;
    const bool byType = s.typeIndex >= 1;
    const bool bySubType = s.subTypeIndex > 0;
    if (byType && !matchingIds(m_types, s.typeName, s.typeIndex, types))
        return false;
    if (bySubType && !matchingIds(m_subTypes, s.subTypeText, s.subTypeIndex, subTypes))
        return false;
    quint16 need = 0;
    for (const QString& code : s.categoryCodes)
        if (SongQuery::isCategoryCode(code))
            need |= categoryBit(char(code.at(0).toLower().unicode()));
    if (need && !m_marksExact)
        return false;

    std::string pattern;
    if (!appendFolded(s.findText, pattern) || pattern.size() + 2 > size_t(kMaxPatternBytes))
        return false;
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
    if (longest.empty()) {
        for (size_t e = 0; e < entries; ++e)
            if (accepted(c.rows[e]) && (segments.empty() || matchesAll(c.value(e), segments)))
                rows.push_back(c.rows[e]);
        return true;
    }
    // Every value holding the longest literal run is a candidate; each is tried once. The
    // value a hit lies in is found by galloping on from the last one: hits are close
    // together when they are many.
    const std::string_view text(c.text);
    const auto starts = c.starts.begin();
    size_t e = 0;
    while (e < entries) {
        const size_t hit = findIn(text, longest, c.starts[e]);
        if (hit == std::string_view::npos)
            break;
        size_t step = 1;
        while (e + step < entries && c.starts[e + step] <= hit)
            step *= 2;
        e = size_t(std::upper_bound(starts + qsizetype(e),
                                    starts + qsizetype(std::min(e + step, entries)), quint32(hit)) -
                   starts) -
            1;
        const quint32 row = c.rows[e];
        if (accepted(row) && (literal || matchesAll(c.value(e), segments)))
            rows.push_back(row);
        ++e;
    }
    return true;
}

size_t SongIndex::memoryBytes() const
{
    size_t bytes =
        sizeof(*this) + m_rowIds.capacity() * sizeof(qint64) + m_marks.capacity() * sizeof(quint16);
    for (const Column& c : m_columns)
        bytes += c.text.capacity() + (c.starts.capacity() + c.rows.capacity()) * sizeof(quint32);
    for (const Values* v : {&m_types, &m_subTypes}) {
        bytes += v->ids.capacity() * sizeof(quint32);
        for (const std::string& d : v->distinct)
            bytes += sizeof(std::string) + d.capacity();
    }
    return bytes;
}
