#include "ZelWizard.h"

#include "pages/Menu2.h"
#include "pages/Menu3.h"
#include "pages/Menu4.h"
#include "pages/Menu5.h"
#include "pages/Menu6.h"
#include "pages/Menu7.h"
#include "platform/PathMap.h"
#include "songs/SongListPage.h"
#include "songs/SongPicker.h"
#include "store/StoreSession.h"
#include "wizard/MenuFinal.h"

ZelWizard::ZelWizard() = default;

ZelWizard::~ZelWizard() = default;

std::unique_ptr<WizardPage> ZelWizard::makePage(int index)
{
    switch (index) {
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
        return Wizard::makePage(index);
    }
}

void ZelWizard::preloadSongCatalogue()
{
    // The one song-pick dialog of the run is built here, reading the catalogue settings and
    // running its first search; a picker installed before (by a test) is kept.
    if (hasSongPicker() || !hasStore())
        return;
    auto picker = std::make_shared<SongPicker>(state(), items(), PathMap::catalogue());
    picker->dialog();
    setSongPicker([this, picker](QWidget* opener, const QString& caption) {
        return picker->pickFor(opener, caption, songListRequest());
    });
}
