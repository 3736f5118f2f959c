#include "Menu2.h"

#include "ui_Menu2.h"

#include "pages/PersonRecord.h"
#include "pages/frmBGInfo.h"
#include "platform/MessageBox.h"
#include "store/KeyedItemStore.h"
#include "wizard/Wizard.h"

namespace
{
const QString kCrLf = QStringLiteral("\r\n");

// A person's keys: the prefix ("B" bride, "G" groom) and the field's code.
QString key(QChar prefix, const char* code)
{
    return QString(prefix) + QLatin1String(code);
}
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
    loadPerson(m_state.Bride, QLatin1Char('B'));
    loadPerson(m_state.Groom, QLatin1Char('G'));
    showSummary(m_ui->lblBride, m_state.Bride);
    showSummary(m_ui->lblGroom, m_state.Groom);
}

void Menu2::loadPerson(PersonRecord& person, QChar prefix)
{
    KeyedItemStore& store = items();
    person.Name = store.GetStrItem(key(prefix, "N"), QString());
    // A name of one blank counts: only emptiness makes a person incomplete.
    person.Complete = !person.Name.isEmpty();
    person.Age = store.GetStrItem(key(prefix, "AG"), QString());
    person.Pronunciation = store.GetStrItem(key(prefix, "PR"), QString());
    person.Address = store.GetMemItem(key(prefix, "A"), QString());
    person.Phone1 = store.GetStrItem(key(prefix, "P1"), QString());
    person.Phone2 = store.GetStrItem(key(prefix, "P2"), QString());
    person.Phone3 = store.GetStrItem(key(prefix, "P3"), QString());
    person.PhoneKind1 = store.GetStrItem(key(prefix, "P4"), QStringLiteral("work"));
    person.PhoneKind2 = store.GetStrItem(key(prefix, "P5"), QStringLiteral("home"));
    person.PhoneKind3 = store.GetStrItem(key(prefix, "P6"), QStringLiteral("other"));
    person.Email = store.GetStrItem(key(prefix, "EM"), QString());
}

bool Menu2::savePerson(const PersonRecord& person, QChar prefix)
{
    // Every item is written even after a refusal, so as much as possible reaches the store.
    bool ok = saveStr(key(prefix, "N"), person.Name);
    ok &= saveStr(key(prefix, "AG"), person.Age);
    ok &= saveStr(key(prefix, "PR"), person.Pronunciation);
    ok &= saveMem(key(prefix, "A"), person.Address);
    ok &= saveStr(key(prefix, "P1"), person.Phone1);
    ok &= saveStr(key(prefix, "P2"), person.Phone2);
    ok &= saveStr(key(prefix, "P3"), person.Phone3);
    ok &= saveStr(key(prefix, "P4"), person.PhoneKind1);
    ok &= saveStr(key(prefix, "P5"), person.PhoneKind2);
    ok &= saveStr(key(prefix, "P6"), person.PhoneKind3);
    ok &= saveStr(key(prefix, "EM"), person.Email);
    return ok;
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
    label->setText(text);
}

void Menu2::editPerson(PersonRecord& person, const QString& caption, QLabel* summary,
                       QWidget* focusAfter)
{
    frmBGInfo& dialog = m_dialog.get(m_state, this);
    dialog.setWindowTitle(caption);
    dialog.fill(person);
    dialog.showModal();
    if (m_state.QueryAnswer == 1) {
        person.Complete = true;
        // The close box may have discarded the dialog; only a Save answers 1, and Save
        // keeps it.
        if (frmBGInfo* saved = m_dialog.current())
            saved->readInto(person);
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
    const bool bride = savePerson(m_state.Bride, QLatin1Char('B'));
    const bool groom = savePerson(m_state.Groom, QLatin1Char('G'));
    return bride && groom;
}
