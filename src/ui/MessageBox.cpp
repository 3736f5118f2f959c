#include "MessageBox.h"

#include <QApplication>

namespace MessageBox
{

static Handler& handler()
{
    static Handler h;
    return h;
}

void setHandler(Handler h)
{
    handler() = std::move(h);
}

QMessageBox::StandardButton show(const QString& text, const QString& title,
                                 QMessageBox::StandardButtons buttons, QMessageBox::Icon icon,
                                 QWidget* parent)
{
    const Request request{text, title, buttons, icon};
    if (handler())
        return handler()(request);

    QMessageBox box(icon, title, text, buttons, parent);
    // A message box must be seen over the busy pointer of whatever work raised it.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    if (busy)
        QApplication::restoreOverrideCursor();
    return answer;
}

} // namespace MessageBox
