#include "PageDialog.h"

#include "wizard/PageStyle.h"

#include <QCloseEvent>

PageDialog::PageDialog(WizardState& state, QWidget* owner) : QDialog(owner), m_state(state)
{
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

bool PageDialog::showModal()
{
    m_saved = false;
    exec();
    return m_saved;
}

void PageDialog::answer(bool saved)
{
    m_saved = saved;
    hide();
}

void PageDialog::reject()
{
    answer(false);
}

void PageDialog::closeEvent(QCloseEvent* event)
{
    m_saved = false;
    m_closed = true;
    QDialog::closeEvent(event);
}

void PageDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    PageStyle::fitToScreen(this);
    // At every opening the keyboard starts on the first input, its text selected, so that
    // what is typed at once lands there and replaces what the dialog kept.
    if (!event->spontaneous())
        PageStyle::focusSelected(PageStyle::firstInput(this, this));
}
