#include "FrmInput.h"

#include "ui_FrmInput.h"

#include "catalogue/UserFieldValues.h"
#include "platform/PathMap.h"
#include "ui/Twips.h"
#include "wizard/PageStyle.h"

FrmInput::FrmInput(WizardState& state, QWidget* owner)
    : PageDialog(state, owner), m_ui(std::make_unique<Ui::FrmInput>())
{
    m_ui->setupUi(this);
    // The first column of the list is 2600 twips wide.
    m_ui->ComboUser1->setMinimumWidth(Twips::pixels(this, 2600));
    connect(m_ui->CmdOK, &QPushButton::clicked, this, [this] { answer(true); });
    connect(m_ui->CmdCancel, &QPushButton::clicked, this, [this] { answer(false); });
    PageStyle::answerButtons(m_ui->CmdOK, m_ui->CmdCancel);
}

FrmInput::~FrmInput() = default;

QString FrmInput::databaseFile()
{
    return PathMap::musicDatabase();
}

void FrmInput::FillDropDowns(qint16& Index)
{
    m_ui->ComboUser1->clear();
    m_statement = UserFieldValues::statementFor(Index);
    if (!m_values)
        m_values = std::make_unique<UserFieldValues>(databaseFile());
    m_ui->ComboUser1->addItems(m_values->values(Index));
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

std::optional<QString> FrmInput::ask()
{
    if (!showModal())
        return std::nullopt;
    return value();
}

void FrmInput::setFieldCaption(const QString& caption)
{
    m_ui->Label1->setText(caption);
}
