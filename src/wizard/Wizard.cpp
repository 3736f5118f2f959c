#include "Wizard.h"

#include "catalogue/FinalChanges.h"
#include "platform/PathMap.h"
#include "store/EventPlan.h"
#include "store/StoreSession.h"
#include "ui/EnterKey.h"
#include "ui/MessageBox.h"
#include "ui/ProgramEnd.h"
#include "wizard/DataFileCheck.h"
#include "wizard/FirstRunCheck.h"
#include "wizard/FrmQuery.h"
#include "wizard/Menu1.h"

#include <QDir>
#include <QLockFile>

Wizard::Wizard()
{
    EnterKey::install();
}

Wizard::~Wizard()
{
    // Pages go before the store they read and write through.
    m_query.reset();
    for (auto& p : m_pages)
        p.reset();
}

KeyedItemStore& Wizard::items()
{
    return m_store->items();
}

bool Wizard::start()
{
    m_state.initialise();
    if (!DataFileCheck::makeFolders(m_state))
        return false;
    if (!lockEventFolder())
        return false;
    // The welcome page exists from here on (hidden); its load runs once the data are open.
    m_pages[0] = makePage(0);
    if (!FirstRunCheck::run(welcomePage()->hivelet(), welcomePage()))
        return false;
    if (!DataFileCheck::run(m_state))
        return false;
    if (!openData())
        return false;
    page(0);
    return !ProgramEnd::hasEnded();
}

bool Wizard::startAndShow()
{
    if (!start())
        return false;
    WizardPage* welcome = m_pages[0].get();
    welcome->show();
    return true;
}

bool Wizard::lockEventFolder()
{
    // One wizard per event folder: a second one would save over the first one's answers.
    // The lock names the process holding it, so one left by a crashed wizard is taken over.
    m_lock = std::make_unique<QLockFile>(m_state.DbFolder + QStringLiteral("event.mdb.lock"));
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    const QString folder = QDir::toNativeSeparators(m_state.DbFolder);
    MessageBox::show(
        m_lock->error() == QLockFile::LockFailedError
            ? QStringLiteral("The Feteplan is already open for the event in %1, in another "
                             "window.\n\nPlease go on in that window. This one closes without "
                             "opening your files.")
                  .arg(folder)
            : QStringLiteral("The Feteplan cannot mark the event in %1 as in use: the folder "
                             "cannot be written.\n\nCheck that you may write to the folder, "
                             "then start the Feteplan again. Your files have not been changed.")
                  .arg(folder),
        QStringLiteral("Feteplan"), QMessageBox::Ok, QMessageBox::Information);
    m_lock.reset();
    ProgramEnd::end(1);
    return false;
}

bool Wizard::openData()
{
    m_store = std::make_unique<StoreSession>(PathMap::eventDatabase(), PathMap::catalogue());
    if (m_store->isOpen()) {
        // The entertainer the catalogue names, and whether the plan is final by now.
        const FinalChanges final = FinalChanges::read(m_store->items());
        m_state.EntertainerLine = final.reachLine();
        QString unread;
        const std::optional<EventPlan> plan =
            final.Days ? EventPlan::read(*m_store, &unread) : std::nullopt;
        if (plan && plan->Times.Date.isGiven())
            m_state.FrozenLine = final.frozenLine(plan->Times.Date.value, QDate::currentDate());
        return true;
    }
    MessageBox::show(m_store->errorString() +
                         QStringLiteral("\n\nThe wizard cannot go on without it. Your files "
                                        "have not been changed."),
                     QStringLiteral("Unable to continue"), QMessageBox::Ok, QMessageBox::Critical);
    ProgramEnd::end(1);
    return false;
}

std::unique_ptr<WizardPage> Wizard::makePage(int index)
{
    if (index == 0)
        return std::make_unique<Menu1>(*this);
    return nullptr;
}

WizardPage* Wizard::page(int index)
{
    if (index < 0 || index >= kPageCount)
        return nullptr;
    if (!m_pages[index]) {
        m_pages[index] = makePage(index);
        // Every page opens at the size of the welcome page.
        if (index > 0 && m_pages[0])
            m_pages[index]->resize(m_pages[0]->size());
    }
    m_pages[index]->load();
    return m_pages[index].get();
}

WizardPage* Wizard::loadedPage(int index) const
{
    return index >= 0 && index < kPageCount ? m_pages[index].get() : nullptr;
}

Menu1* Wizard::welcomePage() const
{
    return static_cast<Menu1*>(m_pages[0].get());
}

bool Wizard::hasStore() const
{
    return m_store && m_store->isOpen();
}

void Wizard::CheckExit()
{
    if (ProgramEnd::hasEnded())
        return;
    if (!m_query)
        m_query = std::make_unique<FrmQuery>();
    const WizardPage* asking = nullptr; // the page on the screen
    for (const auto& page : m_pages)
        if (page && page->isVisible())
            asking = page.get();
    if (!m_query->ask(QStringLiteral("Do you want to quit the Feteplan?"), asking)) {
        m_query.reset();
        return;
    }
    ProgramEnd::end();
}

SongPick Wizard::pickSong(QWidget* opener, const QString& caption,
                          const SongListRequest* request)
{
    if (!m_songPicker)
        preloadSongCatalogue();
    if (!m_songPicker)
        return {};
    m_songListRequest = request;
    const SongPick pick = m_songPicker(opener, caption);
    m_songListRequest = nullptr;
    return pick;
}
