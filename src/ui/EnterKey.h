#pragma once

#include <QObject>

// Enter and Return press the button that has the keyboard, in every window of the program,
// as Space does: a page has no default button, and a dialog's default button answers Enter
// only while the keyboard is in one of its boxes. Buttons that stay pressed (the category
// buttons, check boxes, option buttons) keep their own keys.
class EnterKey : public QObject
{
    Q_OBJECT
  public:
    // Watches the application's key presses; a second call does nothing.
    static void install();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using QObject::QObject;
};
