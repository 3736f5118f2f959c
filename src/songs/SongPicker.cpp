#include "SongPicker.h"

#include "songs/frmSongSel.h"

SongPicker::SongPicker(WizardState& state, KeyedItemStore& items, const QString& catalogueFile)
    : m_state(state), m_items(items), m_catalogueFile(catalogueFile)
{
}

SongPicker::~SongPicker()
{
    delete m_dialog.data();
}

frmSongSel& SongPicker::dialog()
{
    if (m_dialog && m_dialog->wasClosed())
        delete m_dialog.data();
    if (!m_dialog)
        m_dialog = new frmSongSel(m_state, m_items, m_catalogueFile);
    return *m_dialog;
}

SongPick SongPicker::pickFor(QWidget* opener, const QString& caption,
                             const SongListRequest* request)
{
    return dialog().pickFor(opener, caption, request);
}
