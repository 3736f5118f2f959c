#include "FrmInput.h"

#include "ui_FrmInput.h"

#include "platform/PathMap.h"
#include "store/SqlConnection.h"

#include <QSqlQuery>

#include <algorithm>

FrmInput::FrmInput(WizardState& state, QWidget* owner)
    : PageDialog(state, owner), m_ui(std::make_unique<Ui::FrmInput>())
{
    m_ui->setupUi(this);
    // The first column of the list is 2600 twips wide.
    m_ui->ComboUser1->setMinimumWidth(logicalDpiX() * 2600 / 1440);
    connect(m_ui->CmdOK, &QPushButton::clicked, this, [this] { answer(1); });
    connect(m_ui->CmdCancel, &QPushButton::clicked, this, [this] { answer(0); });
}

FrmInput::~FrmInput() = default;

QString FrmInput::databaseFile()
{
    return PathMap::musicDatabase();
}

void FrmInput::FillDropDowns(qint16& Index)
{
    m_ui->ComboUser1->clear();
    m_statement.clear();
    if (Index < 1 || Index > 9)
        return;
    const QString field = QStringLiteral("udf%1").arg(int(Index), 2, 10, QLatin1Char('0'));
    m_statement = QStringLiteral("SELECT ") + field + QStringLiteral(" FROM music WHERE ") + field +
                  QStringLiteral(" > ' ' GROUP BY ") + field + QStringLiteral(" ORDER BY ") + field;

    if (!m_dataFill || !m_dataFill->isOpen())
        m_dataFill = std::make_unique<SqlConnection>(databaseFile(), SqlConnection::ReadOnly);
    if (!m_dataFill->isOpen())
        return;
    QSqlQuery q(m_dataFill->database());
    q.setForwardOnly(true);
    if (!q.exec(m_statement))
        return;
    QStringList list;
    while (q.next()) {
        const QString v = q.value(0).toString();
        // Blanks only is no value, however many blanks there are.
        if (!v.trimmed().isEmpty())
            list << v;
    }
    // Sorted without regard to letter case, as the catalogue's texts always compared.
    std::stable_sort(list.begin(), list.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    m_ui->ComboUser1->addItems(list);
}

QStringList FrmInput::values() const
{
    QStringList list;
    for (int i = 0; i < m_ui->ComboUser1->count(); ++i)
        list << m_ui->ComboUser1->itemText(i);
    return list;
}

QString FrmInput::value() const
{
    return m_ui->ComboUser1->currentText();
}

void FrmInput::setFieldCaption(const QString& caption)
{
    m_ui->Label1->setText(caption);
}
