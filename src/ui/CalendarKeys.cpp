#include "CalendarKeys.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

void CalendarKeys::install(QDateTimeEdit* box)
{
    box->installEventFilter(new CalendarKeys(box));
}

bool CalendarKeys::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QDateTimeEdit*>(watched);
    if (box && event->type() == QEvent::KeyPress && box->calendarPopup()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_F4 && mods == Qt::NoModifier) ||
            (key->key() == Qt::Key_Down && mods == Qt::AltModifier)) {
            openCalendar(box);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void CalendarKeys::openCalendar(QDateTimeEdit* box)
{
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    const QRect arrow = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                     QStyle::SC_ComboBoxArrow, box);
    const QPointF at = arrow.isValid() ? QPointF(arrow.center()) : QPointF(box->width() - 4, box->height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, box->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &press);
}
