#pragma once

#include "wizard/SongPick.h"

#include <QPointer>
#include <QString>

class KeyedItemStore;
class QWidget;
class frmSongSel;
struct WizardState;

// Keeps the one song-pick dialog of a run and answers the song-pick contract with it. A
// dialog closed with its close box is replaced by a fresh one at the next opening.
class SongPicker
{
  public:
    // `state` and `items` must outlive the picker.
    SongPicker(WizardState& state, KeyedItemStore& items, const QString& catalogueFile);
    ~SongPicker();
    SongPicker(const SongPicker&) = delete;
    SongPicker& operator=(const SongPicker&) = delete;

    // The dialog, built when there is none or the last one was closed.
    frmSongSel& dialog();
    // Shows the dialog for `opener` under `caption` and hands back how it was left.
    SongPick pickFor(QWidget* opener, const QString& caption,
                     const SongListRequest* request = nullptr);

  private:
    WizardState& m_state;
    KeyedItemStore& m_items;
    QString m_catalogueFile;
    QPointer<frmSongSel> m_dialog;
};
