#include "FrmQuery.h"

#include "ui_FrmQuery.h"

#include "wizard/PageStyle.h"

FrmQuery::FrmQuery(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::FrmQuery>())
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    PageStyle::answerButtons(m_ui->cmdOK, m_ui->cmdCancel);
}

FrmQuery::~FrmQuery() = default;

bool FrmQuery::ask(const QString& question, const QWidget* over)
{
    m_ui->Label1->setText(question);
    // The question has no owner, so by itself it would open in the middle of the screen.
    if (over) {
        adjustSize();
        move(over->frameGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    return exec() == QDialog::Accepted;
}
