#pragma once

#include "songs/frmOddSong.h"
#include "store/ScheduleStore.h"
#include "wizard/PageDialog.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class Wizard;
namespace Ui
{
class frmActivity;
}

// The activity dialog: one activity of the event schedule with its estimated starting
// time, its name (typed or taken from the usual activities), an optional song, the people
// involved and notes.
//
// The schedule page shows it without making it modal and hides itself meanwhile. Every
// way of finishing calls the page back (its AddReturn) with the activity after a Save, or
// with nothing after Cancel or the close box; the page stores what it is given. Save and
// Cancel only hide the dialog, so the next Add shows the previous texts again; the close
// box discards it. Escape cancels, like Cancel, so what was typed stays for the next Add.
// An activity opened with edit() comes back to the page the same way; afterwards the
// dialog holds again what it held before the edit.
class frmActivity : public PageDialog
{
    Q_OBJECT
  public:
    // Called at the end of every use: the activity after a Save, nothing otherwise.
    using AddReturnFunction = std::function<void(const std::optional<ActivityRecord>&)>;

    frmActivity(WizardState& state, Wizard& wizard, AddReturnFunction addReturn, QWidget* owner);
    ~frmActivity() override;

    // The activity the dialog shows: the time (the date part it was given, the time of day
    // edited), the name, the song with its key (no key when there is no song), the people
    // and the notes.
    ActivityRecord activity() const;

    // The time the picker shows (a day-count value; only its time of day is edited).
    void setTime(double dayCount);
    // Shows `activity` for a change; the end of this use puts back what the dialog held.
    void edit(const ActivityRecord& activity);

    static const QStringList kPresetActivities;

    void reject() override; // Escape: as Cancel

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void formLoad();
    void setActivity(const ActivityRecord& activity, int preset);
    void selectSong();
    void clearSong();
    void save();
    void finish(bool saved);

    std::unique_ptr<Ui::frmActivity> m_ui;
    Wizard& m_wizard;
    AddReturnFunction m_addReturn;
    std::optional<qint16> m_songKey;  // the key of the song in txtTitle
    DialogSlot<frmOddSong> m_oddSong; // the custom song dialog, for songs the catalogue lacks
    bool m_closing = false;
    // What the dialog held before an edit, with its preset entry, put back at its end.
    std::optional<std::pair<ActivityRecord, int>> m_beforeEdit;
};
