#include "PlanTable.h"

#include "plan/PlanFacts.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace
{
// The colours of the document's tables.
constexpr QRgb kText = 0x222222, kGrey = 0x555555, kHeadBack = 0x1f4e79, kShade = 0xeef3f8;

// Longer lines than this are wider than any column: they are not measured.
constexpr qsizetype kMeasured = 200;
} // namespace

QString PlanTable::cellText(const QString& text, qsizetype longest)
{
    QString out = PlanFacts::printable(text, longest);
    out.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return out;
}

PlanTable::PlanTable(const PlanBlock& block, bool compact, qsizetype longest, qsizetype rows)
    : m_padding(compact ? 1 : 5)
{
    const QList<QStringList> shown = block.rows.first(qBound<qsizetype>(0, rows, block.rows.size()));
    auto cell = [&](const QString& text, Style style = Body, bool unbroken = false) {
        return Cell{{Part{cellText(text, longest), style}}, unbroken};
    };
    switch (block.kind) {
    case PlanBlock::Names:
        m_percent = {40, 0};
        for (const QStringList& r : shown) {
            Cell name = cell(r[0], Name);
            name.parts.append({cellText(r[1], longest), Role});
            if (!r.value(3).isEmpty())
                name.parts.append({QStringLiteral("\u266B recorded in their own voice"), Role});
            m_rows.append({{name, cell(r[2].isEmpty() ? QStringLiteral("\u2014") : r[2], Say)}});
        }
        break;
    case PlanBlock::Findings:
        m_percent = {12, 0, 18};
        for (const QStringList& r : shown) {
            const QString severity = r[0].toLower();
            const Style style = severity == QLatin1String("problem")  ? Problem
                                : severity == QLatin1String("advice") ? Advice
                                                                      : Body;
            m_rows.append({{cell(r[0], style), cell(r[1]), cell(r[2], Label)}});
        }
        break;
    default: {
        // Row numbers, times and lengths never break; their columns take only the room
        // they need.
        QList<bool> unbroken;
        for (const QString& h : block.header) {
            m_percent.append(0);
            unbroken.append(h == QLatin1String("#") || h == QLatin1String("Time") ||
                            h == QLatin1String("Length"));
        }
        if (!block.widths.isEmpty())
            m_percent = block.widths;
        m_header = !block.header.isEmpty();
        if (m_header) {
            Row head{{}, false, true};
            for (const QString& h : block.header)
                head.cells.append(cell(h, Head));
            m_rows.append(head);
        }
        for (qsizetype i = 0; i < shown.size(); ++i) {
            Row row{{}, i % 2 == 1, false};
            for (qsizetype c = 0; c < shown[i].size(); ++c)
                row.cells.append(cell(shown[i][c], Body, unbroken.value(c)));
            m_rows.append(row);
        }
        break;
    }
    }
    m_percent.resize(std::max<qsizetype>(m_percent.size(), m_rows.isEmpty() ? 0 : m_rows[0].cells.size()));
}

void PlanTable::layout(qreal width, const QPaintDevice* device, const QFont& font)
{
    if (width == m_width && device == m_device)
        return;
    m_width = width;
    m_device = device;
    m_dpi = device ? device->logicalDpiY() : 96;
    const qreal base = font.pointSizeF();
    const bool compact = m_padding < 5;
    for (int s = 0; s < StyleCount; ++s) {
        QFont f(font);
        f.setBold(s == Head || s == Name || s == Problem || s == Advice || (s == Label && compact));
        if (s == Name || s == Role || s == Say)
            f.setPointSizeF(s == Name ? 12 : s == Role ? 9 : 17);
        else
            f.setPointSizeF(base);
        m_fonts[s] = device ? QFont(f, device) : f;
    }
    columnWidths(width);

    const qreal pad = m_padding * m_dpi / 96.0;
    // Above and below the text together, as the document's tables round them.
    const qreal padding = std::floor(2 * pad);
    m_tops.clear();
    m_tops.reserve(m_rows.size() + 1);
    qreal y = 0;
    QTextLayout layout;
    for (const Row& row : m_rows) {
        m_tops.append(y);
        qreal tallest = 0;
        for (qsizetype c = 0; c < row.cells.size() && c < m_columns.size(); ++c) {
            qreal h = 0;
            for (const Part& part : row.cells[c].parts)
                h += setLines(layout, part, row.cells[c].unbroken, m_columns[c] - 2 * pad);
            tallest = std::max(tallest, h);
        }
        y += tallest + padding;
    }
    m_tops.append(y);
}

qreal PlanTable::setLines(QTextLayout& layout, const Part& part, bool unbroken, qreal width) const
{
    layout.setFont(m_fonts[part.style]);
    layout.setText(part.text);
    QTextOption option;
    option.setWrapMode(unbroken ? QTextOption::NoWrap : QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max<qreal>(width, 1));
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return y;
}

