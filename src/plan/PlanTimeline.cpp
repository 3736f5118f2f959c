#include "PlanTimeline.h"

#include "plan/PlanFacts.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <limits>
#include <vector>

namespace
{
// Sizes in pixels at 96 per inch, multiplied by the drawing's unit.
constexpr qreal kAxis = 40;     // y of the line
constexpr qreal kFirstRow = 64; // y of the first row of labels
constexpr qreal kRow = 20;
constexpr qreal kBox = 16; // height of a label
constexpr qreal kGap = 4;  // between two labels of a row
constexpr qreal kFontPixels = 11;
constexpr int kMaxRows = 16;
constexpr qsizetype kLongestName = 200; // a label shows far less; the rest is never measured
constexpr int kSvgWidth = 680;          // the body's width in pixels on Letter and A4

const QColor kInk(0x22, 0x22, 0x22);
const QColor kMark(0x1f, 0x4e, 0x79);
const QColor kOutside(0xb0, 0x30, 0x20);
const QColor kBand(0xdc, 0xe6, 0xf0);
} // namespace

PlanTimeline::PlanTimeline(const EventPlan& plan) : m_drawn(!plan.Schedule.isEmpty())
{
    const PlanFacts::Evening evening = PlanFacts::eveningOf(plan.Times);
    m_start = evening.start;
    m_length = qMax(evening.length, 1);
    int number = 0;
    for (const ScheduledActivity& a : PlanFacts::eveningOrder(plan.Schedule, evening)) {
        ++number;
        if (!a.Time.isGiven())
            continue;
        const PlanFacts::Place place = PlanFacts::placeInEvening(evening, a.Time.value);
        const int offset = place == PlanFacts::Place::Within
                               ? PlanFacts::offsetInEvening(evening, a.Time.value)
                           : place == PlanFacts::Place::Before ? 0
                                                               : m_length;
        m_items.append({number, a.Name.trimmed().left(kLongestName), offset,
                        place != PlanFacts::Place::Within});
    }
}

PlanTimeline::Drawing PlanTimeline::layout(qreal width, const QPaintDevice* device) const
{
    Drawing d;
    const qreal u = d.unit = device ? device->logicalDpiY() / 96.0 : 1.0;
    width = qMax(width, 240 * u);
    d.font = QFont(QStringLiteral("DejaVu Sans"));
    d.font.setPixelSize(qRound(kFontPixels * u));
    const QFontMetricsF metrics = device ? QFontMetricsF(d.font, device) : QFontMetricsF(d.font);
    d.left = 30 * u;
    d.right = width - 30 * u;
    d.axis = kAxis * u;
    auto xAt = [&](int offset) { return d.left + (d.right - d.left) * offset / m_length; };

    // Every hour marked, or every second, third... hour where their times would touch.
    const qreal perHour = (d.right - d.left) * 3600 / m_length;
    const qreal hourWidth = metrics.horizontalAdvance(QStringLiteral("12:00 PM")) + 12 * u;
    int step = 12 * 3600;
    for (const int hours : {1, 2, 3, 4, 6})
        if (perHour * hours >= hourWidth) {
            step = hours * 3600;
            break;
        }
    for (int offset = (step - m_start % step) % step; offset <= m_length; offset += step) {
        const qreal x = xAt(offset);
        const QString text = PlanFacts::timeOfDayText((m_start + offset) % PlanFacts::kDay);
        const qreal w = metrics.horizontalAdvance(text);
        d.hours.append({x, qBound(qreal(0), x - w / 2, width - w), text});
    }

    // A mark for each place on the line (activities at one time share it).
    for (const Item& item : m_items) {
        const qreal x = xAt(item.offset);
        if (d.dots.isEmpty() || qAbs(d.dots.last().first - x) >= 0.5 * u ||
            d.dots.last().second != item.outside)
            d.dots.append({x, item.outside});
    }

    // The labels: activities closer than `together` share one; each label takes the first
    // row where it fits, with its name (at most `longest` wide) or else with its number
    // alone. Where the rows are full, the names are shortened, then left out, and then
    // activities are taken together over twice the distance each time, until all fit.
    const qreal baselineInBox = (kBox * u + metrics.ascent() - metrics.descent()) / 2;
    int rowsUsed = 1;
    for (int round = 0;; ++round) {
        constexpr qreal kLongest[] = {0.22, 0.16, 0.11, 0};
        const qreal longest = kLongest[qMin(round, 3)] * width;
        const qreal together = 1.5 * u * (1 << qMax(0, round - 3));
        std::vector<qreal> rowEnds(kMaxRows, -std::numeric_limits<qreal>::max());
        d.labels.clear();
        rowsUsed = 1;
        bool fits = true;
        for (qsizetype i = 0; i < m_items.size() && fits;) {
            const Item& first = m_items[i];
            const qreal x = xAt(first.offset);
            qsizetype last = i;
            while (last + 1 < m_items.size() && xAt(m_items[last + 1].offset) - x <= together)
                ++last;
            QStringList candidates;
            if (last == i) {
                const QString number = QString::number(first.number) + QLatin1Char(' ');
                const QString name =
                    longest > 0 ? metrics.elidedText(first.name, Qt::ElideRight,
                                                     longest - metrics.horizontalAdvance(number))
                                : QString();
                if (!name.isEmpty())
                    candidates << number + PlanFacts::isolated(name);
                candidates << QString::number(first.number);
            } else {
                candidates
                    << QStringLiteral("%1\u2013%2").arg(first.number).arg(m_items[last].number);
            }
            fits = false;
            for (const QString& text : candidates) {
                const qreal w = metrics.horizontalAdvance(text) + 9 * u;
                const qreal x0 = qBound(2 * u, x - 3 * u, width - w - 2 * u);
                for (int r = 0; r < kMaxRows && !fits; ++r)
                    if (rowEnds[r] + kGap * u <= x0) {
                        const QRectF box(x0, (kFirstRow + r * kRow) * u, w, kBox * u);
                        d.labels.append({x, box, box.top() + baselineInBox, text, first.outside});
                        rowEnds[r] = box.right();
                        rowsUsed = qMax(rowsUsed, r + 1);
                        fits = true;
                    }
                if (fits)
                    break;
            }
            i = last + 1;
        }
        if (fits || together > width)
            break;
    }
    d.size = QSizeF(width, (kFirstRow + rowsUsed * kRow + 6) * u);
    return d;
}

