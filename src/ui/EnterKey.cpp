#include "EnterKey.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

void EnterKey::install()
{
    const QString name = QStringLiteral("enterKey");
    if (!qApp || qApp->findChild<EnterKey*>(name, Qt::FindDirectChildrenOnly))
        return;
    auto* filter = new EnterKey(qApp);
    filter->setObjectName(name);
    qApp->installEventFilter(filter);
}

bool EnterKey::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (button && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            button->window()->focusWidget() == button &&
            !button->isCheckable() && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
