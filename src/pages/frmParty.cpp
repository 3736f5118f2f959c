#include "frmParty.h"

#include "ui_frmParty.h"

#include "sound/SayItBox.h"
#include "wizard/PageStyle.h"
#include "wizard/WizardState.h"

const QString frmParty::kMemberRoles = QStringLiteral(
    "Maid of Honor (not married)|Matron of Honor (married)|Bridesmaid|Ring Bearer|Flower Girl|"
    "Usher|Jr. Bridesmaid|Mother of Bride|Stepmother of Bride|Father of Bride|"
    "Stepfather of Bride|Mother of Groom|Stepmother of Groom|Father of Groom|"
    "Stepfather of Groom");

const QString frmParty::kEscortRoles = QStringLiteral(
    "Best Man|Maid of Honor (not married)|Matron of Honor (married)|Bridesmaid|Groomsman|"
    "Ring Bearer|Flower Girl|Usher|Jr. Bridesmaid|Jr. Groomsman|Mother of Bride|"
    "Stepmother of Bride|Father of Bride|Stepfather of Bride|Mother of Groom|"
    "Stepmother of Groom|Father of Groom|Stepfather of Groom");

frmParty::frmParty(WizardState& state, QWidget* owner)
    : PageDialog(state, owner), m_ui(std::make_unique<Ui::frmParty>())
{
    m_ui->setupUi(this);

    connect(m_ui->cbRole1, &QComboBox::currentIndexChanged, this,
            [this](int i) { pickRole(m_ui->cbRole1, m_ui->txtRole1, i); });
    connect(m_ui->cbRole1, &QComboBox::activated, this,
            [this](int i) { pickRole(m_ui->cbRole1, m_ui->txtRole1, i); });
    connect(m_ui->cbRole2, &QComboBox::currentIndexChanged, this,
            [this](int i) { pickRole(m_ui->cbRole2, m_ui->txtRole2, i); });
    connect(m_ui->cbRole2, &QComboBox::activated, this,
            [this](int i) { pickRole(m_ui->cbRole2, m_ui->txtRole2, i); });
    // Typing a role of one's own: no preset is shown as chosen any more.
    connect(m_ui->txtRole1, &QLineEdit::textEdited, this,
            [this] { m_ui->cbRole1->setCurrentIndex(-1); });
    connect(m_ui->txtRole2, &QLineEdit::textEdited, this,
            [this] { m_ui->cbRole2->setCurrentIndex(-1); });

    connect(m_ui->txtName1, &QLineEdit::textChanged, this, &frmParty::saveCheck);
    connect(m_ui->txtName2, &QLineEdit::textChanged, this, &frmParty::saveCheck);
    connect(m_ui->opEscort_0, &QRadioButton::clicked, this, [this] { setEscorted(true); });
    connect(m_ui->opEscort_1, &QRadioButton::clicked, this, [this] { setEscorted(false); });

    connect(m_ui->cmdOK, &QPushButton::clicked, this, [this] { answer(true); });
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, [this] { answer(false); });
    PageStyle::answerButtons(m_ui->cmdOK, m_ui->cmdCancel);
    m_ui->sayItBox_0->attach(state.Speaker, m_ui->txtPronoun1, m_ui->txtName1);
    m_ui->sayItBox_1->attach(state.Speaker, m_ui->txtPronoun2, m_ui->txtName2);
    m_ui->sayItBox_1->placeInTabOrderAfter(m_ui->sayItBox_0->placeInTabOrderAfter(m_ui->cmdCancel));

    formLoad();
}

frmParty::~frmParty() = default;

void frmParty::formLoad()
{
    // Each caption marks the letter that, with Alt, reaches its box.
    m_ui->lblField_0->hide();
    m_ui->lblField_1->setText(QStringLiteral("&Full Name:"));
    m_ui->lblField_2->setText(QStringLiteral("&Pronounced:"));
    m_ui->lblField_3->setText(QStringLiteral("&Role:"));
    m_ui->lblField_4->setText(QStringLiteral("F&ull Name:"));
    m_ui->lblField_5->setText(QStringLiteral("Pr&onounced:"));
    m_ui->lblField_6->setText(QStringLiteral("Ro&le:"));
    for (QLabel* l : {m_ui->lblField_2, m_ui->lblField_5}) {
        QFont f = l->font();
        f.setItalic(true);
        l->setFont(f);
    }

    m_ui->cbRole1->clear();
    m_ui->cbRole1->addItems(kMemberRoles.split(QLatin1Char('|')));
    m_ui->cbRole2->clear();
    m_ui->cbRole2->addItems(kEscortRoles.split(QLatin1Char('|')));
    // Selecting runs the picker rule: the boxes show "Maid of Honor" and "Best Man".
    m_ui->cbRole1->setCurrentIndex(-1);
    m_ui->cbRole1->setCurrentIndex(0);
    m_ui->cbRole2->setCurrentIndex(-1);
    m_ui->cbRole2->setCurrentIndex(0);

    m_ui->opEscort_0->setChecked(true);
    setEscorted(true);
}