void PlanTimeline::paint(QPainter* p, const QPointF& topLeft, const Drawing& d) const
{
    const qreal u = d.unit;
    p->save();
    p->translate(topLeft);
    p->setRenderHint(QPainter::Antialiasing);
    p->setFont(d.font);
    p->fillRect(QRectF(d.left, d.axis - 5 * u, d.right - d.left, 10 * u), kBand);
    p->setPen(QPen(kInk, 1.2 * u));
    p->drawLine(QPointF(d.left, d.axis), QPointF(d.right, d.axis));
    for (const Hour& h : d.hours) {
        p->drawLine(QPointF(h.x, d.axis - 8 * u), QPointF(h.x, d.axis + 8 * u));
        p->drawText(QPointF(h.textX, d.axis - 14 * u), h.text);
    }
    p->setPen(QPen(kInk, 2.4 * u));
    for (const qreal x : {d.left, d.right})
        p->drawLine(QPointF(x, d.axis - 10 * u), QPointF(x, d.axis + 10 * u));

    // Stems first, then the labels on white, so a stem never runs through a label's text.
    for (const Label& l : d.labels) {
        p->setPen(QPen(l.outside ? kOutside : kMark, u));
        p->drawLine(QPointF(l.x, d.axis), QPointF(l.x, l.box.top()));
    }
    p->setPen(Qt::NoPen);
    for (const auto& [x, outside] : d.dots) {
        p->setBrush(outside ? kOutside : kMark);
        p->drawEllipse(QPointF(x, d.axis), 3.5 * u, 3.5 * u);
    }
    p->setBrush(Qt::NoBrush);
    for (const Label& l : d.labels) {
        p->fillRect(l.box, Qt::white);
        p->setPen(QPen(l.outside ? kOutside : kMark, u));
        p->drawLine(l.box.topLeft() + QPointF(3 * u, 0), l.box.bottomLeft() + QPointF(3 * u, 0));
        p->setPen(kInk);
        p->drawText(QPointF(l.box.left() + 6 * u, l.baseline), l.text);
    }
    p->restore();
}

QString PlanTimeline::svg(const QString& description) const
{
    const Drawing d = layout(kSvgWidth, nullptr);
    const auto n = [](qreal v) { return QString::number(v, 'f', 1); };
    const auto line = [&](QPointF a, QPointF b, const QColor& colour, qreal width) {
        return QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" "
                              "stroke-width=\"%6\"/>")
            .arg(n(a.x()), n(a.y()), n(b.x()), n(b.y()), colour.name(), n(width));
    };
    const auto rect = [&](const QRectF& r, const QColor& colour) {
        return QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>")
            .arg(n(r.x()), n(r.y()), n(r.width()), n(r.height()), colour.name());
    };
    // A name keeps its isolates as character references: SVG text has no <bdi>.
    const auto text = [&](qreal x, qreal y, const QString& t) {
        return QStringLiteral("<text x=\"%1\" y=\"%2\">%3</text>")
            .arg(n(x), n(y),
                 t.toHtmlEscaped()
                     .replace(QChar(0x2068), QLatin1String("&#x2068;"))
                     .replace(QChar(0x2069), QLatin1String("&#x2069;")));
    };
    QString s = QStringLiteral("<svg class=\"timeline\" xmlns=\"http://www.w3.org/2000/svg\" "
                               "viewBox=\"0 0 %1 %2\" width=\"%1\" height=\"%2\" role=\"img\" "
                               "aria-label=\"%3\" font-family=\"'DejaVu Sans', Arial, "
                               "sans-serif\" font-size=\"%4\" fill=\"%5\">")
                    .arg(n(d.size.width()), n(d.size.height()), description.toHtmlEscaped(),
                         n(kFontPixels), kInk.name());
    s += rect(QRectF(d.left, d.axis - 5, d.right - d.left, 10), kBand);
    s += line({d.left, d.axis}, {d.right, d.axis}, kInk, 1.2);
    for (const Hour& h : d.hours)
        s += line({h.x, d.axis - 8}, {h.x, d.axis + 8}, kInk, 1.2) +
             text(h.textX, d.axis - 14, h.text);
    for (const qreal x : {d.left, d.right})
        s += line({x, d.axis - 10}, {x, d.axis + 10}, kInk, 2.4);
    for (const Label& l : d.labels)
        s += line({l.x, d.axis}, {l.x, l.box.top()}, l.outside ? kOutside : kMark, 1);
    for (const auto& [x, outside] : d.dots)
        s += QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"3.5\" fill=\"%3\"/>")
                 .arg(n(x), n(d.axis), (outside ? kOutside : kMark).name());
    for (const Label& l : d.labels)
        s += rect(l.box, Qt::white) +
             line(l.box.topLeft() + QPointF(3, 0), l.box.bottomLeft() + QPointF(3, 0),
                  l.outside ? kOutside : kMark, 1) +
             text(l.box.left() + 6, l.baseline, l.text);
    return s + QStringLiteral("</svg>");
}
