#include "PageDialog.h"

#include "wizard/WizardState.h"

#include <QCloseEvent>

PageDialog::PageDialog(WizardState& state, QWidget* owner) : QDialog(owner), m_state(state)
{
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void PageDialog::showModal()
{
    exec();
}

void PageDialog::answer(qint16 value)
{
    m_state.QueryAnswer = value;
    hide();
}

void PageDialog::reject()
{
    answer(0);
}

void PageDialog::closeEvent(QCloseEvent* event)
{
    m_state.QueryAnswer = 0;
    m_closed = true;
    QDialog::closeEvent(event);
}
