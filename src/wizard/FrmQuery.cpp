#include "FrmQuery.h"

#include "ui_FrmQuery.h"

FrmQuery::FrmQuery(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::FrmQuery>())
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

FrmQuery::~FrmQuery() = default;

bool FrmQuery::ask(const QString& question)
{
    m_ui->Label1->setText(question);
    return exec() == QDialog::Accepted;
}
