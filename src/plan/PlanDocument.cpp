#include "PlanDocument.h"

#include "plan/PlanFacts.h"
#include "plan/PlanTable.h"
#include "plan/RunSheet.h"
#include "plan/TableObject.h"
#include "plan/TimelineObject.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QHash>

#include <algorithm>
#include <numeric>

namespace
{
constexpr int kDressWidth = 150;

constexpr QRgb kTextColour = 0x222222;

// Sizes of the plan; the run sheet has its own (Qt's text engine keeps the first of two
// rules for one selector, so each form gets one set).
const char* const kPlanSizes = R"(
h1 { font-size: 24pt; margin-bottom: 2px; }
p.sub { font-size: 12pt; }
h2 { font-size: 15pt; margin-top: 20px; margin-bottom: 6px; }
p.note { margin-top: 6px; }
)";
const char* const kCompactSizes = R"(
h1 { font-size: 13pt; margin-bottom: 0px; }
p.sub { font-size: 9pt; }
h2 { font-size: 10pt; margin-top: 6px; margin-bottom: 1px; }
td.label { font-weight: bold; }
p.note { margin-top: 2px; margin-bottom: 0px; }
p.text { margin-top: 0px; margin-bottom: 0px; }
)";

const char* const kStyle = R"(
h1 { font-weight: bold; color: #1f3a5c; }
p.sub { color: #444444; margin-top: 0px; margin-bottom: 2px; }
h2 { font-weight: bold; color: #1f4e79; }
h3 { font-size: 11pt; font-weight: bold; color: #333333; margin-top: 10px; margin-bottom: 4px; }
td { vertical-align: top; }
th { background-color: #1f4e79; color: #ffffff; font-weight: bold; text-align: left; }
td.label { color: #555555; }
td.name { font-size: 12pt; font-weight: bold; }
td.role { color: #555555; }
td.say { font-size: 17pt; }
td.problem { color: #a02010; font-weight: bold; }
td.advice { color: #8a5a00; font-weight: bold; }
p.note { font-weight: bold; }
p.caption { color: #555555; font-size: 9pt; margin-top: 2px; }
)";

// Extra rules for a browser: what Qt's text engine leaves out, or takes faster otherwise (the
// font and colour of the text from the document's defaults, shading and unbroken times as
// attributes).
const char* const kBrowserStyle = R"(
td.time { white-space: nowrap; }
tr.odd td { background-color: #eef3f8; }
body { max-width: 52em; margin: 2em auto; line-height: 1.35; }
table { border-collapse: collapse; width: 100%; }
td, th { padding: 5px 8px; }
tr { page-break-inside: avoid; break-inside: avoid; }
h2 { border-bottom: 1px solid #c8d4e2; padding-bottom: 3px; page-break-after: avoid; }
svg.timeline { width: 100%; height: auto; }
@media print { body { margin: 0; max-width: none; } }
)";

QString esc(const QString& text, qsizetype longest = PlanFacts::kLongestText)
{
    QString html = PlanFacts::printable(text, longest);
    // Most texts hold nothing to escape and are used as they are.
    if (std::any_of(html.cbegin(), html.cend(), [](QChar c) {
            return c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('&') ||
                   c == QLatin1Char('"') || c == QLatin1Char('\n');
        })) {
        html = html.toHtmlEscaped();
        html.replace(QLatin1Char('\n'), QStringLiteral("<br/>"));
    }
    return html;
}

QString pngData(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(bytes.toBase64());
}

// A table: in the file its look comes from the style sheet; Qt's text engine takes the
// spacing as attributes only.
QString tableOpen(bool compact, bool standalone)
{
    if (standalone)
        return QStringLiteral("<table>");
    return compact ? QStringLiteral(R"(<table width="100%" cellspacing="0" cellpadding="1" border="0">)")
                   : QStringLiteral(R"(<table width="100%" cellspacing="0" cellpadding="5" border="0">)");
}

// A cell's share of the table's width, as the form takes it.
QString widthOf(int percent, bool standalone)
{
    return standalone ? QStringLiteral(" style=\"width: %1%\"").arg(percent)
                      : QStringLiteral(" width=\"%1%\"").arg(percent);
}

// For the window's text document a long table is set as several of at most kRowsPerTable
// rows: Qt's text engine lays out many short tables far faster than one long one.
constexpr qsizetype kRowsPerTable = 40;

// A player of a recording, the sound inside the file; `label` names whose it is.
QString audioMarkup(const QString& base64, const QString& label)
{
    return QStringLiteral("<audio controls=\"controls\" preload=\"none\"%3 src=\"data:%1;"
                          "base64,%2\">recorded in their own voice</audio>")
        .arg(QString::fromLatin1(NameVoice::kMediaType).remove(QLatin1Char(' ')), base64,
             label.isEmpty() ? QString()
                             : QStringLiteral(" title=\"%1\"").arg(esc(label.trimmed())));
}

QString tableMarkup(const PlanBlock& b, bool compact, bool standalone, qsizetype longest)
{
    QString html = tableOpen(compact, standalone) + QStringLiteral("<thead><tr>");
    for (qsizetype c = 0; c < b.header.size(); ++c) {
        const QString& h = b.header[c];
        // The row numbers take only the room they need.
        const int width = c < b.widths.size() ? b.widths[c] : h == QLatin1String("#") ? 5 : 0;
        html += QStringLiteral("<th%1>%2</th>")
                    .arg(width > 0 ? widthOf(width, standalone) : QString(), esc(h));
    }
    html += QStringLiteral("</tr></thead><tbody>");
    // Qt's text engine takes the shading and the unbroken times as attributes far faster
    // than through the style sheet's classes.
    const QString odd = standalone ? QStringLiteral("<tr class=\"odd\">")
                                   : QStringLiteral("<tr bgcolor=\"#eef3f8\">");
    const QString time = standalone ? QStringLiteral("<td class=\"time\">")
                                    : QStringLiteral("<td nowrap=\"nowrap\">");
    const QString cell = QStringLiteral("<td>");
    const QString part = QStringLiteral("</tbody></table>") + tableOpen(compact, standalone) +
                         QStringLiteral("<tbody>");
    for (qsizetype i = 0; i < b.rows.size(); ++i) {
        if (i > 0 && i % kRowsPerTable == 0 && !standalone)
            html += part;
        html += i % 2 == 0 ? QStringLiteral("<tr>") : odd;
        const QStringList& r = b.rows[i];
        // The HTML file plays the row's recorded names after its last cell's text.
        QString sounds;
        for (const auto& [name, sound] : b.sounds.value(i))
            if (standalone)
                sounds += QStringLiteral("<br/>%1 ").arg(esc(PlanFacts::isolated(name))) + audioMarkup(sound, name);
        // Empty cells at the end of a row are one cell: a long table of short rows is laid
        // out in far less time.
        qsizetype used = r.size();
        while (sounds.isEmpty() && used > 1 && r[used - 1].isEmpty())
            --used;
        for (qsizetype c = 0; c < used; ++c) {
            // Times and lengths never break across lines.
            const QString& h = b.header.value(c);
            html += (h == QLatin1String("Time") || h == QLatin1String("Length") ? time : cell) +
                    esc(r[c], longest) + (c + 1 == r.size() ? sounds : QString()) +
                    QStringLiteral("</td>");
        }
        // Qt's text engine loses the space after a table whose last cell is empty: the
        // cell holds a zero width space.
        if (const qsizetype empty = r.size() - used; empty > 0)
            html += (empty > 1 ? QStringLiteral("<td colspan=\"%1\">").arg(empty) : cell) +
                    (standalone ? QString() : QStringLiteral("&#8203;")) + QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</tbody></table>");
}

// A name's recording: in the HTML file a player of its own; on paper and in the window a
// mark that there is one.
QString recordingMarkup(const QString& base64, bool standalone)
{
    if (base64.isEmpty())
        return {};
    if (!standalone)
        return QStringLiteral("<br/><span class=\"role\" style=\"font-size: 9pt; font-weight: "
                              "normal;\">&#9835; recorded in their own voice</span>");
    return QStringLiteral("<br/>") + audioMarkup(base64, QString());
}

// `longest`: the tables' texts are shortened to this length.
QString blockMarkup(const PlanBlock& b, const QString& pictureSource, int pictureWidth,
                    bool compact, bool standalone, qsizetype longest = PlanFacts::kLongestText)
{
    QString html;
    if (!b.title.isEmpty())
        html += QStringLiteral("<h3>%1</h3>").arg(esc(b.title));
    switch (b.kind) {
    case PlanBlock::Fields:
        html += tableOpen(compact, standalone);
        for (const auto& [label, value] : b.pairs)
            html += QStringLiteral("<tr><td class=\"label\"%1>%2</td><td>%3</td></tr>")
                        .arg(widthOf(22, standalone), esc(label), esc(value));
        html += QStringLiteral("</table>");
        break;
    case PlanBlock::Names:
        html += tableOpen(compact, standalone);
        for (qsizetype i = 0; i < b.rows.size(); ++i) {
            const QStringList& r = b.rows[i];
            html += QStringLiteral("<tr%1><td class=\"name\"%6>%2<br/><span "
                                   "class=\"role\" style=\"font-size: 9pt; font-weight: normal; "
                                   "color: #555555;\">%3</span>%5</td><td class=\"say\">%4</td></tr>")
                        .arg(i % 2 ? QStringLiteral(" class=\"odd\"") : QString(), esc(r[0], longest),
                             esc(r[1], longest),
                             r[2].isEmpty() ? QStringLiteral("&#8212;") : esc(r[2], longest),
                             recordingMarkup(r.value(3), standalone), widthOf(40, standalone));
        }
        html += QStringLiteral("</table>");
        break;
    case PlanBlock::Findings:
        html += tableOpen(compact, standalone);
        for (const QStringList& r : b.rows)
            html += QStringLiteral("<tr><td class=\"%1\"%5>%2</td><td>%3</td><td "
                                   "class=\"label\"%6>%4</td></tr>")
                        .arg(r[0].toLower(), esc(r[0], longest), esc(r[1], longest), esc(r[2], longest),
                             widthOf(12, standalone), widthOf(18, standalone));
        html += QStringLiteral("</table>");
        break;
    case PlanBlock::Table:
        html += tableMarkup(b, compact, standalone, longest);
        break;
    case PlanBlock::Picture:
        html += QStringLiteral("<p><img class=\"%1\" src=\"%2\" width=\"%3\" alt=\"%4\"/></p>"
                               "<p class=\"caption\">%4</p>")
                    .arg(b.picture, pictureSource)
                    .arg(pictureWidth)
                    .arg(esc(b.text));
        break;
    case PlanBlock::Note:
        html += QStringLiteral("<p class=\"note\">%1</p>").arg(esc(b.text));
        break;
    case PlanBlock::Text:
        html += QStringLiteral("<p class=\"text\">%1</p>").arg(esc(b.text));
        break;
    }
    return html;
}

// The plain text's lines hold at most kTextWidth characters: a mail program shows them whole.
constexpr qsizetype kTextWidth = 100;

// A text in lines of at most `width` characters, broken at spaces where it can be and inside
// a longer word where it must.
// The lines are views of `text`.
QList<QStringView> wrapped(QStringView text, qsizetype width)
{
    QList<QStringView> out;
    for (qsizetype start = 0, next = 0; next >= 0; start = next + 1) {
        next = text.indexOf(QLatin1Char('\n'), start);
        const QStringView line = text.sliced(start, (next < 0 ? text.size() : next) - start).trimmed();
        qsizetype at = 0;
        do {
            qsizetype end = qMin(at + width, line.size());
            if (end < line.size()) {
                qsizetype space = end;
                while (space > at && line[space] != QLatin1Char(' '))
                    --space;
                if (space > at)
                    end = space;
                else if (line[end - 1].isHighSurrogate())
                    --end;
            }
            out.append(line.sliced(at, end - at).trimmed());
            at = end;
            while (at < line.size() && line[at] == QLatin1Char(' '))
                ++at;
        } while (at < line.size());
    }
    return out;
}

// A text set in the text's width, its later lines indented.
QString paragraph(const QString& text, QLatin1String indent = QLatin1String("  "))
{
    const QList<QStringView> lines = wrapped(text, kTextWidth - indent.size());
    QString out;
    out.reserve(text.size() + lines.size() * (indent.size() + 1));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out += QLatin1Char('\n') + indent;
        out += lines[i];
    }
    return out + QLatin1Char('\n');
}

// Plain text tables: each column as wide as its widest cell while the rows fit the text's
// width; otherwise the widest columns share what is left and their cells wrap inside them.
QString tableText(const QStringList& header, const QList<QStringList>& rows)
{
    QList<QStringList> all = rows;
    if (!header.isEmpty())
        all.prepend(header);
    QList<qsizetype> natural;
    for (const QStringList& r : all)
        for (qsizetype c = 0; c < r.size(); ++c) {
            if (natural.size() <= c)
                natural.append(1);
            for (const QString& line : r[c].split(QLatin1Char('\n')))
                natural[c] = qMax(natural[c], qMin(line.trimmed().size(), kTextWidth));
        }
    constexpr qsizetype gap = 2;
    QList<qsizetype> widths = natural;
    QList<qsizetype> order(natural.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) { return natural[a] < natural[b]; });
    qsizetype room = kTextWidth - gap * (natural.size() - 1);
    for (qsizetype i = 0; i < order.size(); ++i) {
        const qsizetype share = qMax<qsizetype>(room / (order.size() - i), 4);
        widths[order[i]] = qMin(natural[order[i]], share);
        room -= widths[order[i]];
    }
    QString out;
    for (const QStringList& r : all) {
        QList<QList<QStringView>> cells;
        qsizetype height = 0;
        for (qsizetype c = 0; c < r.size(); ++c) {
            cells.append(wrapped(r[c], widths[c]));
            height = qMax(height, cells.last().size());
        }
        for (qsizetype line = 0; line < height; ++line) {
            const qsizetype start = out.size();
            for (qsizetype c = 0; c < cells.size(); ++c) {
                if (c > 0)
                    out.resize(out.size() + gap, QLatin1Char(' '));
                const qsizetype at = out.size();
                if (line < cells[c].size())
                    out += cells[c][line];
                out.resize(std::max(out.size(), at + widths[c]), QLatin1Char(' '));
            }
            while (out.size() > start && out.endsWith(QLatin1Char(' ')))
                out.chop(1);
            out += QLatin1Char('\n');
        }
    }
    return out;
}

} // namespace

PlanDocument::PlanDocument(const EventPlan& plan, const QList<PlanFinding>& findings,
                           const QString& mediaFolder)
    : m_title(PlanOutline::titleOf(plan))
{
    const int looks = plan.Looks.value;
    if (plan.Looks.isGiven() && !mediaFolder.isEmpty())
        m_dress.load(mediaFolder + QStringLiteral("dress%1.jpg").arg(looks + 1));
    if (!m_dress.isNull() && m_dress.width() > 2 * kDressWidth)
        m_dress = m_dress.scaledToWidth(2 * kDressWidth, Qt::SmoothTransformation);
    m_sections = PlanOutline::build(plan, findings, !m_dress.isNull());
    if (!plan.Schedule.isEmpty())
        m_timeline = PlanTimeline(plan);
}

PlanDocument PlanDocument::runSheet(const EventPlan& plan, const QList<PlanFinding>& findings)
{
    PlanDocument d;
    d.m_kind = QStringLiteral("Run sheet");
    d.m_compact = true;
    d.m_title = PlanOutline::titleOf(plan);
    d.m_sections = RunSheet::build(plan, findings);
    return d;
}

PlanDocument::~PlanDocument() = default;

struct PlanDocument::PagesShare {
    QList<qsizetype> rows; // the rows each table shows, in the order of the tables
    qsizetype longest = PlanFacts::kLongestText;
};

QString PlanDocument::runningHeader() const
{
    return m_title.couple.isEmpty()
               ? m_title.date
               : QStringLiteral("%1 - %2").arg(m_title.couple, m_title.date);
}

namespace
{
// The pages and the window of a very large event hold at most this many rows and characters
// in their tables, a few hundred pages: beyond it each table shows its first rows, and the
// longest texts are shortened, each to the same length, so the pages are made and the window
// opens in moments. The HTML and text forms hold every row.
constexpr qsizetype kPagesRows = 3'000;
constexpr qsizetype kPagesCharacters = 600'000;

bool setByPlanTable(const PlanBlock& b)
{
    return b.kind == PlanBlock::Table || b.kind == PlanBlock::Names || b.kind == PlanBlock::Findings;
}

// The blocks set as tables of rows, in reading order.
QList<const PlanBlock*> tablesOf(const QList<PlanSection>& sections)
{
    QList<const PlanBlock*> tables;
    for (const PlanSection& s : sections)
        for (const PlanBlock& b : s.blocks)
            if (setByPlanTable(b))
                tables.append(&b);
    return tables;
}

// How many of the tables' rows (`counts`) the pages show: every row of the smaller tables,
// the larger ones an even share of what is left.
QList<qsizetype> rowsOnPages(const QList<qsizetype>& counts)
{
    QList<qsizetype> order(counts.size()), shown(counts.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) { return counts[a] < counts[b]; });
    qsizetype left = kPagesRows;
    for (qsizetype i = 0; i < order.size(); ++i) {
        shown[order[i]] = qMin(counts[order[i]], left / (order.size() - i));
        left -= shown[order[i]];
    }
    return shown;
}

// The length the shown rows' texts are shortened to: the most that keeps them all within
// kPagesCharacters, shorter texts kept whole.
qsizetype longestOnPages(const QList<qsizetype>& lengths)
{
    qsizetype longest = PlanFacts::kLongestText, shortest = 0;
    auto fits = [&](qsizetype cap) {
        qsizetype total = 0;
        for (const qsizetype n : lengths)
            total += qMin(n, cap);
        return total <= kPagesCharacters;
    };
    if (fits(longest))
        return longest;
    while (longest - shortest > 1) {
        const qsizetype mid = (longest + shortest) / 2;
        (fits(mid) ? shortest : longest) = mid;
    }
    return qMax<qsizetype>(shortest, 20);
}
} // namespace

PlanDocument::PagesShare PlanDocument::pagesShare() const
{
    const QList<const PlanBlock*> tables = tablesOf(m_sections);
    QList<qsizetype> counts;
    for (const PlanBlock* b : tables)
        counts.append(b->rows.size());
    PagesShare share{rowsOnPages(counts)};
    QList<qsizetype> lengths;
    for (qsizetype t = 0; t < tables.size(); ++t)
        for (const QStringList& r : tables[t]->rows.first(share.rows[t]))
            for (const QString& cell : r)
                lengths.append(qMin(cell.size(), PlanFacts::kLongestText));
    share.longest = longestOnPages(lengths);
    return share;
}

QString PlanDocument::markup(Form form, const PagesShare* share) const
{
    const bool standalone = form == Form::File;
    // The file is HTML5 that is also well-formed XML; Qt's text engine takes the same markup.
    QString html = standalone ? QStringLiteral("<!DOCTYPE html>\n") : QString();
    html += QStringLiteral("<html lang=\"en\"><head><meta charset=\"utf-8\"/><title>%1</title>"
                           "<style>%2%3%4</style></head><body>")
                .arg(PlanFacts::printable(m_kind + QStringLiteral(": ") + runningHeader()).toHtmlEscaped(),
                     QLatin1String(kStyle),
                     m_compact ? QLatin1String(kCompactSizes) : QLatin1String(kPlanSizes),
                     standalone ? QLatin1String(kBrowserStyle) +
                                      QStringLiteral("body { font-family: 'DejaVu Sans', Arial, "
                                                     "sans-serif; color: #%1; font-size: %2pt; }")
                                          .arg(kTextColour, 6, 16, QLatin1Char('0'))
                                          .arg(m_compact ? 7.5 : 10)
                                : QString());
    const qsizetype head = html.size();
    html +=
        QStringLiteral("<h1>%1</h1>")
            .arg(esc(m_title.couple.isEmpty() ? QStringLiteral("Reception Plan") : m_title.couple));
    // The run sheet's head block says these itself.
    for (const QString& line : {m_title.date, m_title.place, m_title.times})
        if (!line.isEmpty() && !m_compact)
            html += QStringLiteral("<p class=\"sub\">%1</p>").arg(esc(line));
    int tables = 0;
    for (const PlanSection& s : m_sections) {
        if (!s.title.isEmpty())
            html += QStringLiteral("<h2>%1</h2>").arg(esc(s.title));
        for (const PlanBlock& b : s.blocks) {
            // The tables of the pages and the window: what they show of a very large event.
            // On the pages their place, which TableObject fills.
            if (share && setByPlanTable(b)) {
                const qsizetype shown = share->rows[tables];
                if (form == Form::Pages) {
                    if (!b.title.isEmpty())
                        html += QStringLiteral("<h3>%1</h3>").arg(esc(b.title));
                    html += QStringLiteral("<p style=\"margin-top: 0px; margin-bottom: 0px;\">"
                                           "<img src=\"table:%1\"/></p>")
                                .arg(tables);
                } else {
                    PlanBlock part = b;
                    part.rows = b.rows.first(shown);
                    part.sounds = b.sounds.mid(0, shown);
                    html += blockMarkup(part, b.picture, kDressWidth, m_compact, false, share->longest);
                }
                ++tables;
                if (shown < b.rows.size())
                    html += QStringLiteral("<p class=\"caption\">Only the first %1 of these %2 "
                                           "rows are shown here; the plan as HTML or text shows "
                                           "them all.</p>")
                                .arg(shown)
                                .arg(b.rows.size());
                if (share->longest < PlanFacts::kLongestText)
                    html += QStringLiteral("<p class=\"caption\">Texts longer than %1 characters "
                                           "are shortened here; the event file holds them "
                                           "whole.</p>")
                                .arg(share->longest);
                continue;
            }
            // The timeline: inline SVG in the file; the text document paints it in the
            // place of a picture (see TimelineObject).
            const bool timeline = b.picture == QLatin1String("timeline");
            if (timeline && standalone) {
                html += QStringLiteral("<p>%1</p><p class=\"caption\">%2</p>")
                            .arg(m_timeline.svg(b.text), esc(b.text));
                continue;
            }
            const QString source =
                !standalone || b.kind != PlanBlock::Picture ? b.picture : pngData(m_dress);
            html += blockMarkup(b, source, kDressWidth, m_compact, standalone);
        }
    }
    html += QStringLiteral("</body></html>\n");
    if (standalone) {
        // A browser isolates a name by direction with <bdi>; Qt's text engine knows only the
        // Unicode isolates the names carry.
        html = PlanFacts::bdiMarkup(html, head);
    }
    return html;
}

QString PlanDocument::html() const
{
    return markup(Form::File);
}

std::unique_ptr<QTextDocument> PlanDocument::textDocument() const
{
    return document(Form::Window);
}

std::unique_ptr<QTextDocument> PlanDocument::document(Form form, QPaintDevice* device,
                                                      qreal width) const
{
    auto doc = std::make_unique<QTextDocument>();
    if (device)
        doc->documentLayout()->setPaintDevice(device);
    if (width > 0)
        doc->setTextWidth(width);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(m_compact ? 7.5 : 10); // the text's font: the style sheet sets no body font
    doc->setDefaultFont(font);
    if (!m_dress.isNull())
        doc->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("dress")), m_dress);
    const PagesShare share = pagesShare();
    doc->setHtml(markup(form, &share));
    if (form == Form::Pages) {
        QList<PlanTable> tables;
        for (const PlanBlock* b : tablesOf(m_sections))
            tables.append(PlanTable(*b, m_compact, share.longest, share.rows[tables.size()]));
        TableObject::install(doc.get(), tables);
    }
    if (!m_timeline.isEmpty())
        TimelineObject::install(doc.get(), m_timeline);
    return doc;
}

QString PlanDocument::text() const
{
    QString out =
        paragraph(m_title.couple.isEmpty() ? QStringLiteral("Reception Plan") : m_title.couple);
    for (const QString& line : {m_title.date, m_title.place, m_title.times})
        if (!line.isEmpty() && !m_compact)
            out += paragraph(line);
    for (const PlanSection& s : m_sections) {
        if (!s.title.isEmpty())
            out += QStringLiteral("\n%1\n%2\n")
                       .arg(s.title.toUpper(), QString(s.title.size(), QLatin1Char('=')));
        for (const PlanBlock& b : s.blocks) {
            if (!b.title.isEmpty())
                out += QLatin1Char('\n') + paragraph(b.title);
            switch (b.kind) {
            case PlanBlock::Fields:
                for (const auto& [label, value] : b.pairs)
                    out += paragraph(QStringLiteral("%1: %2").arg(label, value));
                break;
            case PlanBlock::Names:
                for (const QStringList& r : b.rows)
                    out += paragraph(QStringLiteral("%1 (%2)").arg(r[0], r[1])) +
                           QStringLiteral("    ") +
                           paragraph(QStringLiteral("say: %1%2").arg(
                                         r[2].isEmpty() ? QStringLiteral("-") : r[2],
                                         r.value(3).isEmpty() ? QString()
                                                              : QStringLiteral(" (recorded)")),
                                     QLatin1String("      "));
                break;
            case PlanBlock::Findings:
                for (const QStringList& r : b.rows)
                    out += paragraph(QStringLiteral("%1: %2 [%3]").arg(r[0], r[1], r[2]));
                break;
            case PlanBlock::Table:
                out += tableText(b.header, b.rows);
                break;
            case PlanBlock::Picture:
                if (b.picture == QLatin1String("dress"))
                    break; // the dress is already named in words
                out += paragraph(QStringLiteral("(%1)").arg(b.text.section(QLatin1Char(';'), 0, 0)));
                break;
            case PlanBlock::Note:
            case PlanBlock::Text:
                out += paragraph(b.text);
                break;
            }
        }
    }
    return out;
}

namespace
{

// A piece of the document laid out as one long page that a page cut must not split: a block
// outside a table, a table row or a whole table.
struct Span {
    qreal top, bottom;
    qreal keep;       // where the page may end at the earliest once it holds this span
    int header = -1;  // the column names repeated above this span on a new page
    bool heading = false;
};

struct Page {
    qreal top, bottom;
    int header; // the column names set above the page's body, or -1
};

// The spans of the document in reading order, and the column names of every table that has
// them as [top, bottom) of its first row.
// Where a table stands on the long page.
struct Placed {
    qreal top;
    const PlanTable* table;
};

QList<Span> spansOf(const QTextDocument& doc, QList<QPair<qreal, qreal>>* headers,
                    QList<Placed>* tables)
{
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    QList<Span> spans;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame()) {
            // A block of facts stays on one page.
            const QRectF r = layout->frameBoundingRect(frame);
            spans.append({r.top(), r.bottom(), r.bottom(), -1, false});
            continue;
        }
        const QTextBlock block = it.currentBlock();
        qreal at = 0;
        if (const PlanTable* table = TableObject::tableIn(block, &at)) {
            tables->append({at, table});
            // A table may end a page between any two rows; the column names stay with the
            // first row below them and are repeated above the rows a new page goes on with.
            const QList<qreal>& tops = table->rowTops();
            int header = -1;
            qsizetype row = 0;
            if (table->hasHeader() && tops.size() > 2) {
                headers->append({at + tops[0], at + tops[1]});
                header = int(headers->size()) - 1;
                spans.append({at + tops[0], at + tops[1], at + tops[1], -1, true});
                row = 1;
            }
            for (; row + 1 < tops.size(); ++row)
                spans.append({at + tops[row], at + tops[row + 1], at + tops[row + 1], header, false});
            continue;
        }
        // A paragraph may end a page between two of its lines.
        const QRectF r = layout->blockBoundingRect(block);
        const bool heading = block.blockFormat().headingLevel() > 0;
        const QTextLayout* lines = block.layout();
        qreal top = r.top();
        for (int i = 1; !heading && lines && i < lines->lineCount(); ++i) {
            const qreal y = lines->position().y() + lines->lineAt(i).y();
            spans.append({top, y, y, -1, false});
            top = y;
        }
        spans.append({top, r.bottom(), r.bottom(), -1, heading});
    }
    // A heading holds on to what follows it (which may be another heading).
    for (qsizetype i = spans.size() - 2; i >= 0; --i)
        if (spans[i].heading)
            spans[i].keep = qMax(spans[i].keep, spans[i + 1].keep);
    return spans;
}

// Where pages end: each table row, each block outside a table, each block of facts and each
// picture is kept whole, and a heading stays with what follows it. A page that goes on with a
// table has the table's column names above its body.
QList<Page> pagesOf(const QList<Span>& spans, const QList<QPair<qreal, qreal>>& headers,
                    qreal height, qreal pageHeight)
{
    // The document's last margin makes no page of its own.
    if (!spans.isEmpty())
        height = qMin(height, spans.last().bottom);
    QList<Page> pages;
    qreal top = 0;
    qsizetype at = 0; // the span the page starts in
    while (top < height - 0.5) {
        while (at < spans.size() && spans[at].bottom <= top + 0.5)
            ++at;
        const int header = !pages.isEmpty() && at < spans.size() ? spans[at].header : -1;
        const qreal room =
            pageHeight - (header >= 0 ? headers[header].second - headers[header].first : 0);
        qreal end = top + qMax(room, pageHeight / 4);
        // Move the end up to the start of the first span it would cut; a span taller than a
        // page is cut where the page ends.
        for (qsizetype i = at; end < height && i < spans.size() && spans[i].top < end; ++i)
            if (spans[i].keep > end + 0.5 && spans[i].top > top + 0.5) {
                end = spans[i].top;
                break;
            }
        pages.append({top, qMin(end, height), header});
        top = end;
    }
    if (pages.isEmpty())
        pages.append({0, 0, -1});
    return pages;
}

} // namespace

int PlanDocument::print(QPagedPaintDevice* device) const
{
    const qreal dpi = device->logicalDpiY();
    const QSizeF page(device->width(), device->height());
    const qreal headerHeight = 0.45 * dpi, footerHeight = 0.4 * dpi;
    const QRectF body(0, headerHeight, page.width(), page.height() - headerHeight - footerHeight);
    // One long page; the pages are cut from it between rows and blocks.
    const auto doc = document(Form::Pages, device, body.width());
    QList<QPair<qreal, qreal>> headers;
    // The padding of the table cells (see tableOpen).
    QList<Placed> tables;
    const QList<Span> spans = spansOf(*doc, &headers, &tables);
    const QList<Page> pages =
        pagesOf(spans, headers, doc->documentLayout()->documentSize().height(), body.height());

    QPainter p(device);
    QFont small(QStringLiteral("DejaVu Sans"), 8);
    const QFontMetricsF metrics(small, device);
    // The couple and the date give way, with an ellipsis, to the document's name.
    const qreal kindWidth = metrics.horizontalAdvance(m_kind);
    const QString running = runningHeader(metrics, page.width() - kindWidth - 0.25 * dpi);
    // Paints [top, bottom) of the long page with its top at `y` of the page.
    auto paint = [&](qreal top, qreal bottom, qreal y) {
        p.save();
        p.translate(body.left(), y - top);
        QAbstractTextDocumentLayout::PaintContext context;
        p.setClipRect(QRectF(0, top, body.width(), bottom - top));
        // A line reaching less than half a point into the page belongs to its neighbour: the
        // layout leaves it out, so its text is not in the page's words, hidden by the clip.
        const qreal hair = device->logicalDpiY() / 144.0;
        context.clip = QRectF(0, top + hair, body.width(), bottom - top - 2 * hair);
        context.palette.setColor(QPalette::Text, QColor(kTextColour));
        // A band inside one table is painted by the table alone: the document's layout would
        // look through all of the document for every page.
        const auto inside = std::find_if(tables.begin(), tables.end(), [&](const Placed& t) {
            return t.top <= top && top + (bottom - top) <= t.top + t.table->height();
        });
        if (inside != tables.end())
            inside->table->paint(&p, QPointF(doc->documentMargin(), inside->top),
                                 top - inside->top + hair, bottom - inside->top - hair);
        else
            doc->documentLayout()->draw(&p, context);
        p.restore();
    };
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device->newPage();
        p.setFont(small);
        p.setPen(QColor(0x55, 0x55, 0x55));
        const QRectF headerBox(0, 0, page.width(), headerHeight * 0.6);
        p.drawText(headerBox, Qt::AlignRight | Qt::AlignBottom, m_kind);
        p.drawText(headerBox, Qt::AlignLeft | Qt::AlignBottom, running);
        p.setPen(QPen(QColor(0xc8, 0xd4, 0xe2), dpi / 96.0));
        p.drawLine(QPointF(0, headerHeight * 0.75), QPointF(page.width(), headerHeight * 0.75));
        p.setPen(QColor(0x55, 0x55, 0x55));
        p.drawText(QRectF(0, page.height() - footerHeight * 0.6, page.width(), footerHeight * 0.6),
                   Qt::AlignHCenter | Qt::AlignBottom,
                   QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages.size()));

        qreal y = body.top();
        if (pages[i].header >= 0) {
            const auto [top, bottom] = headers[pages[i].header];
            paint(top, bottom, y);
            y += bottom - top;
        }
        paint(pages[i].top, pages[i].bottom, y);
    }
    return int(pages.size());
}

QString PlanDocument::runningHeader(const QFontMetricsF& metrics, qreal width) const
{
    const QString full = runningHeader();
    if (metrics.horizontalAdvance(full) <= width)
        return full;
    // The date stays whole; the names give way, each kept apart by direction.
    const QString date = QStringLiteral(" - ") + m_title.date;
    const qreal room = width - metrics.horizontalAdvance(date + QChar(0x2026));
    // The longest start of the names that fits, found by halving.
    qsizetype fits = 0, over = m_title.couple.size() + 1;
    while (over - fits > 1) {
        const qsizetype mid = (fits + over) / 2;
        (metrics.horizontalAdvance(m_title.couple.left(mid)) <= room ? fits : over) = mid;
    }
    if (fits > 0 && m_title.couple[fits - 1].isHighSurrogate())
        --fits;
    const QString names = m_title.couple.left(fits).trimmed();
    if (names.isEmpty() || m_title.couple.isEmpty())
        return metrics.elidedText(full, Qt::ElideRight, width);
    // An isolate cut open is closed again after the ellipsis.
    const QString ellipsis = QString(QChar(0x2026));
    const bool open = names.count(QChar(0x2068)) > names.count(QChar(0x2069));
    return names + ellipsis + (open ? QString(QChar(0x2069)) : QString()) + date;
}

namespace
{
bool failed(QString* error, const QString& file, const QString& reason)
{
    if (error)
        *error = QStringLiteral("%1: cannot be written: %2").arg(file, reason);
    return false;
}
} // namespace

namespace
{
void setUp(QPdfWriter& writer, const QString& title, const QPageSize& size)
{
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Feteplan"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(16, 12, 16, 12),
                                     QPageLayout::Millimeter));
}
} // namespace

int PlanDocument::pageCount(const QPageSize& size) const
{
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    QPdfWriter writer(&bytes);
    setUp(writer, m_kind, size);
    return print(&writer);
}

bool PlanDocument::writePdf(const QString& file, const QPageSize& size, QString* error) const
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return failed(error, file, out.errorString());
    {
        QPdfWriter writer(&out);
        setUp(writer, m_kind + QStringLiteral(": ") + runningHeader(), size);
        print(&writer);
    }
    if (!out.commit())
        return failed(error, file, out.errorString());
    return true;
}

bool PlanDocument::write(const QString& file, const QPageSize& size, QString* error) const
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return writePdf(file, size, error);
    QString content;
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        content = html();
    else if (suffix == QLatin1String("txt"))
        content = text();
    else
        return failed(error, file, QStringLiteral("the name must end in .pdf, .html or .txt"));
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(content.toUtf8()) < 0 || !out.commit())
        return failed(error, file, out.errorString());
    return true;
}
