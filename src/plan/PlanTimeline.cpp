#include "PlanTimeline.h"

#include "plan/PlanFacts.h"

#include <QFontMetricsF>
#include <QPainter>

#include <vector>

namespace PlanTimeline
{
namespace
{
constexpr int kAxis = 34;     // y of the line
constexpr int kFirstRow = 58; // y of the first row of labels
constexpr int kRow = 20;
constexpr int kMaxRows = 12;
const QColor kInk(0x22, 0x22, 0x22);
const QColor kMark(0x1f, 0x4e, 0x79);
const QColor kOutside(0xb0, 0x30, 0x20);
} // namespace

QImage draw(const EventPlan& plan, int width, qreal scale)
{
    const PlanFacts::Evening evening = PlanFacts::eveningOf(plan.Times);
    const QList<ScheduledActivity> ordered = PlanFacts::eveningOrder(plan.Schedule, evening);
    const qreal left = 30, right = width - 30;
    auto xAt = [&](int offset) { return left + (right - left) * offset / evening.length; };

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    const QFontMetricsF metrics(font);

    // Place the labels first, so the picture's height is known before drawing.
    struct Label {
        qreal x;
        QRectF box;
        QString text;
        bool outside;
    };
    std::vector<Label> labels;
    std::vector<qreal> rowEnds(kMaxRows, -1e9);
    int rowsUsed = 1;
    int number = 0;
    for (const ScheduledActivity& a : ordered) {
        ++number;
        if (!a.Time.isGiven())
            continue;
        const PlanFacts::Place place = PlanFacts::placeInEvening(evening, a.Time.value);
        const int offset = place == PlanFacts::Place::Within
                               ? PlanFacts::offsetInEvening(evening, a.Time.value)
                           : place == PlanFacts::Place::Before ? 0
                                                               : evening.length;
        const qreal x = xAt(offset);
        QString text = QStringLiteral("%1 %2").arg(number).arg(a.Name.trimmed());
        text = metrics.elidedText(text, Qt::ElideRight, 150);
        int row = -1;
        QRectF box;
        for (const QString& candidate : {text, QString::number(number)}) {
            const qreal w = metrics.horizontalAdvance(candidate) + 9;
            const qreal x0 = qBound(qreal(2), x - 3, qreal(width) - w - 2);
            for (int r = 0; r < kMaxRows && row < 0; ++r)
                if (rowEnds[r] + 4 <= x0) {
                    row = r;
                    box = QRectF(x0, kFirstRow + r * kRow, w, kRow - 4);
                    text = candidate;
                }
            if (row >= 0)
                break;
        }
        if (row < 0) { // crowded beyond every row: the number on the last row
            row = kMaxRows - 1;
            text = QString::number(number);
            box = QRectF(x - 3, kFirstRow + row * kRow, metrics.horizontalAdvance(text) + 6,
                         kRow - 4);
        }
        rowEnds[row] = box.right();
        rowsUsed = qMax(rowsUsed, row + 1);
        labels.push_back({x, box, text, place != PlanFacts::Place::Within});
    }

    const int height = kFirstRow + rowsUsed * kRow + 6;
    QImage image(QSize(width, height) * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(font);

    // The evening as a band, with a mark at every hour (every second hour on a long one).
    p.fillRect(QRectF(left, kAxis - 5, right - left, 10), QColor(0xdc, 0xe6, 0xf0));
    p.setPen(QPen(kInk, 1.2));
    p.drawLine(QPointF(left, kAxis), QPointF(right, kAxis));
    const int step = evening.length > 8 * 3600 ? 7200 : 3600;
    const int firstHour = (step - evening.start % step) % step;
    for (int offset = firstHour; offset <= evening.length; offset += step) {
        const qreal x = xAt(offset);
        p.drawLine(QPointF(x, kAxis - 8), QPointF(x, kAxis + 8));
        const QString hour = PlanFacts::timeOfDayText((evening.start + offset) % PlanFacts::kDay);
        const qreal w = metrics.horizontalAdvance(hour);
        p.drawText(QPointF(qBound(qreal(0), x - w / 2, width - w), kAxis - 14), hour);
    }
    for (const qreal x : {left, right}) {
        p.setPen(QPen(kInk, 2.4));
        p.drawLine(QPointF(x, kAxis - 10), QPointF(x, kAxis + 10));
    }

    // Stems first, then the labels on white, so a stem never runs through a label's text.
    for (const Label& l : labels) {
        const QColor colour = l.outside ? kOutside : kMark;
        p.setPen(QPen(colour, 1));
        p.drawLine(QPointF(l.x, kAxis), QPointF(l.x, l.box.top()));
        p.setBrush(colour);
        p.drawEllipse(QPointF(l.x, kAxis), 3.5, 3.5);
    }
    p.setBrush(Qt::NoBrush);
    for (const Label& l : labels) {
        p.fillRect(l.box, Qt::white);
        p.setPen(QPen(l.outside ? kOutside : kMark, 1));
        p.drawLine(l.box.topLeft() + QPointF(3, 0), l.box.bottomLeft() + QPointF(3, 0));
        p.setPen(kInk);
        p.drawText(l.box.adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, l.text);
    }
    return image;
}

} // namespace PlanTimeline
