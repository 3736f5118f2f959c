#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

// The one way the program shows a message box. Tests install a handler that records
// what would have been shown and answers as the test chose.
namespace MessageBox
{

struct Request {
    QString text;
    QString title;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

using Handler = std::function<QMessageBox::StandardButton(const Request&)>;

// Shows the box modally (or hands it to the installed handler) and returns the button pressed.
QMessageBox::StandardButton show(const QString& text, const QString& title,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                 QMessageBox::Icon icon = QMessageBox::NoIcon,
                                 QWidget* parent = nullptr);

// Installs a handler in place of real boxes; an empty handler restores the real ones.
void setHandler(Handler handler);

} // namespace MessageBox
