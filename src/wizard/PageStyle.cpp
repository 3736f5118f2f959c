#include "PageStyle.h"

#include <QFrame>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTextEdit>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>

namespace
{

// Clears the picture's background: the pixels close to the colour of its corner that are
// connected to its border become transparent.
QImage withoutBackground(const QImage& picture)
{
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    if (w == 0 || h == 0)
        return image;
    const QRgb corner = image.pixel(0, 0);
    const auto isBackground = [&](int x, int y) {
        const QRgb c = image.pixel(x, y);
        const int distance = qAbs(qRed(c) - qRed(corner)) + qAbs(qGreen(c) - qGreen(corner)) +
                             qAbs(qBlue(c) - qBlue(corner));
        // A compressed picture varies a little around its flat colour.
        return qAlpha(c) != 0 && distance <= 48;
    };
    QList<QPoint> todo;
    for (int x = 0; x < w; ++x)
        todo << QPoint(x, 0) << QPoint(x, h - 1);
    for (int y = 0; y < h; ++y)
        todo << QPoint(0, y) << QPoint(w - 1, y);
    while (!todo.isEmpty()) {
        const QPoint p = todo.takeLast();
        if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h || !isBackground(p.x(), p.y()))
            continue;
        image.setPixel(p, qRgba(0, 0, 0, 0));
        todo << p + QPoint(1, 0) << p - QPoint(1, 0) << p + QPoint(0, 1) << p - QPoint(0, 1);
    }
    return image;
}

// The layout, within `layout`, that holds `widget` itself.
QLayout* layoutHolding(QLayout* layout, QWidget* widget)
{
    if (!layout || layout->indexOf(widget) >= 0)
        return layout;
    for (int i = 0; i < layout->count(); ++i)
        if (QLayout* found = layoutHolding(layout->itemAt(i)->layout(), widget))
            return found;
    return nullptr;
}

} // namespace

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
    const QImage picture(file);
    if (picture.isNull()) {
        label->clear();
        return;
    }
    const int side = 64;
    const qreal ratio = label->devicePixelRatioF();
    QPixmap scaled = QPixmap::fromImage(withoutBackground(picture).scaled(
        QSize(side, side) * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    scaled.setDevicePixelRatio(ratio);
    label->setPixmap(scaled);
}

void answerButtons(QWidget* confirm, QWidget* cancel)
{
    QLayout* row = layoutHolding(confirm->parentWidget()->layout(), confirm);
    Q_ASSERT(row && row->indexOf(cancel) >= 0);
    if (auto* grid = qobject_cast<QGridLayout*>(row))
        grid->setHorizontalSpacing(kAnswerGap);
    else if (row)
        row->setSpacing(kAnswerGap);
}

void fitChars(QLineEdit* box, int chars)
{
    // As QLineEdit measures its own hint: the text, its margins, then the style's frame.
    const QFontMetrics fm(box->font());
    const QMargins text = box->textMargins();
    const QSize inner(fm.horizontalAdvance(QString(chars, QLatin1Char('W'))) + 2 * 2 + text.left() +
                          text.right(),
                      fm.height());
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth =
        box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    box->setFixedWidth(
        box->style()->sizeFromContents(QStyle::CT_LineEdit, &option, inner, box).width());
}

void fitToScreen(QWidget* window)
{
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    // Before its first showing a window has no frame yet; the style's title bar stands for
    // what the window manager adds.
    QSize frame = window->frameGeometry().size() - window->geometry().size();
    if (frame.height() <= 0)
        frame = QSize(0, window->style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const QSize room = screen->availableGeometry().size() - frame;
    const QSize fitted = window->size().boundedTo(room).expandedTo(window->minimumSizeHint());
    if (fitted != window->size())
        window->resize(fitted);
}

QWidget* firstInput(const QWidget* window, const QWidget* area)
{
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if (!area->isAncestorOf(w) || !(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() ||
            !w->isEnabled() || !w->isVisibleTo(window))
            continue;
        if (auto* text = qobject_cast<QTextEdit*>(w); text && text->isReadOnly())
            continue;
        if (auto* option = qobject_cast<QRadioButton*>(w); option && option->autoExclusive())
            for (QRadioButton* sibling :
                 w->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
                if (sibling->isChecked())
                    return sibling;
        return w;
    }
    return nullptr;
}

void focusSelected(QWidget* input)
{
    if (!input)
        return;
    input->setFocus(Qt::TabFocusReason);
    if (auto* box = qobject_cast<QLineEdit*>(input))
        box->selectAll();
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(input))
        spin->selectAll();
}

} // namespace PageStyle