// Columns with a share of the width get it; the others share what is left after their
// texts: each its texts' width when all fit, else at least its longest word and the rest in
// proportion to how much more its texts would take.
void PlanTable::columnWidths(qreal width)
{
    const qsizetype count = m_percent.size();
    const qreal pad = 2 * m_padding * m_dpi / 96.0;
    QList<qreal> natural(count, pad), least(count, pad);
    QList<bool> unbroken(count, false);
    QFontMetricsF metrics[StyleCount] = {
        {m_fonts[0], m_device}, {m_fonts[1], m_device}, {m_fonts[2], m_device},
        {m_fonts[3], m_device}, {m_fonts[4], m_device}, {m_fonts[5], m_device},
        {m_fonts[6], m_device}, {m_fonts[7], m_device}};
    qreal room = width;
    for (qsizetype c = 0; c < count; ++c)
        room -= m_percent[c] * width / 100;
    for (const Row& row : m_rows)
        for (qsizetype c = 0; c < row.cells.size() && c < count; ++c) {
            if (m_percent[c] > 0)
                continue;
            for (const Part& part : row.cells[c].parts) {
                const QFontMetricsF& m = metrics[part.style];
                // The widest line and the longest word (in characters) of the part.
                qsizetype lineStart = 0, wordStart = 0, longestAt = 0, longest = 0;
                const QString& t = part.text;
                for (qsizetype i = 0; i <= t.size(); ++i) {
                    const bool lineEnd = i == t.size() || t[i] == QChar::LineSeparator;
                    if (lineEnd || t[i] == QLatin1Char(' ') || t[i] == QChar(0x200B) ||
                        t[i] == QLatin1Char('-')) {
                        if (i - wordStart > longest) {
                            longest = i - wordStart;
                            longestAt = wordStart;
                        }
                        wordStart = i + 1;
                    }
                    if (!lineEnd)
                        continue;
                    const qreal w = i - lineStart > kMeasured
                                        ? width
                                        : m.horizontalAdvance(t.mid(lineStart, i - lineStart));
                    natural[c] = std::max(natural[c], std::min(w, width) + pad);
                    lineStart = i + 1;
                }
                const qreal word = row.cells[c].unbroken ? natural[c] - pad
                                                         : m.horizontalAdvance(t.mid(longestAt, longest));
                least[c] = std::max(least[c], std::min(word, width) + pad);
                unbroken[c] = row.cells[c].unbroken;
            }
        }
    room = std::max<qreal>(room, 0);
    m_columns.clear();
    for (qsizetype c = 0; c < count; ++c)
        m_columns.append(m_percent[c] * width / 100);
    QList<qsizetype> open;
    qreal wants = 0;
    for (qsizetype c = 0; c < count; ++c)
        if (m_percent[c] == 0) {
            open.append(c);
            wants += natural[c];
        }
    if (wants <= room) {
        // All fit: the columns that never break keep their width, the others are widened in
        // proportion.
        qreal fixed = 0;
        for (const qsizetype c : open)
            fixed += unbroken[c] ? natural[c] : 0;
        for (const qsizetype c : open)
            m_columns[c] = unbroken[c] || fixed >= wants ? natural[c]
                                                         : natural[c] * (room - fixed) / (wants - fixed);
        return;
    }
    // Narrow columns keep their texts whole: in order of width, each whose texts take no more
    // than an even share of what is left.
    std::sort(open.begin(), open.end(), [&](qsizetype a, qsizetype b) { return natural[a] < natural[b]; });
    while (!open.isEmpty() && natural[open.first()] <= room / open.size()) {
        m_columns[open.first()] = natural[open.first()];
        room -= natural[open.first()];
        wants -= natural[open.takeFirst()];
    }
    // The wide ones get their longest words and share the rest in proportion to how much more
    // their texts would take; when not even the words fit, the columns that never break keep
    // theirs and the others share what is left.
    qreal needs = 0, kept = 0;
    for (const qsizetype c : open) {
        needs += least[c];
        kept += unbroken[c] ? least[c] : 0;
    }
    for (const qsizetype c : open)
        m_columns[c] = needs < room ? least[c] + (room - needs) * (natural[c] - least[c]) / (wants - needs)
                       : unbroken[c] ? least[c]
                                     : least[c] * std::max<qreal>(room - kept, 0) / (needs - kept);
}

void PlanTable::paint(QPainter* painter, const QPointF& at, qreal top, qreal bottom) const
{
    if (m_tops.size() < 2)
        return;
    const qreal pad = m_padding * m_dpi / 96.0;
    static const QColor colours[StyleCount] = {QColor(kText),  QColor(Qt::white), QColor(kText),
                                               QColor(kGrey),  QColor(kText),     QColor(0xa02010),
                                               QColor(0x8a5a00), QColor(kGrey)};
    // The first row that reaches below `top`.
    qsizetype r = std::upper_bound(m_tops.begin(), m_tops.end() - 1, top) - m_tops.begin() - 1;
    r = std::max<qsizetype>(r, 0);
    const QRectF band(at.x(), at.y() + top, m_width, bottom - top);
    painter->save();
    QTextLayout layout;
    for (; r + 1 < m_tops.size() && m_tops[r] < bottom; ++r) {
        const Row& row = m_rows[r];
        const QRectF box(at.x(), at.y() + m_tops[r], m_width, m_tops[r + 1] - m_tops[r]);
        if (row.head || row.shaded)
            painter->fillRect(box, QColor(row.head ? kHeadBack : kShade));
        qreal x = box.left();
        for (qsizetype c = 0; c < row.cells.size() && c < m_columns.size(); ++c) {
            qreal y = box.top() + std::floor(2 * pad) / 2;
            for (const Part& part : row.cells[c].parts) {
                const qreal h = setLines(layout, part, row.cells[c].unbroken, m_columns[c] - 2 * pad);
                if (y < band.bottom() && y + h > band.top()) {
                    painter->setPen(colours[part.style]);
                    layout.draw(painter, QPointF(x + pad, y), {}, band);
                }
                y += h;
            }
            x += m_columns[c];
        }
    }
    painter->restore();
}
