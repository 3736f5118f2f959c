#include "RtfReader.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <climits>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace
{

// Code page 1252 from 0x80 to 0x9F; 0 marks the five unassigned bytes.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t cp1252(uchar byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return cp1252High[byte - 0x80];
    return byte;
}

// Longest control word name; longer runs of letters are read but not understood.
constexpr int maxWordLength = 32;
// Limits on what one document may define, so that hostile tables stay small.
constexpr int maxTableEntries = 4096;
constexpr int maxFontNameLength = 256;
// The default size, 12 points, and the largest size a document may ask for, in half-points.
constexpr int defaultHalfPoints = 24;
constexpr int maxHalfPoints = 3276;
// Indents and spacing are limited to 22 inches (in twips).
constexpr int maxTwips = 31680;
// One pixel is 15 twips at 96 dpi.
constexpr double twipsPerPixel = 15.0;

enum class Destination { Text, FontTable, ColorTable, Skip };

struct CharProps {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int halfPoints = defaultHalfPoints;
    int font = -1;
    int color = 0;
    int background = 0;
    bool operator==(const CharProps&) const = default;
};

size_t qHash(const CharProps& p, size_t seed = 0)
{
    return qHashMulti(seed, p.bold, p.italic, p.underline, p.strike, p.halfPoints, p.font, p.color,
                      p.background);
}

struct ParaProps {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
};

struct GroupState {
    Destination destination = Destination::Text;
    CharProps chars;
    ParaProps para;
    int unicodeSkip = 1;
};

enum class Word {
    // text
    Par,
    Line,
    Tab,
    Cell,
    Char,
    // character properties
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    FontSize,
    Font,
    Color,
    Highlight,
    // paragraph properties
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    // document
    DefaultFont,
    UnicodeSkip,
    Unicode,
    Bin,
    FontTable,
    ColorTable,
    Red,
    Green,
    Blue,
    SkipDestination
};

struct WordInfo {
    Word word;
    char16_t ch = 0; // for Word::Char
};

