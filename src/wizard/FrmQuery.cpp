#include "FrmQuery.h"

#include "ui_FrmQuery.h"

#include "wizard/WizardState.h"

FrmQuery::FrmQuery(WizardState& state, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::FrmQuery>()), m_state(state)
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, [this] {
        m_state.QueryAnswer = 1;
        hide();
    });
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, [this] {
        m_state.QueryAnswer = 0;
        hide();
    });
}

FrmQuery::~FrmQuery() = default;

void FrmQuery::setQuestion(const QString& text)
{
    m_ui->Label1->setText(text);
}

void FrmQuery::reject()
{
    m_state.QueryAnswer = 0;
    QDialog::reject();
}
