#pragma once

#include "wizard/PageDialog.h"
#include "wizard/WizardPage.h"

#include <array>
#include <memory>

class QLineEdit;
class frmSongPref;
namespace Ui
{
class Menu7;
}

// The music preferences page: for each of ten fixed types of music whether the entertainer
// should play it or avoid it (chosen in frmSongPref, shown here as two summary lists), and
// three favourite radio stations.
//
// Keys, all in Strs: MTP1 .. MTP10 ("True" play / "False" avoid, default "True") and
// FRS1 .. FRS3 (the stations, default "").
class Menu7 : public WizardPage
{
    Q_OBJECT
  public:
    static constexpr int kTypeCount = 10;

    explicit Menu7(Wizard& wizard);
    ~Menu7() override;

    // The dialog, while one exists (it is created on first use).
    frmSongPref* songPrefDialog() const;

  protected:
    void loadPage() override;
    bool savePage() override;

  private:
    // Rebuilds the two summary lists from the play flags.
    void summary();
    // Change Music Preferences: shows the dialog and takes its selections after Save.
    void changePreferences();

    std::unique_ptr<Ui::Menu7> m_ui;
    std::array<QLineEdit*, 3> m_radio{};
    std::array<bool, kTypeCount> m_playIt{}; // true = play, false = avoid
    std::array<QString, kTypeCount> m_typeNames;
    DialogSlot<frmSongPref> m_songPref;
};
