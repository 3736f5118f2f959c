#include "Menu1.h"

#include "platform/PathMap.h"
#include "ui/BusyPointer.h"
#include "ui/MessageBox.h"
#include "ui/ProgramEnd.h"
#include "ui/RichTextViewer.h"
#include "wizard/Hivelet.h"
#include "wizard/PageContent.h"
#include "wizard/Wizard.h"

#include <QProcess>

Menu1::Menu1(Wizard& wizard)
    : WizardPage(wizard, 0,
                 {QStringLiteral("Menu1"), QStringLiteral("Welcome to the Feteplan"), 1,
                  QStringLiteral("Feteplan"),
                  QStringLiteral("This wizard helps you prepare for your WEDDING RECEPTION."),
                  false})
{
}

Menu1::~Menu1() = default;

Hivelet& Menu1::hivelet()
{
    if (!m_hivelet)
        m_hivelet = std::make_unique<Hivelet>();
    return *m_hivelet;
}

void Menu1::loadPage()
{
    m_welcome = PageContent::addRichText(content(), m_state.MediaFolder + QStringLiteral("hi.rtf"));
    PageContent::addEntertainer(content(), m_state);
    nextButton()->setFocus();
}

bool Menu1::savePage()
{
    // Leaving the welcome page prepares the song catalogue once, so that the song lists
    // open at once later.
    BusyPointer busy;
    m_wizard.preloadSongCatalogue();
    return true;
}

void Menu1::CheckExit()
{
    m_wizard.CheckExit();
}

void Menu1::startDatabaseModule()
{
    if (!QProcess::startDetached(PathMap::databaseModule(), {})) {
        MessageBox::show(QStringLiteral("The database module could not be loaded\n\n"
                                        "Please re-install the software"),
                         QStringLiteral("System Error: Unable to load DB Module"), QMessageBox::Ok,
                         QMessageBox::NoIcon, this);
    }
    ProgramEnd::end();
}