const std::unordered_map<std::string_view, WordInfo>& wordTable()
{
    static const std::unordered_map<std::string_view, WordInfo> table = [] {
        std::unordered_map<std::string_view, WordInfo> t{
            {"par", {Word::Par}},
            {"sect", {Word::Par}},
            {"page", {Word::Par}},
            {"row", {Word::Par}},
            {"nestrow", {Word::Par}},
            {"line", {Word::Line}},
            {"tab", {Word::Tab}},
            {"cell", {Word::Cell}},
            {"nestcell", {Word::Cell}},
            {"emdash", {Word::Char, 0x2014}},
            {"endash", {Word::Char, 0x2013}},
            {"emspace", {Word::Char, 0x2003}},
            {"enspace", {Word::Char, 0x2002}},
            {"qmspace", {Word::Char, 0x2005}},
            {"bullet", {Word::Char, 0x2022}},
            {"lquote", {Word::Char, 0x2018}},
            {"rquote", {Word::Char, 0x2019}},
            {"ldblquote", {Word::Char, 0x201C}},
            {"rdblquote", {Word::Char, 0x201D}},
            {"zwj", {Word::Char, 0x200D}},
            {"zwnj", {Word::Char, 0x200C}},
            {"zwbo", {Word::Char, 0x200B}},
            {"ltrmark", {Word::Char, 0x200E}},
            {"rtlmark", {Word::Char, 0x200F}},
            {"plain", {Word::Plain}},
            {"b", {Word::Bold}},
            {"i", {Word::Italic}},
            {"ul", {Word::Underline}},
            {"uld", {Word::Underline}},
            {"uldash", {Word::Underline}},
            {"uldashd", {Word::Underline}},
            {"uldashdd", {Word::Underline}},
            {"uldb", {Word::Underline}},
            {"ulth", {Word::Underline}},
            {"ulw", {Word::Underline}},
            {"ulwave", {Word::Underline}},
            {"ulnone", {Word::UnderlineNone}},
            {"strike", {Word::Strike}},
            {"striked", {Word::Strike}},
            {"fs", {Word::FontSize}},
            {"f", {Word::Font}},
            {"cf", {Word::Color}},
            {"cb", {Word::Highlight}},
            {"highlight", {Word::Highlight}},
            {"pard", {Word::Pard}},
            {"ql", {Word::AlignLeft}},
            {"qc", {Word::AlignCenter}},
            {"qr", {Word::AlignRight}},
            {"qj", {Word::AlignJustify}},
            {"li", {Word::LeftIndent}},
            {"ri", {Word::RightIndent}},
            {"fi", {Word::FirstIndent}},
            {"sb", {Word::SpaceBefore}},
            {"sa", {Word::SpaceAfter}},
            {"deff", {Word::DefaultFont}},
            {"uc", {Word::UnicodeSkip}},
            {"u", {Word::Unicode}},
            {"bin", {Word::Bin}},
            {"fonttbl", {Word::FontTable}},
            {"colortbl", {Word::ColorTable}},
            {"red", {Word::Red}},
            {"green", {Word::Green}},
            {"blue", {Word::Blue}},
        };
        // Destinations whose content is not text of the document.
        for (const char* name : {"info",
                                 "stylesheet",
                                 "pict",
                                 "object",
                                 "objdata",
                                 "header",
                                 "headerl",
                                 "headerr",
                                 "headerf",
                                 "footer",
                                 "footerl",
                                 "footerr",
                                 "footerf",
                                 "footnote",
                                 "annotation",
                                 "fldinst",
                                 "themedata",
                                 "colorschememapping",
                                 "latentstyles",
                                 "datastore",
                                 "listtable",
                                 "listoverridetable",
                                 "rsidtbl",
                                 "revtbl",
                                 "filetbl",
                                 "xmlnstbl",
                                 "mmathPr",
                                 "generator",
                                 "private",
                                 "nonshppict",
                                 "bkmkstart",
                                 "bkmkend",
                                 "atnid",
                                 "atnauthor",
                                 "atndate",
                                 "atnref",
                                 "txe",
                                 "xe",
                                 "tc",
                                 "rxe",
                                 "template",
                                 "docvar",
                                 "userprops",
                                 "pgdsctbl",
                                 "fchars",
                                 "lchars",
                                 "author",
                                 "operator",
                                 "title",
                                 "subject",
                                 "keywords",
                                 "comment",
                                 "doccomm",
                                 "company",
                                 "manager",
                                 "category",
                                 "hlinkbase",
                                 "buptim",
                                 "creatim",
                                 "printim",
                                 "revtim",
                                 "pn",
                                 "pntxta",
                                 "pntxtb",
                                 "shpinst",
                                 "sp",
                                 "sn",
                                 "sv",
                                 "picprop",
                                 "blipuid",
                                 "wgrffmtfilter",
                                 "passwordhash",
                                 "protusertbl",
                                 "oldcprops",
                                 "oldpprops",
                                 "oldsprops",
                                 "oldtprops",
                                 "falt",
                                 "panose",
                                 "fname",
                                 "ud"})
            t.emplace(name, WordInfo{Word::SkipDestination});
        return t;
    }();
    return table;
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

const char* skipLead(const char* p, const char* end)
{
    if (end - p >= 3 && uchar(p[0]) == 0xEF && uchar(p[1]) == 0xBB && uchar(p[2]) == 0xBF)
        p += 3;
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n'))
        ++p;
    return p;
}

class Parser
{
  public:
    Parser(const QByteArray& data, QTextDocument* doc)
        : m_p(data.constData()), m_end(data.constData() + data.size()), m_cursor(doc)
    {
        m_p = skipLead(m_p, m_end);
    }

    void run()
    {
        m_cursor.beginEditBlock();
        while (m_p < m_end && !m_done) {
            const char c = *m_p++;
            switch (c) {
            case '{':
                openGroup();
                break;
            case '}':
                closeGroup();
                break;
            case '\\':
                control();
                break;
            case '\r':
            case '\n':
                break;
            default:
                textByte(uchar(c));
            }
        }
        finish();
        m_cursor.endEditBlock();
    }

  private:
    bool dropping() const { return m_overflow > 0 || m_state.destination == Destination::Skip; }

    void openGroup()
    {
        m_skip = 0;
        m_star = false;
        if (m_overflow > 0 || int(m_stack.size()) >= RtfReader::maxGroupDepth) {
            ++m_overflow;
            return;
        }
        m_stack.push_back(m_state);
    }

    void closeGroup()
    {
        m_skip = 0;
        m_star = false;
        if (m_overflow > 0) {
            --m_overflow;
            return;
        }
        if (m_stack.empty()) {
            // The closing brace of the document: whatever follows is not part of it.
            m_done = true;
            return;
        }
        if (m_state.destination == Destination::FontTable)
            commitFont();
        m_state = m_stack.back();
        m_stack.pop_back();
        if (m_stack.empty())
            m_done = true;
    }

    void control()
    {
        if (m_p >= m_end)
            return;
        if (isLetter(*m_p)) {
            const char* start = m_p;
            while (m_p < m_end && isLetter(*m_p))
                ++m_p;
            const std::string_view name(start, size_t(m_p - start));
            bool hasParam = false;
            bool negative = false;
            qint64 param = 0;
            if (m_p + 1 < m_end && *m_p == '-' && isDigit(m_p[1])) {
                negative = true;
                ++m_p;
            }
            while (m_p < m_end && isDigit(*m_p)) {
                hasParam = true;
                // Saturate: a parameter never grows past what an int holds.
                param = std::min<qint64>(param * 10 + (*m_p - '0'), qint64(1) << 32);
                ++m_p;
            }
            if (negative)
                param = -param;
            param = std::clamp<qint64>(param, INT_MIN, INT_MAX);
            if (m_p < m_end && *m_p == ' ')
                ++m_p;
            word(name.size() <= size_t(maxWordLength) ? name : std::string_view(), hasParam,
                 int(param));
            return;
        }
        const char c = *m_p++;
        switch (c) {
        case '\'':
            hexEscape();
            break;
        case '*':
            if (!skipFallback())
                m_star = true;
            break;
        case '\\':
        case '{':
        case '}':
            character(char16_t(uchar(c)));
            break;
        case '~':
            character(0x00A0);
            break;
        case '_':
            character(0x2011);
            break;
        case '-':
            character(0x00AD);
            break;
        case '\r':
        case '\n':
            if (!skipFallback() && !dropping() && m_state.destination == Destination::Text)
                paragraph();
            break;
        default:
            // Other control symbols (\| \: ...) carry nothing to show.
            skipFallback();
            break;
        }
    }

    // After \uN the next characters are the fallback for readers without Unicode: each
    // character, escape or control word counts as one. Returns true when this one is skipped.
    bool skipFallback()
    {
        if (m_skip <= 0)
            return false;
        --m_skip;
        return true;
    }

    void hexEscape()
    {
        const int high = m_p < m_end ? hexValue(m_p[0]) : -1;
        const int low = m_p + 1 < m_end ? hexValue(m_p[1]) : -1;
        if (high < 0 || low < 0)
            return; // a truncated escape carries nothing; what follows is read as usual
        m_p += 2;
        if (skipFallback())
            return;
        const char16_t ch = cp1252(uchar(high * 16 + low));
        if (ch != 0)
            character(ch, false);
    }

    void textByte(uchar c)
    {
        m_star = false;
        if (skipFallback())
            return;
        const char16_t ch = cp1252(c);
        if (ch != 0)
            character(ch, false);
    }

    // One character of content, routed by the current destination.
    void character(char16_t ch, bool countsAsFallback = true)
    {
        if (countsAsFallback && skipFallback())
            return;
        if (dropping())
            return;
        if (ch < 0x20 && ch != '\t')
            return;
        switch (m_state.destination) {
        case Destination::Text:
            appendText(ch);
            break;
        case Destination::FontTable:
            if (ch == ';')
                commitFont();
            else if (m_fontName.size() < maxFontNameLength)
                m_fontName.append(QChar(ch));
            break;
        case Destination::ColorTable:
            if (ch == ';')
                commitColor();
            break;
        case Destination::Skip:
            break;
        }
    }

    void appendText(char16_t ch)
    {
        if (!m_text.isEmpty() && !(m_textProps == m_state.chars))
            flushText();
        if (m_text.isEmpty())
            m_textProps = m_state.chars;
        m_text.append(QChar(ch));
        m_paraProps = m_state.para;
        m_paraHasText = true;
    }

    void word(std::string_view name, bool hasParam, int param)
    {
        const auto& table = wordTable();
        const auto it = name.empty() ? table.end() : table.find(name);
        if (it != table.end() && it->second.word == Word::Bin) {
            // Binary data is skipped in every destination, fallback or not.
            const qint64 length = std::clamp<qint64>(param, 0, m_end - m_p);
            m_p += length;
            skipFallback();
            return;
        }
        if (m_star) {
            // \* marks a destination that may be ignored: this reader ignores them all.
            m_star = false;
            if (m_overflow == 0)
                m_state.destination = Destination::Skip;
            return;
        }
        if (skipFallback())
            return;
        if (it == table.end() || m_overflow > 0)
            return;
        const WordInfo info = it->second;
        if (info.word == Word::SkipDestination) {
            m_state.destination = Destination::Skip;
            return;
        }
        if (m_state.destination == Destination::Skip)
            return;

        CharProps& chars = m_state.chars;
        ParaProps& para = m_state.para;
        const bool on = !hasParam || param != 0;
        const int twips = std::clamp(param, -maxTwips, maxTwips);
        switch (info.word) {
        case Word::Par:
            if (m_state.destination == Destination::Text)
                paragraph();
            break;
        case Word::Line:
            character(0x2028, false);
            break;
        case Word::Tab:
        case Word::Cell:
            character('\t', false);
            break;
        case Word::Char:
            character(info.ch, false);
            break;
        case Word::Plain:
            chars = CharProps();
            chars.font = m_defaultFont;
            break;
        case Word::Bold:
            chars.bold = on;
            break;
        case Word::Italic:
            chars.italic = on;
            break;
        case Word::Underline:
            chars.underline = on;
            break;
        case Word::UnderlineNone:
            chars.underline = false;
            break;
        case Word::Strike:
            chars.strike = on;
            break;
        case Word::FontSize:
            chars.halfPoints =
                hasParam && param > 0 ? std::min(param, maxHalfPoints) : defaultHalfPoints;
            break;
        case Word::Font:
            if (m_state.destination == Destination::FontTable) {
                commitFont();
                m_fontNumber = param;
            } else {
                chars.font = param;
            }
            break;
        case Word::Color:
            chars.color = param;
            break;
        case Word::Highlight:
            chars.background = param;
            break;
        case Word::Pard:
            para = ParaProps();
            break;
        case Word::AlignLeft:
            para.alignment = Qt::AlignLeft;
            break;
        case Word::AlignCenter:
            para.alignment = Qt::AlignHCenter;
            break;
        case Word::AlignRight:
            para.alignment = Qt::AlignRight;
            break;
        case Word::AlignJustify:
            para.alignment = Qt::AlignJustify;
            break;
        case Word::LeftIndent:
            para.leftIndent = twips;
            break;
        case Word::RightIndent:
            para.rightIndent = twips;
            break;
        case Word::FirstIndent:
            para.firstIndent = twips;
            break;
        case Word::SpaceBefore:
            para.spaceBefore = twips;
            break;
        case Word::SpaceAfter:
            para.spaceAfter = twips;
            break;
        case Word::DefaultFont:
            m_defaultFont = param;
            if (m_stack.size() <= 1)
                chars.font = param;
            break;
        case Word::UnicodeSkip:
            m_state.unicodeSkip = std::clamp(param, 0, 255);
            break;
        case Word::Unicode: {
            // A signed 16-bit value: negative numbers stand for code units from 0x8000.
            int unit = param < 0 ? param + 0x10000 : param;
            if (unit < 0 || unit > 0xFFFF)
                unit = 0xFFFD;
            character(char16_t(unit), false);
            m_skip = m_state.unicodeSkip;
            break;
        }
        case Word::FontTable:
            m_state.destination = Destination::FontTable;
            m_fontName.clear();
            m_fontNumber = -1;
            break;
        case Word::ColorTable:
            m_state.destination = Destination::ColorTable;
            m_red = m_green = m_blue = -1;
            break;
        case Word::Red:
            m_red = std::clamp(param, 0, 255);
            break;
        case Word::Green:
            m_green = std::clamp(param, 0, 255);
            break;
        case Word::Blue:
            m_blue = std::clamp(param, 0, 255);
            break;
        case Word::Bin:
        case Word::SkipDestination:
            break;
        }
    }

    void commitFont()
    {
        const QString name = m_fontName.trimmed();
        if (m_fontNumber >= 0 && !name.isEmpty() &&
            (m_fonts.size() < maxTableEntries || m_fonts.contains(m_fontNumber))) {
            m_fonts.insert(m_fontNumber, name);
            m_formats.clear();
        }
        m_fontName.clear();
    }

    void commitColor()
    {
        if (m_colors.size() < maxTableEntries) {
            // An entry without components is the automatic colour.
            if (m_red < 0 && m_green < 0 && m_blue < 0)
                m_colors.append(QColor());
            else
                m_colors.append(
                    QColor(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
            m_formats.clear();
        }
        m_red = m_green = m_blue = -1;
    }

    QTextCharFormat charFormat(const CharProps& props)
    {
        // A document uses few distinct formats; build each once.
        const auto cached = m_formats.constFind(props);
        if (cached != m_formats.cend())
            return *cached;
        QTextCharFormat format;
        format.setFontWeight(props.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(props.italic);
        format.setFontUnderline(props.underline);
        format.setFontStrikeOut(props.strike);
        format.setFontPointSize(props.halfPoints / 2.0);
        const auto font = m_fonts.constFind(props.font);
        if (font != m_fonts.cend())
            format.setFontFamilies({*font});
        if (props.color >= 0 && props.color < m_colors.size() && m_colors[props.color].isValid())
            format.setForeground(m_colors[props.color]);
        if (props.background > 0 && props.background < m_colors.size() &&
            m_colors[props.background].isValid())
            format.setBackground(m_colors[props.background]);
        if (m_formats.size() < maxTableEntries)
            m_formats.insert(props, format);
        return format;
    }

    static QTextBlockFormat blockFormat(const ParaProps& props)
    {
        QTextBlockFormat format;
        format.setAlignment(props.alignment);
        format.setLeftMargin(std::max(props.leftIndent, 0) / twipsPerPixel);
        format.setRightMargin(std::max(props.rightIndent, 0) / twipsPerPixel);
        format.setTextIndent(props.firstIndent / twipsPerPixel);
        format.setTopMargin(std::max(props.spaceBefore, 0) / twipsPerPixel);
        format.setBottomMargin(std::max(props.spaceAfter, 0) / twipsPerPixel);
        return format;
    }

    void flushText()
    {
        if (m_text.isEmpty())
            return;
        // Keep the document's structure intact: lone surrogate halves become the
        // replacement character, and the characters the document uses for its own frames
        // and objects are not taken from the text.
        const qsizetype n = m_text.size();
        QChar* data = m_text.data();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t u = data[i].unicode();
            if (QChar::isHighSurrogate(u) && i + 1 < n && data[i + 1].isLowSurrogate()) {
                ++i;
                continue;
            }
            if (QChar::isSurrogate(u) || u == 0xFDD0 || u == 0xFDD1 || u == 0xFFFC || u == 0xFFFE ||
                u == 0xFFFF)
                data[i] = QChar(0xFFFD);
            else if (u == 0x2029)
                data[i] = QChar(QChar::LineSeparator);
        }
        m_cursor.insertText(m_text, charFormat(m_textProps));
        m_text.resize(0); // keeps the buffer for the next run
    }

    void paragraph()
    {
        flushText();
        m_cursor.setBlockFormat(blockFormat(m_state.para));
        m_cursor.insertBlock(QTextBlockFormat(), charFormat(m_state.chars));
        m_paraHasText = false;
    }

    void finish()
    {
        flushText();
        m_cursor.setBlockFormat(blockFormat(m_paraHasText ? m_paraProps : m_state.para));
    }

    const char* m_p;
    const char* m_end;
    QTextCursor m_cursor;
    bool m_done = false;

    std::vector<GroupState> m_stack;
    GroupState m_state;
    int m_overflow = 0; // groups open beyond the depth bound
    int m_skip = 0;     // fallback characters still to skip after \uN
    bool m_star = false;

    QHash<int, QString> m_fonts;
    int m_defaultFont = -1;
    int m_fontNumber = -1;
    QString m_fontName;

    QList<QColor> m_colors;
    QHash<CharProps, QTextCharFormat> m_formats;
    int m_red = -1;
    int m_green = -1;
    int m_blue = -1;

    QString m_text;
    CharProps m_textProps;
    ParaProps m_paraProps;
    bool m_paraHasText = false;
};

} // namespace

namespace RtfReader
{

bool isRtf(const QByteArray& data)
{
    const char* end = data.constData() + data.size();
    const char* p = skipLead(data.constData(), end);
    return end - p >= 5 && std::string_view(p, 5) == "{\\rtf";
}

bool read(const QByteArray& rtf, QTextDocument* doc)
{
    if (!doc || !isRtf(rtf))
        return false;
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    Parser(rtf, doc).run();
    doc->setUndoRedoEnabled(undo);
    return true;
}

QString fromCp1252(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const char16_t ch = cp1252(uchar(c));
        if (ch != 0 || c == 0)
            text.append(QChar(ch));
    }
    return text;
}

} // namespace RtfReader
