#include "frmFacInfo.h"

#include "ui_frmFacInfo.h"

#include "pages/CaretAtEnd.h"
#include "wizard/PageStyle.h"

namespace
{
constexpr int kNameLimit = 100;
constexpr int kContactLimit = 100;
constexpr int kPhoneLimit = 25;
} // namespace

frmFacInfo::frmFacInfo(WizardState& state, QWidget* owner)
    : PageDialog(state, owner), m_ui(std::make_unique<Ui::frmFacInfo>())
{
    m_ui->setupUi(this);
    m_ui->txtPhoneInfo->setText(QStringLiteral("office"));

    connect(m_ui->txtName, &QLineEdit::textChanged, this,
            [this](const QString& name) { m_ui->cmdOK->setEnabled(!name.isEmpty()); });
    // The caret follows every change of the kind to its end.
    connect(m_ui->txtPhoneInfo, &QLineEdit::textChanged, this,
            [this] { m_ui->txtPhoneInfo->end(false); });
    connect(m_ui->cmdOK, &QPushButton::clicked, this, [this] { answer(true); });
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, [this] { answer(false); });
    PageStyle::answerButtons(m_ui->cmdOK, m_ui->cmdCancel);
}

frmFacInfo::~frmFacInfo() = default;

void frmFacInfo::fill(const FacilityRecord& facility)
{
    setLimitedText(m_ui->txtName, kNameLimit, facility.Name);
    MultiLine::show(m_ui->txtAddress, facility.Address);
    setLimitedText(m_ui->txtContact, kContactLimit, facility.Contact);
    setLimitedText(m_ui->txtPhone, kPhoneLimit, facility.Number);
    setLimitedText(m_ui->txtPhoneInfo, kPhoneLimit, facility.NumberKind);
    MultiLine::show(m_ui->txtDirections, facility.Directions);
    m_ui->txtName->setFocus();
}

std::optional<FacilityRecord> frmFacInfo::edit(const QString& caption,
                                               const FacilityRecord& facility)
{
    setWindowTitle(caption);
    fill(facility);
    if (!showModal())
        return std::nullopt;
    FacilityRecord edited = facility;
    readInto(edited);
    return edited;
}

void frmFacInfo::readInto(FacilityRecord& facility) const
{
    facility.Name = m_ui->txtName->text();
    facility.Address = MultiLine::toStored(m_ui->txtAddress);
    facility.Contact = m_ui->txtContact->text();
    facility.Number = m_ui->txtPhone->text();
    facility.NumberKind = m_ui->txtPhoneInfo->text();
    facility.Directions = MultiLine::toStored(m_ui->txtDirections);
}
