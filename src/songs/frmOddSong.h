#pragma once

#include "store/PickedSongRecord.h"
#include "wizard/PageDialog.h"

#include <memory>
#include <optional>

class Wizard;
namespace Ui
{
class frmOddSong;
}

// The custom song dialog ("Unknown Song"): a song that the catalogue lacks, entered by hand.
// OK hands it back with key -3 (the couple has the music and will provide it) or -2 (they
// cannot); Cancel, Escape and the close box hand back nothing.
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
    // answered "I can't find the song": shows the opener's dialog (held in `slot`, built on
    // first use or after a close by its close box) modally, owned by `opener`. Returns the
    // song entered, or nothing.
    static std::optional<PickedSongRecord> ask(DialogSlot<frmOddSong>& slot, WizardState& state,
                                               QWidget* opener);

    // The whole song-pick contract for `opener`: the song-pick dialog under `caption`, and
    // after "I can't find the song" this dialog. Returns the song picked or entered, or
    // nothing (the opener's song then stays as it was).
    static std::optional<PickedSongRecord> pickOrEnter(Wizard& wizard, DialogSlot<frmOddSong>& slot,
                                                       QWidget* opener, const QString& caption);

  private:
    void onOK();

    PickedSongRecord m_song; // the song of the last OK
    std::unique_ptr<Ui::frmOddSong> m_ui;
};
