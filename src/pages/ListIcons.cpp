#include "ListIcons.h"

#include <QPainter>
#include <QPixmap>

namespace
{

// A round green or red badge with a white plus or minus, drawn at 16 and 32 pixels.
QIcon badge(const QColor& colour, bool plus)
{
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(colour.darker(140));
        p.setBrush(colour);
        const qreal m = size / 16.0;
        p.drawEllipse(QRectF(0.5 * m, 0.5 * m, size - m, size - m));
        p.setPen(QPen(Qt::white, 2.2 * m, Qt::SolidLine, Qt::RoundCap));
        const qreal c = size / 2.0;
        const qreal arm = 4 * m;
        p.drawLine(QPointF(c - arm, c), QPointF(c + arm, c));
        if (plus)
            p.drawLine(QPointF(c, c - arm), QPointF(c, c + arm));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace

namespace ListIcons
{

QIcon add()
{
    return badge(QColor(46, 139, 87), true);
}
QIcon remove()
{
    return badge(QColor(190, 50, 50), false);
}

} // namespace ListIcons
