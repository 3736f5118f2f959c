#pragma once

#include "TestSupport.h"

#include "app/ZelWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include <functional>

class KeyedItemStore;

// What the page and dialog tests share: a started wizard and the ways a user works a form.
namespace PageTest
{

// A wizard started on a fresh root with an empty catalogue; the files named in `media` are
// copied from the project's data folder into the mapped data folder first.
struct Started {
    TestRoot root;
    std::unique_ptr<ZelWizard> run = std::make_unique<ZelWizard>();
    ZelWizard& w = *run;
    explicit Started(const QStringList& media = {});
    // Ends this run as closing the program does (w is gone), so a next run may open the
    // event: one wizard per event folder.
    void endRun() { run.reset(); }
    // Loads the page at `index`, shows it and makes it the active window.
    WizardPage* show(int index);
    KeyedItemStore& items();
};

void click(QWidget* form, const QString& button);
// Replaces the text of a box as a user does: a one-line box by keys, a box of several
// lines whole.
void type(QWidget* form, const QString& box, const QString& text);
// The text of a box, label or date/time picker.
QString textOf(QWidget* form, const QString& name);
QStringList textsOf(QWidget* form, const QStringList& names);
// Clicks `button` on `form` and runs `act` in the modal dialog `dialog` it opens; a dialog
// still open afterwards (a check in `act` failed half way) is closed. False when that
// dialog did not open.
bool inDialog(QWidget* form, const QString& button, const QString& dialog,
              const std::function<void(QWidget*)>& act);
// Runs statements on the event database file through a connection of its own.
bool execEvent(const QStringList& statements);
// The texts of row `row` of a list, column by column.
QStringList rowTexts(const QTreeWidget* list, int row);
// The message boxes shown since the root was made, each as "title: text".
QStringList messagesShown(const TestRoot& root);
// What a screen reader is told about a widget: its accessible name and description.
QStringList readOut(QWidget* widget);
// Leaves a dialog by "escape", by "close" (the close box) or by clicking the button so named.
void leave(QWidget* dialog, const QString& how);
// The stored texts of several items of one table (null where missing).
QStringList storedItems(const QString& table, const QStringList& keys);

} // namespace PageTest
