#pragma once

#include "wizard/SongPick.h"
#include "wizard/WizardState.h"

#include <array>
#include <functional>
#include <memory>

class FrmQuery;
class QLockFile;
class KeyedItemStore;
class NameSpeaker;
class QWidget;
class Menu1;
class StoreSession;
class WizardPage;

// The application object: owns the program-wide state, the store session and the pages,
// and runs the start-up in its fixed order. Which page stands at which place, and how the
// song catalogue is prepared, is decided above the frame (makePage, preloadSongCatalogue).
class Wizard
{
  public:
    static constexpr int kPageCount = 10; // Menu1 .. Menu9, MenuFinal

    Wizard();
    virtual ~Wizard();
    Wizard(const Wizard&) = delete;
    Wizard& operator=(const Wizard&) = delete;

    // Runs the start-up up to the welcome page, loaded but not shown. Returns false when
    // the program was ended (a message was shown).
    bool start();
    // start(), then shows the welcome page.
    bool startAndShow();

    WizardState& state() { return m_state; }
    StoreSession& store() { return *m_store; }
    // Says and records names for the dialogs (the system's sound devices unless a test
    // puts in its own).
    NameSpeaker& speaker() { return *m_speaker; }
    KeyedItemStore& items();

    // The page at `index` (0 = Menu1 ... 9 = MenuFinal), loaded on first use; pages are
    // never unloaded. Null for an index out of range.
    WizardPage* page(int index);
    // The page at `index` if it was loaded, else null.
    WizardPage* loadedPage(int index) const;
    Menu1* welcomePage() const;

    // How many page loads ran (each page loads once per run).
    int pageLoads() const { return m_pageLoads; }
    void countPageLoad() { ++m_pageLoads; }

    // Prepares what the song lists need from the catalogue; run once when the welcome page
    // is left. The frame alone has no catalogue: it answers every pick with "nothing".
    virtual void preloadSongCatalogue() {}

    // The quit question every page asks: "Do you want to quit the Feteplan?"; a "Yes" ends
    // the program at once.
    void CheckExit();

    // The song-pick contract: shows the song-pick dialog modally for `opener` under
    // `caption` and hands back how it was left: a picked song, nothing, or "I can't find
    // the song" (the opener goes on to the custom song dialog).
    using SongPickFunction = std::function<SongPick(QWidget* opener, const QString& caption)>;
    // A song list passes its `request`: several songs may then come back in one pick.
    SongPick pickSong(QWidget* opener, const QString& caption,
                      const SongListRequest* request = nullptr);
    // The request of the pick under way, or null.
    const SongListRequest* songListRequest() const { return m_songListRequest; }
    // Who answers pickSong(): the song-pick dialog installs itself when it is created;
    // tests of an opener may install their own answer.
    void setSongPicker(SongPickFunction picker) { m_songPicker = std::move(picker); }
    bool hasSongPicker() const { return bool(m_songPicker); }
    // The store session is open (start-up got as far as the data).
    bool hasStore() const;

  protected:
    // The page at `index`: the welcome page here; the program's own pages above the frame.
    virtual std::unique_ptr<WizardPage> makePage(int index);

  private:
    bool lockEventFolder();
    bool openData();

    WizardState m_state;
    std::unique_ptr<NameSpeaker> m_speaker;
    std::unique_ptr<StoreSession> m_store;
    std::array<std::unique_ptr<WizardPage>, kPageCount> m_pages;
    int m_pageLoads = 0;
    SongPickFunction m_songPicker;
    const SongListRequest* m_songListRequest = nullptr;
    std::unique_ptr<QLockFile> m_lock; // held from start to the end of the run
    std::unique_ptr<FrmQuery> m_query; // created for each question, unloaded after "No"
};
