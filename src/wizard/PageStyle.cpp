#include "PageStyle.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>

namespace PageStyle
{

QFont tahoma(qreal pointSize, bool bold)
{
    QFont f;
    f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Verdana"),
                   QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

void banner(QFrame* frame)
{
    QPalette p = frame->palette();
    p.setColor(QPalette::Window, QColor(0xff, 0xfb, 0xf5));
    p.setColor(QPalette::WindowText, QColor(0x2b, 0x2f, 0x4a));
    frame->setPalette(p);
    frame->setAutoFillBackground(true);
}

void heading(QLabel* label)
{
    label->setFont(tahoma(15, true));
}

void subtitle(QLabel* label)
{
    label->setFont(tahoma(9.5));
}

QString shownText(const QString& caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i; // "&&" keeps the second; "&x" keeps the x
        else if (caption[i] == QLatin1Char('&'))
            continue;
        shown += caption[i];
    }
    return shown;
}

void logo(QLabel* label, const QString& file)
{
    const QPixmap picture(file);
    if (picture.isNull()) {
        label->clear();
        return;
    }
    const int side = 64;
    const qreal ratio = label->devicePixelRatioF();
    QPixmap scaled =
        picture.scaled(QSize(side, side) * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    label->setPixmap(scaled);
}

} // namespace PageStyle
