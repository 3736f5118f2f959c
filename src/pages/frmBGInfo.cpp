#include "frmBGInfo.h"

#include "ui_frmBGInfo.h"

#include "pages/CaretAtEnd.h"
#include "sound/SayItBox.h"
#include "wizard/PageStyle.h"
#include "wizard/WizardState.h"

namespace
{
constexpr int kNameLimit = 200;
constexpr int kAgeLimit = 3;
constexpr int kPronounceLimit = 200;
constexpr int kPhoneLimit = 25;
constexpr int kEmailLimit = 100;
} // namespace

frmBGInfo::frmBGInfo(WizardState& state, QWidget* owner)
    : PageDialog(state, owner), m_ui(std::make_unique<Ui::frmBGInfo>())
{
    m_ui->setupUi(this);
    m_ui->txtPhoneInfo_0->setText(QStringLiteral("work"));
    m_ui->txtPhoneInfo_1->setText(QStringLiteral("home"));
    m_ui->txtPhoneInfo_2->setText(QStringLiteral("other"));
    for (QLineEdit* kind : {m_ui->txtPhoneInfo_0, m_ui->txtPhoneInfo_1, m_ui->txtPhoneInfo_2})
        CaretAtEnd::install(kind);

    // Save is available exactly while the name holds at least one character.
    connect(m_ui->txtName, &QLineEdit::textChanged, this,
            [this](const QString& name) { m_ui->cmdOK->setEnabled(!name.isEmpty()); });
    connect(m_ui->cmdOK, &QPushButton::clicked, this, [this] { answer(true); });
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, [this] { answer(false); });
    PageStyle::answerButtons(m_ui->cmdOK, m_ui->cmdCancel);
    m_ui->sayItBox->attach(state.Speaker, m_ui->txtPronounce, m_ui->txtName);
    m_ui->sayItBox->placeInTabOrderAfter(m_ui->cmdCancel);
}

frmBGInfo::~frmBGInfo() = default;

void frmBGInfo::fill(const PersonRecord& person)
{
    setLimitedText(m_ui->txtName, kNameLimit, person.Name);
    setLimitedText(m_ui->txtAge, kAgeLimit, person.Age);
    setLimitedText(m_ui->txtPronounce, kPronounceLimit, person.Pronunciation);
    MultiLine::show(m_ui->txtAddress, person.Address);
    setLimitedText(m_ui->txtPhone_0, kPhoneLimit, person.Phone1);
    setLimitedText(m_ui->txtPhone_1, kPhoneLimit, person.Phone2);
    setLimitedText(m_ui->txtPhone_2, kPhoneLimit, person.Phone3);
    setLimitedText(m_ui->txtPhoneInfo_0, kPhoneLimit, person.PhoneKind1);
    setLimitedText(m_ui->txtPhoneInfo_1, kPhoneLimit, person.PhoneKind2);
    setLimitedText(m_ui->txtPhoneInfo_2, kPhoneLimit, person.PhoneKind3);
    setLimitedText(m_ui->txtEmail, kEmailLimit, person.Email);
    m_ui->sayItBox->setVoice(person.Voice);
    // Each opening starts in the name box.
    m_ui->txtName->setFocus();
}

std::optional<PersonRecord> frmBGInfo::edit(const QString& caption, const PersonRecord& person)
{
    setWindowTitle(caption);
    fill(person);
    if (!showModal())
        return std::nullopt;
    PersonRecord edited = person;
    readInto(edited);
    return edited;
}

void frmBGInfo::readInto(PersonRecord& person) const
{
    person.Name = m_ui->txtName->text();
    person.Age = m_ui->txtAge->text();
    person.Pronunciation = m_ui->txtPronounce->text();
    person.Address = MultiLine::toStored(m_ui->txtAddress);
    person.Phone1 = m_ui->txtPhone_0->text();
    person.Phone2 = m_ui->txtPhone_1->text();
    person.Phone3 = m_ui->txtPhone_2->text();
    person.PhoneKind1 = m_ui->txtPhoneInfo_0->text();
    person.PhoneKind2 = m_ui->txtPhoneInfo_1->text();
    person.PhoneKind3 = m_ui->txtPhoneInfo_2->text();
    person.Email = m_ui->txtEmail->text();
    person.Voice = m_ui->sayItBox->voice();
}
