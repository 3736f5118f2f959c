#include "PageTest.h"

#include "platform/PathMap.h"
#include "store/SqlConnection.h"
#include "wizard/WizardPage.h"

#include <QAccessible>
#include <QApplication>
#include <QDateTimeEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

namespace PageTest
{

Started::Started(const QStringList& media)
{
    root.writeCatalogue();
    const QString source = qEnvironmentVariable("ZEL_SOURCE_DIR") + QStringLiteral("/data/");
    for (const QString& f : media)
        if (!QFile::copy(source + f, root.mediaFolder() + f))
            qFatal("cannot copy %s", qPrintable(source + f));
    if (!w.start())
        qFatal("the wizard did not start");
}

WizardPage* Started::show(int index)
{
    WizardPage* p = w.page(index);
    p->show();
    QApplication::setActiveWindow(p);
    return p;
}

KeyedItemStore& Started::items()
{
    return w.items();
}

void click(QWidget* form, const QString& button)
{
    child<QPushButton>(form, button)->click();
}

void type(QWidget* form, const QString& box, const QString& text)
{
    if (auto* memo = form->findChild<QPlainTextEdit*>(box)) {
        memo->setPlainText(text);
        return;
    }
    auto* edit = child<QLineEdit>(form, box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

QString textOf(QWidget* form, const QString& name)
{
    if (auto* memo = form->findChild<QPlainTextEdit*>(name))
        return memo->toPlainText();
    if (auto* label = form->findChild<QLabel*>(name))
        return label->text();
    if (auto* picker = form->findChild<QDateTimeEdit*>(name))
        return picker->text();
    return child<QLineEdit>(form, name)->text();
}

QStringList textsOf(QWidget* form, const QStringList& names)
{
    QStringList texts;
    for (const QString& n : names)
        texts << textOf(form, n);
    return texts;
}

bool inDialog(QWidget* form, const QString& button, const QString& dialog,
              const std::function<void(QWidget*)>& act)
{
    bool seen = false;
    whenModal(dialog, [&](QWidget* dlg) {
        seen = true;
        act(dlg);
        if (dlg->isVisible())
            dlg->close();
    });
    click(form, button);
    if (!seen)
        cancelModalWaits();
    return seen;
}

bool execEvent(const QStringList& statements)
{
    SqlConnection conn(PathMap::eventDatabase(), SqlConnection::ReadWrite);
    QSqlQuery q(conn.database());
    for (const QString& s : statements)
        if (!q.exec(s))
            return false;
    return true;
}

QStringList rowTexts(const QTreeWidget* list, int row)
{
    QStringList t;
    for (int c = 0; c < list->columnCount(); ++c)
        t << list->topLevelItem(row)->text(c);
    return t;
}

QStringList messagesShown(const TestRoot& root)
{
    QStringList shown;
    for (const MessageBox::Request& m : root.messages)
        shown << m.title + QStringLiteral(": ") + m.text;
    return shown;
}

QStringList readOut(QWidget* widget)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
    return a ? QStringList{a->text(QAccessible::Name), a->text(QAccessible::Description)}
             : QStringList{};
}

void leave(QWidget* dialog, const QString& how)
{
    if (how == QStringLiteral("escape"))
        QTest::keyClick(dialog, Qt::Key_Escape);
    else if (how == QStringLiteral("close"))
        dialog->close();
    else
        click(dialog, how);
}

QStringList storedItems(const QString& table, const QStringList& keys)
{
    QStringList values;
    for (const QString& k : keys)
        values << storedItem(table, k);
    return values;
}

} // namespace PageTest
