#pragma once

#include "songs/frmOddSong.h"

#include "wizard/PageDialog.h"

#include <QString>

#include <functional>
#include <memory>

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
// way of finishing sets QueryAnswer (1 after Save, 0 after Cancel or the close box) and
// calls the page back (its AddReturn), which stores the activity after a Save. Save and
// Cancel only hide the dialog, so the next Add shows the previous texts again; the close
// box discards it. Escape does nothing here: neither the song nor a half-typed activity
// can be lost by a stray key.
class frmActivity : public PageDialog
{
    Q_OBJECT
  public:
    frmActivity(WizardState& state, Wizard& wizard, std::function<void()> addReturn,
                QWidget* owner);
    ~frmActivity() override;

    // What the page stores after a Save.
    struct Activity {
        double time = 0; // day count: the date part of the time set, the time of day edited
        QString name;
        QString songKey; // the tag of txtTitle: the song's key as decimal text, or empty
        QString title;
        QString artist;
        QString who;
        QString notes;
    };
    Activity activity() const;

    // The time the picker shows (a day-count value; only its time of day is edited).
    void setTime(double dayCount);

    static const QStringList kPresetActivities;

    void reject() override; // Escape: nothing

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void formLoad();
    void selectSong();
    void enterCustomSong();
    void clearSong();
    void save();
    void finish(qint16 answer);

    std::unique_ptr<Ui::frmActivity> m_ui;
    Wizard& m_wizard;
    std::function<void()> m_addReturn;
    DialogSlot<frmOddSong> m_oddSong; // the custom song dialog, for songs the catalogue lacks
    bool m_closing = false;
};
