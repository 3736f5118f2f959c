#include "Menu2.h"

#include "ui_Menu2.h"

#include "pages/frmBGInfo.h"
#include "store/EventItems.h"
#include "store/PersonRecord.h"
#include "store/StoreSession.h"
#include "ui/MessageBox.h"
#include "ui/SummaryLabel.h"
#include "wizard/Wizard.h"

namespace
{
const QString kCrLf = QStringLiteral("\r\n");
} // namespace

Menu2::Menu2(Wizard& wizard)
    : WizardPage(wizard, 1,
                 {QStringLiteral("Menu2"), QStringLiteral("Bride and Groom"), 1,
                  QStringLiteral("Name and Contact Info"),
                  QStringLiteral("Please provide accurate and complete information."), true}),
      m_ui(std::make_unique<Ui::Menu2>())
{
    m_ui->setupUi(content());
    setTabOrder(m_ui->cmdGroom, nextButton());
    connect(m_ui->cmdBride, &QPushButton::clicked, this, [this] {
        editPerson(m_state.Bride, QStringLiteral("Bride Personal Info"), m_ui->lblBride,
                   m_ui->cmdGroom);
    });
    connect(m_ui->cmdGroom, &QPushButton::clicked, this, [this] {
        editPerson(m_state.Groom, QStringLiteral("Groom Personal Info"), m_ui->lblGroom,
                   nextButton());
    });
}

Menu2::~Menu2() = default;

QAbstractButton* Menu2::escapeButton() const
{
    return m_ui->cmdGroom;
}

void Menu2::loadPage()
{
    m_state.Bride = EventItems::readPerson(items(), QLatin1Char('B'));
    m_state.Groom = EventItems::readPerson(items(), QLatin1Char('G'));
    // A voice that cannot be read leaves the name without one; the answers still show.
    NameVoiceStore& voices = m_wizard.store().voices();
    voices.readPerson(m_state.Bride, QLatin1Char('B'));
    voices.readPerson(m_state.Groom, QLatin1Char('G'));
    showSummary(m_ui->lblBride, m_state.Bride);
    showSummary(m_ui->lblGroom, m_state.Groom);
}

void Menu2::showSummary(QLabel* label, const PersonRecord& person)
{
    QString text = person.Name;
    if (!person.Address.isEmpty())
        text += kCrLf + person.Address;
    text += kCrLf;
    if (!person.Pronunciation.isEmpty())
        text += kCrLf + QStringLiteral("(pronounced ") + person.Pronunciation + QLatin1Char(')');
    if (!person.Age.isEmpty())
        text += kCrLf + QStringLiteral("Age = ") + person.Age;
    text += kCrLf;
    const std::pair<const QString&, const QString&> phones[] = {{person.Phone1, person.PhoneKind1},
                                                                {person.Phone2, person.PhoneKind2},
                                                                {person.Phone3, person.PhoneKind3}};
    for (const auto& [number, kind] : phones) {
        if (!number.isEmpty())
            text += kCrLf + number + QStringLiteral("  (") + kind + QLatin1Char(')');
    }
    if (!person.Email.isEmpty())
        text += kCrLf + kCrLf + QStringLiteral("Email: ") + person.Email;
    SummaryLabel::show(label, text);
}

void Menu2::editPerson(PersonRecord& person, const QString& caption, QLabel* summary,
                       QWidget* focusAfter)
{
    if (std::optional<PersonRecord> edited = m_dialog.get(m_state, this).edit(caption, person)) {
        person = std::move(*edited);
        person.Complete = true;
    }
    showSummary(summary, person);
    focusAfter->setFocus();
}

bool Menu2::checkPage()
{
    if (!m_state.Bride.Complete) {
        MessageBox::show(QStringLiteral("Please complete Bride Information before going on..."),
                         QStringLiteral("Bride Data Incomplete"), QMessageBox::Ok,
                         QMessageBox::NoIcon, this);
        return false;
    }
    if (!m_state.Groom.Complete) {
        MessageBox::show(QStringLiteral("Please complete Groom Information before going on..."),
                         QStringLiteral("Groom Data Incomplete"), QMessageBox::Ok,
                         QMessageBox::NoIcon, this);
        return false;
    }
    return true;
}

bool Menu2::savePage()
{
    if (!EventItems::savePerson(items(), m_state.Bride, QLatin1Char('B'), saveFailure()) ||
        !EventItems::savePerson(items(), m_state.Groom, QLatin1Char('G'), saveFailure()))
        return false;
    NameVoiceStore& voices = m_wizard.store().voices();
    if (voices.savePerson(m_state.Bride, QLatin1Char('B')) &&
        voices.savePerson(m_state.Groom, QLatin1Char('G')))
        return true;
    *saveFailure() = voices.errorString();
    return false;
}

void Menu2::focusFinding(qint64 item)
{
    (item == 1 ? m_ui->cmdGroom : m_ui->cmdBride)->setFocus();
}
