#pragma once

#include <QObject>

class QDateTimeEdit;

// Alt+Down and F4 open the calendar of a date box, as they open a drop-down list, so the
// calendar is reached without the mouse. Lives as a child of its box.
class CalendarKeys : public QObject
{
    Q_OBJECT
  public:
    static void install(QDateTimeEdit* box);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using QObject::QObject;
    // The box opens its calendar when its arrow is pressed; the keys press it.
    static void openCalendar(QDateTimeEdit* box);
};
