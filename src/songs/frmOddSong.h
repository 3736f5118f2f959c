#pragma once

#include "wizard/PageDialog.h"

#include <memory>

namespace Ui
{
class frmOddSong;
}

// The custom song dialog ("Unknown Song"): a song that the catalogue lacks, entered by hand.
// OK hands it back in PickedSong with key -3 (the couple has the music and will provide it)
// or -2 (they cannot), and sets QueryAnswer to 1; Cancel, Escape and the close box leave
// PickedSong untouched and QueryAnswer 0.
//
// The boxes keep what was typed for the next opening; only a close by the close box
// discards the instance, so the next opening starts empty.
class frmOddSong : public PageDialog
{
    Q_OBJECT
  public:
    frmOddSong(WizardState& state, QWidget* owner);
    ~frmOddSong() override;

    // The custom song step of the song-pick contract, for an opener whose song-pick dialog
    // answered -2 ("I can't find the song"): shows the opener's dialog (held in `slot`,
    // built on first use or after a close by its close box) modally, owned by `opener`.
    // Afterwards QueryAnswer is 1 with PickedSong filled, or 0 with PickedSong as it was.
    static void ask(DialogSlot<frmOddSong>& slot, WizardState& state, QWidget* opener);

  private:
    void onOK();

    std::unique_ptr<Ui::frmOddSong> m_ui;
};
