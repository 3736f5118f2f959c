#include "Wizard.h"

#include "pages/Menu2.h"
#include "pages/Menu3.h"
#include "pages/Menu4.h"
#include "pages/Menu5.h"
#include "pages/Menu6.h"
#include "pages/Menu7.h"
#include "platform/MessageBox.h"
#include "platform/PathMap.h"
#include "platform/ProgramEnd.h"
#include "songs/SongListPage.h"
#include "songs/SongPicker.h"
#include "store/StoreSession.h"
#include "wizard/DataFileCheck.h"
#include "wizard/FirstRunCheck.h"
#include "wizard/Menu1.h"
#include "wizard/MenuFinal.h"

Wizard::Wizard() = default;

Wizard::~Wizard()
{
    // Pages go before the store they read and write through.
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

bool Wizard::openData()
{
    m_store = std::make_unique<StoreSession>(PathMap::eventDatabase(), PathMap::catalogue());
    if (m_store->isOpen())
        return true;
    MessageBox::show(m_store->errorString() +
                         QStringLiteral("\n\nThe wizard cannot go on without it. Your files "
                                        "have not been changed."),
                     QStringLiteral("Unable to continue"), QMessageBox::Ok, QMessageBox::Critical);
    ProgramEnd::end(1);
    return false;
}

std::unique_ptr<WizardPage> Wizard::makePage(int index)
{
    switch (index) {
    case 0:
        return std::make_unique<Menu1>(*this);
    case 1:
        return std::make_unique<Menu2>(*this);
    case 2:
        return std::make_unique<Menu3>(*this);
    case 3:
        return std::make_unique<Menu4>(*this);
    case 4:
        return std::make_unique<Menu5>(*this);
    case 5:
        return std::make_unique<Menu6>(*this);
    case 6:
        return std::make_unique<Menu7>(*this);
    case 7:
        return std::make_unique<SongListPage>(*this, SongListPage::Include);
    case 8:
        return std::make_unique<SongListPage>(*this, SongListPage::Exclude);
    case 9:
        return std::make_unique<MenuFinal>(*this);
    default:
        return nullptr;
    }
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

void Wizard::preloadSongCatalogue()
{
    // The one song-pick dialog of the run is built here, reading the catalogue settings and
    // running its first search; a picker installed before (by a test) is kept.
    if (m_songPicker || !m_store || !m_store->isOpen())
        return;
    auto picker = std::make_shared<SongPicker>(m_state, items(), PathMap::catalogue());
    picker->dialog();
    setSongPicker([picker](QWidget* opener) { picker->pickFor(opener); });
}

void Wizard::pickSong(QWidget* opener)
{
    if (!m_songPicker)
        preloadSongCatalogue();
    if (m_songPicker) {
        m_songPicker(opener);
        return;
    }
    m_state.QueryAnswer = 0;
}