QString frmParty::roleOf(const QString& entry)
{
    const qsizetype paren = entry.indexOf(QLatin1Char('('));
    if (paren < 0)
        return entry;
    // Drop the blank before the parenthesis and everything from it on.
    return entry.left(std::max<qsizetype>(0, paren - 1));
}

void frmParty::pickRole(QComboBox* picker, QLineEdit* box, int index)
{
    if (index < 0)
        return;
    box->setText(roleOf(picker->itemText(index)));
}

void frmParty::setEscorted(bool escorted)
{
    if (!escorted) {
        m_ui->txtName2->clear();
        m_ui->txtPronoun2->clear();
        m_ui->txtRole2->clear();
        m_ui->cbRole2->setCurrentIndex(-1);
        m_ui->sayItBox_1->setVoice({});
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_ui->txtName2, m_ui->txtPronoun2, m_ui->txtRole2, m_ui->cbRole2, m_ui->lblField_4,
             m_ui->lblField_5, m_ui->lblField_6, m_ui->sayItBox_1})
        w->setVisible(escorted);
    saveCheck();
}

void frmParty::saveCheck()
{
    const bool escorted = m_ui->opEscort_0->isChecked();
    m_ui->cmdOK->setEnabled(!m_ui->txtName1->text().isEmpty() &&
                            (!escorted || !m_ui->txtName2->text().isEmpty()));
}

std::optional<PartyMember> frmParty::ask()
{
    if (!showModal())
        return std::nullopt;
    return PartyMember{m_ui->txtName1->text(),         m_ui->txtRole1->text(),
                       m_ui->txtName2->text(),         m_ui->txtRole2->text(),
                       m_ui->txtPronoun1->text(),      m_ui->txtPronoun2->text(),
                       m_ui->sayItBox_0->voice(), m_ui->sayItBox_1->voice()};
}

frmParty::Entry frmParty::entry() const
{
    return {{m_ui->txtName1->text(), m_ui->txtRole1->text(), m_ui->txtName2->text(),
             m_ui->txtRole2->text(), m_ui->txtPronoun1->text(), m_ui->txtPronoun2->text(),
             m_ui->sayItBox_0->voice(), m_ui->sayItBox_1->voice()},
            m_ui->cbRole1->currentIndex(),
            m_ui->cbRole2->currentIndex(),
            m_ui->opEscort_0->isChecked()};
}

void frmParty::setEntry(const Entry& e)
{
    (e.escorted ? m_ui->opEscort_0 : m_ui->opEscort_1)->setChecked(true);
    setEscorted(e.escorted);
    {
        // The pickers show their entries without putting them into the role boxes.
        const QSignalBlocker b1(m_ui->cbRole1), b2(m_ui->cbRole2);
        m_ui->cbRole1->setCurrentIndex(e.role1);
        m_ui->cbRole2->setCurrentIndex(e.role2);
    }
    m_ui->txtName1->setText(e.member.Name);
    m_ui->txtRole1->setText(e.member.Role);
    m_ui->txtPronoun1->setText(e.member.Pronunciation);
    m_ui->txtName2->setText(e.member.Escort);
    m_ui->txtRole2->setText(e.member.EscortRole);
    m_ui->txtPronoun2->setText(e.member.EscortPronunciation);
    m_ui->sayItBox_0->setVoice(e.member.MemberVoice);
    m_ui->sayItBox_1->setVoice(e.member.EscortVoice);
}

std::optional<PartyMember> frmParty::edit(const PartyMember& member)
{
    const Entry kept = entry();
    // A member with any escort text is shown escorted, so every text comes back unchanged.
    const bool escorted = !(member.Escort.isEmpty() && member.EscortRole.isEmpty() &&
                            member.EscortPronunciation.isEmpty());
    setEntry({member, -1, -1, escorted});
    std::optional<PartyMember> changed;
    if (showModal())
        changed = entry().member;
    if (!wasClosed())
        setEntry(kept);
    return changed;
}

void frmParty::clearEntry()
{
    m_ui->txtName1->clear();
    m_ui->txtRole1->clear();
    m_ui->txtPronoun1->clear();
    m_ui->cbRole1->setCurrentIndex(-1);
    m_ui->txtName2->clear();
    m_ui->txtRole2->clear();
    m_ui->txtPronoun2->clear();
    m_ui->cbRole2->setCurrentIndex(-1);
    m_ui->sayItBox_0->setVoice({});
    m_ui->sayItBox_1->setVoice({});
}
