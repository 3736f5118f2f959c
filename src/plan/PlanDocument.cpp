#include "PlanDocument.h"

#include "plan/PlanFacts.h"
#include "plan/TimelineObject.h"
#include "plan/RunSheet.h"

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

namespace
{
constexpr int kDressWidth = 150;

// Sizes of the plan; the run sheet has its own (Qt's text engine keeps the first of two
// rules for one selector, so each form gets one set).
const char* const kPlanSizes = R"(
body { font-size: 10pt; }
h1 { font-size: 24pt; margin-bottom: 2px; }
p.sub { font-size: 12pt; }
h2 { font-size: 15pt; margin-top: 20px; margin-bottom: 6px; }
p.note { margin-top: 6px; }
)";
const char* const kCompactSizes = R"(
body { font-size: 7.5pt; }
h1 { font-size: 13pt; margin-bottom: 0px; }
p.sub { font-size: 9pt; }
h2 { font-size: 10pt; margin-top: 8px; margin-bottom: 2px; }
td.label { font-weight: bold; }
p.note { margin-top: 2px; }
p.text { margin-top: 0px; margin-bottom: 0px; }
)";

const char* const kStyle = R"(
body { font-family: 'DejaVu Sans', Arial, sans-serif; color: #222222; }
h1 { font-weight: bold; color: #1f3a5c; }
p.sub { color: #444444; margin-top: 0px; margin-bottom: 2px; }
h2 { font-weight: bold; color: #1f4e79; }
h3 { font-size: 11pt; font-weight: bold; color: #333333; margin-top: 10px; margin-bottom: 4px; }
td { vertical-align: top; }
td.time { white-space: nowrap; }
th { background-color: #1f4e79; color: #ffffff; font-weight: bold; text-align: left; }
tr.odd td { background-color: #eef3f8; }
td.label { color: #555555; }
td.name { font-size: 12pt; font-weight: bold; }
td.role { color: #555555; }
td.say { font-size: 17pt; }
td.problem { color: #a02010; font-weight: bold; }
td.advice { color: #8a5a00; font-weight: bold; }
p.note { font-weight: bold; }
p.caption { color: #555555; font-size: 9pt; margin-top: 2px; }
)";

// Extra rules for a browser: what Qt's text engine leaves out.
const char* const kBrowserStyle = R"(
body { max-width: 52em; margin: 2em auto; line-height: 1.35; }
table { border-collapse: collapse; width: 100%; }
td, th { padding: 5px 8px; }
tr { page-break-inside: avoid; break-inside: avoid; }
h2 { border-bottom: 1px solid #c8d4e2; padding-bottom: 3px; page-break-after: avoid; }
svg.timeline { width: 100%; height: auto; }
@media print { body { margin: 0; max-width: none; } }
)";

// A text as the pages print it: at most kLongestText characters (a longer one is damage or a
// paste gone wrong, and would bury the plan), with a break allowed every kLongestRun
// characters of a run without spaces, so it wraps instead of running off the page.
constexpr qsizetype kLongestText = 4000;
constexpr qsizetype kLongestRun = 60;
QString printable(const QString& text)
{
    QString out;
    out.reserve(qMin(text.size(), kLongestText) + 64);
    qsizetype run = 0;
    for (qsizetype i = 0; i < text.size() && i < kLongestText; ++i) {
        const QChar c = text[i];
        run = c.isSpace() || c == QLatin1Char('-') ? 0 : run + 1;
        if (run > kLongestRun && !c.isLowSurrogate()) {
            out += QChar(0x200B); // zero width space: a place to break the line
            run = 1;
        }
        out += c;
    }
    if (text.size() > kLongestText)
        out += QStringLiteral("... (%1 more characters not shown)").arg(text.size() - kLongestText);
    return out;
}

QString esc(const QString& text)
{
    QString html = printable(text).toHtmlEscaped();
    html.replace(QLatin1Char('\n'), QStringLiteral("<br/>"));
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

QString tableOpen(bool compact)
{
    return compact ? QStringLiteral(R"(<table width="100%" cellspacing="0" cellpadding="1" border="0">)")
                     : QStringLiteral(R"(<table width="100%" cellspacing="0" cellpadding="5" border="0">)");
}

// A long table is set as several of at most kRowsPerTable rows, each with the header: the
// text engine lays out many short tables far faster than one long one, and a reader of a
// later page finds the columns named again.
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

QString tableMarkup(const PlanBlock& b, bool compact, bool standalone)
{
    QString head = tableOpen(compact) + QStringLiteral("<thead><tr>");
    for (qsizetype c = 0; c < b.header.size(); ++c) {
        const QString& h = b.header[c];
        // The row numbers take only the room they need.
        const int width = c < b.widths.size() ? b.widths[c] : h == QLatin1String("#") ? 5 : 0;
        head += width > 0 ? QStringLiteral("<th width=\"%1%\">%2</th>").arg(width).arg(esc(h))
                          : QStringLiteral("<th>%1</th>").arg(esc(h));
    }
    head += QStringLiteral("</tr></thead><tbody>");
    QString html;
    for (qsizetype i = 0; i < b.rows.size(); ++i) {
        if (i % kRowsPerTable == 0)
            html += (i > 0 ? QStringLiteral("</tbody></table>") : QString()) + head;
        html += i % 2 ? QStringLiteral("<tr class=\"odd\">") : QStringLiteral("<tr>");
        for (qsizetype c = 0; c < b.rows[i].size(); ++c) {
            QString cell = esc(b.rows[i][c]);
            // The HTML file plays the row's recorded names after its last cell's text.
            if (standalone && c + 1 == b.rows[i].size())
                for (const auto& [name, sound] : b.sounds.value(i))
                    cell += QStringLiteral("<br/>%1 ").arg(esc(name)) + audioMarkup(sound, name);
            // Times and lengths never break across lines.
            const QString& h = b.header.value(c);
            html += h == QLatin1String("Time") || h == QLatin1String("Length")
                        ? QStringLiteral("<td class=\"time\">%1</td>").arg(cell)
                        : QStringLiteral("<td>%1</td>").arg(cell);
        }
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

QString blockMarkup(const PlanBlock& b, const QString& pictureSource, int pictureWidth,
                    bool compact, bool standalone)
{
    QString html;
    if (!b.title.isEmpty())
        html += QStringLiteral("<h3>%1</h3>").arg(esc(b.title));
    switch (b.kind) {
    case PlanBlock::Fields:
        html += tableOpen(compact);
        for (const auto& [label, value] : b.pairs)
            html += QStringLiteral("<tr><td class=\"label\" width=\"22%\">%1</td><td>%2</td></tr>")
                        .arg(esc(label), esc(value));
        html += QStringLiteral("</table>");
        break;
    case PlanBlock::Names:
        html += tableOpen(compact);
        for (qsizetype i = 0; i < b.rows.size(); ++i) {
            const QStringList& r = b.rows[i];
            html += QStringLiteral("<tr%1><td class=\"name\" width=\"40%\">%2<br/><span "
                                   "class=\"role\" style=\"font-size: 9pt; font-weight: normal; "
                                   "color: #555555;\">%3</span>%5</td><td class=\"say\">%4</td></tr>")
                        .arg(i % 2 ? QStringLiteral(" class=\"odd\"") : QString(), esc(r[0]),
                             esc(r[1]), r[2].isEmpty() ? QStringLiteral("&#8212;") : esc(r[2]),
                             recordingMarkup(r.value(3), standalone));
        }
        html += QStringLiteral("</table>");
        break;
    case PlanBlock::Findings:
        html += tableOpen(compact);
        for (const QStringList& r : b.rows)
            html += QStringLiteral("<tr><td class=\"%1\" width=\"12%\">%2</td><td>%3</td><td "
                                   "class=\"label\" width=\"18%\">%4</td></tr>")
                        .arg(r[0].toLower(), esc(r[0]), esc(r[1]), esc(r[2]));
        html += QStringLiteral("</table>");
        break;
    case PlanBlock::Table:
        html += tableMarkup(b, compact, standalone);
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

// Plain text: columns padded to their widest cell, so the tables read in a fixed font.
QString tableText(const QStringList& header, const QList<QStringList>& rows)
{
    QList<QStringList> all = rows;
    if (!header.isEmpty())
        all.prepend(header);
    QList<qsizetype> widths;
    for (const QStringList& r : all)
        for (qsizetype c = 0; c < r.size(); ++c) {
            if (widths.size() <= c)
                widths.append(0);
            for (const QString& line : r[c].split(QLatin1Char('\n')))
                widths[c] = qMax(widths[c], line.size());
        }
    QString out;
    for (const QStringList& r : all) {
        QStringList cells;
        for (qsizetype c = 0; c < r.size(); ++c) {
            QString cell = r[c];
            cell.replace(QLatin1Char('\n'), QStringLiteral("; "));
            cells.append(c + 1 < r.size() ? cell.leftJustified(widths[c]) : cell);
        }
        out += cells.join(QStringLiteral("  ")).trimmed() + QLatin1Char('\n');
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

QString PlanDocument::runningHeader() const
{
    return m_title.couple.isEmpty()
               ? m_title.date
               : QStringLiteral("%1 - %2").arg(m_title.couple, m_title.date);
}

QString PlanDocument::markup(bool standalone) const
{
    // The file form is well-formed XML; Qt's text engine takes the same markup without the
    // prolog.
    QString html = standalone ? QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                               "<!DOCTYPE html>\n")
                              : QString();
    html +=
        QStringLiteral("<html xmlns=\"http://www.w3.org/1999/xhtml\" "
                       "lang=\"en\"><head><meta charset=\"utf-8\"/><title>%1</title>"
                       "<style>%2%3%4</style></head><body>")
            .arg(esc(m_kind + QStringLiteral(": ") + runningHeader()), QLatin1String(kStyle),
                 m_compact ? QLatin1String(kCompactSizes) : QLatin1String(kPlanSizes),
                 standalone ? QLatin1String(kBrowserStyle) : QLatin1String(""));
    html +=
        QStringLiteral("<h1>%1</h1>")
            .arg(esc(m_title.couple.isEmpty() ? QStringLiteral("Reception Plan") : m_title.couple));
    // The run sheet's head block says these itself.
    for (const QString& line : {m_title.date, m_title.place, m_title.times})
        if (!line.isEmpty() && !m_compact)
            html += QStringLiteral("<p class=\"sub\">%1</p>").arg(esc(line));
    for (const PlanSection& s : m_sections) {
        if (!s.title.isEmpty())
            html += QStringLiteral("<h2>%1</h2>").arg(esc(s.title));
        for (const PlanBlock& b : s.blocks) {
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
    return html + QStringLiteral("</body></html>\n");
}

QString PlanDocument::html() const
{
    return markup(true);
}

std::unique_ptr<QTextDocument> PlanDocument::textDocument() const
{
    auto doc = std::make_unique<QTextDocument>();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(m_compact ? 7.5 : 10); // table cells take this, not the body's size
    doc->setDefaultFont(font);
    if (!m_dress.isNull())
        doc->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("dress")), m_dress);
    doc->setHtml(markup(false));
    if (!m_timeline.isEmpty())
        TimelineObject::install(doc.get(), m_timeline);
    return doc;
}

QString PlanDocument::text() const
{
    QString out = (m_title.couple.isEmpty() ? QStringLiteral("Reception Plan") : m_title.couple) +
                  QLatin1Char('\n');
    for (const QString& line : {m_title.date, m_title.place, m_title.times})
        if (!line.isEmpty() && !m_compact)
            out += line + QLatin1Char('\n');
    for (const PlanSection& s : m_sections) {
        if (!s.title.isEmpty())
            out += QStringLiteral("\n%1\n%2\n")
                       .arg(s.title.toUpper(), QString(s.title.size(), QLatin1Char('=')));
        for (const PlanBlock& b : s.blocks) {
            if (!b.title.isEmpty())
                out += QStringLiteral("\n%1\n").arg(b.title);
            switch (b.kind) {
            case PlanBlock::Fields:
                for (const auto& [label, value] : b.pairs) {
                    QString v = value;
                    v.replace(QLatin1Char('\n'), QStringLiteral("\n  "));
                    out += QStringLiteral("%1: %2\n").arg(label, v);
                }
                break;
            case PlanBlock::Names:
                for (const QStringList& r : b.rows)
                    out += QStringLiteral("%1 (%2)\n    say: %3%4\n")
                               .arg(r[0], r[1], r[2].isEmpty() ? QStringLiteral("-") : r[2],
                                    r.value(3).isEmpty() ? QString()
                                                         : QStringLiteral(" (recorded)"));
                break;
            case PlanBlock::Findings:
                for (const QStringList& r : b.rows)
                    out += QStringLiteral("%1: %2 [%3]\n").arg(r[0], r[1], r[2]);
                break;
            case PlanBlock::Table:
                out += tableText(b.header, b.rows);
                break;
            case PlanBlock::Picture:
                if (b.picture == QLatin1String("dress"))
                    break; // the dress is already named in words
                out += QStringLiteral("(%1)\n").arg(b.text.section(QLatin1Char(';'), 0, 0));
                break;
            case PlanBlock::Note:
            case PlanBlock::Text:
                out += b.text + QLatin1Char('\n');
                break;
            }
        }
    }
    return out;
}

namespace
{

// Where pages may end: each table row, each block outside a table and each picture is kept
// whole, and a heading stays with what follows it. Returns the pages as [top, bottom) of the
// document laid out as one long page.
QList<QPair<qreal, qreal>> pageSpans(const QTextDocument& doc, qreal pageHeight, qreal padding)
{
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    struct Span {
        qreal top, bottom;
        bool heading;
    };
    QList<Span> spans;
    // The table row of every block inside a table, found table by table (asking each block
    // for its table costs a walk over all of them).
    QHash<int, QPair<QTextTable*, int>> rowOf;
    for (QTextFrame* frame : doc.rootFrame()->childFrames())
        if (auto* table = qobject_cast<QTextTable*>(frame))
            for (int row = 0; row < table->rows(); ++row)
                for (int column = 0; column < table->columns(); ++column) {
                    const QTextTableCell cell = table->cellAt(row, column);
                    for (auto it = cell.begin(); !it.atEnd(); ++it)
                        if (it.currentBlock().isValid())
                            rowOf.insert(it.currentBlock().blockNumber(), {table, row});
                }
    QTextTable* lastTable = nullptr;
    int lastRow = -1;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QRectF r = layout->blockBoundingRect(block);
        const auto inTable = rowOf.constFind(block.blockNumber());
        if (inTable != rowOf.constEnd()) {
            const auto [table, row] = *inTable;
            if (table == lastTable && row == lastRow) {
                spans.last().top = qMin(spans.last().top, r.top() - padding);
                spans.last().bottom = qMax(spans.last().bottom, r.bottom() + padding);
                continue;
            }
            lastTable = table;
            lastRow = row;
            spans.append({r.top() - padding, r.bottom() + padding, false});
            continue;
        }
        lastTable = nullptr;
        spans.append({r.top(), r.bottom(), block.blockFormat().headingLevel() > 0});
    }
    // A heading holds on to what follows it (which may be another heading).
    for (qsizetype i = spans.size() - 2; i >= 0; --i)
        if (spans[i].heading)
            spans[i].bottom = qMax(spans[i].bottom, spans[i + 1].bottom);

    const qreal height = layout->documentSize().height();
    QList<QPair<qreal, qreal>> pages;
    qreal top = 0;
    qsizetype first = 0;
    while (top < height - 0.5) {
        qreal end = top + pageHeight;
        // Move the end up to the start of the first span it would cut; a span taller than a
        // page is cut where the page ends. Neighbouring rows share their padding, so a span
        // that reaches less than a padding past the end is not cut by it.
        // The spans are in reading order: only those starting on this page are looked at.
        while (first < spans.size() && spans[first].top <= top + 0.5)
            ++first;
        for (bool moved = true; moved && end < height;) {
            moved = false;
            for (qsizetype i = first; i < spans.size() && spans[i].top < end; ++i)
                if (spans[i].bottom > end + padding) {
                    end = spans[i].top;
                    moved = true;
                    break;
                }
        }
        pages.append({top, qMin(end, height)});
        top = end;
    }
    return pages;
}

} // namespace

int PlanDocument::print(QPagedPaintDevice* device) const
{
    auto doc = textDocument();
    doc->documentLayout()->setPaintDevice(device);
    const qreal dpi = device->logicalDpiY();
    const QSizeF page(device->width(), device->height());
    const qreal headerHeight = 0.45 * dpi, footerHeight = 0.4 * dpi;
    const QRectF body(0, headerHeight, page.width(), page.height() - headerHeight - footerHeight);
    // One long page; the pages are cut from it between rows and blocks.
    doc->setTextWidth(body.width());
    // The padding of the table cells (see tableOpen).
    const QList<QPair<qreal, qreal>> pages =
        pageSpans(*doc, body.height(), (m_compact ? 1 : 5) * dpi / 96.0);

    QPainter p(device);
    QFont small(QStringLiteral("DejaVu Sans"), 8);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device->newPage();
        p.setFont(small);
        p.setPen(QColor(0x55, 0x55, 0x55));
        const QRectF headerBox(0, 0, page.width(), headerHeight * 0.6);
        // The couple and the date give way, with an ellipsis, to the document's name.
        const QFontMetricsF metrics(small, device);
        const qreal kindWidth = metrics.horizontalAdvance(m_kind);
        p.drawText(headerBox, Qt::AlignRight | Qt::AlignBottom, m_kind);
        p.drawText(headerBox.adjusted(0, 0, -kindWidth - 0.25 * dpi, 0),
                   Qt::AlignLeft | Qt::AlignBottom,
                   metrics.elidedText(runningHeader(), Qt::ElideRight,
                                      headerBox.width() - kindWidth - 0.25 * dpi));
        p.setPen(QPen(QColor(0xc8, 0xd4, 0xe2), dpi / 96.0));
        p.drawLine(QPointF(0, headerHeight * 0.75), QPointF(page.width(), headerHeight * 0.75));
        p.setPen(QColor(0x55, 0x55, 0x55));
        p.drawText(QRectF(0, page.height() - footerHeight * 0.6, page.width(), footerHeight * 0.6),
                   Qt::AlignHCenter | Qt::AlignBottom,
                   QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages.size()));

        const auto [top, bottom] = pages[i];
        p.save();
        p.translate(body.left(), body.top() - top);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, top, body.width(), bottom - top);
        context.palette.setColor(QPalette::Text, Qt::black);
        p.setClipRect(context.clip);
        doc->documentLayout()->draw(&p, context);
        p.restore();
    }
    return int(pages.size());
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
