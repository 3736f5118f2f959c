#pragma once

#include "catalogue/CatalogueSettings.h"
#include "wizard/SongPick.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

class FrmInput;
class KeyedItemStore;
class QPushButton;
class SongGridModel;
class SqlConnection;
struct SongSearch;
struct WizardState;

namespace Ui
{
class frmSongSel;
}

// The song-pick dialog. One instance serves the whole run: it reads the catalogue
// settings once when it is built and afterwards is only shown and hidden, so the search
// text, the lists, the pressed categories, the current row and the last statement survive
// from one opening to the next. Every change of the search runs the search; the catalogue
// is read again only when the statement differs from LastQuery().
//
// Outcome (outcome()): the song of the current row for a pick, nothing for Quit (or Escape),
// "can't find" for "I can't find the song". The close box leaves the outcome the opening
// started with (nothing picked) and marks the instance closed; its owner then builds a
// fresh one (SongPicker).
class frmSongSel : public QDialog
{
    Q_OBJECT
  public:
    // Reads the settings through `items` (the catalogue's Config table) and opens its own
    // read-only connection to `catalogueFile` for the grid.
    frmSongSel(WizardState& state, KeyedItemStore& items, const QString& catalogueFile,
               QWidget* owner = nullptr);
    ~frmSongSel() override;

    // The calling contract: takes `caption` (an empty one keeps the current caption), shows
    // the dialog modally owned by `opener` and returns how it was left. With a song list's
    // `request` the grid takes several rows (Ctrl and Shift) and Select Song hands back all
    // of them that the list takes.
    SongPick pickFor(QWidget* opener, const QString& caption,
                     const SongListRequest* request = nullptr);
    // How the dialog was last left (nothing picked before the first answer).
    const SongPick& outcome() const { return m_outcome; }

    // The text of the statement last sent to the catalogue (empty at creation).
    QString LastQuery() const { return m_lastQuery; }
    // The number of rows of the last result.
    int resultRows() const { return m_rows; }
    bool wasClosed() const { return m_closed; }
    const CatalogueSettings& settings() const { return m_settings; }
    SongGridModel* model() const { return m_model; }
    // The search the controls describe now.
    SongSearch currentSearch() const;

    // The song key handed back for a catalogue key: the key itself when it is 1..32767,
    // otherwise 0 ("no catalogue key"): a key that does not fit is never wrapped into the
    // key of another song, and 0 and negative keys never pass for a custom song's marker.
    static qint16 songKeyOf(const QVariant& dbKey);

    void reject() override; // Escape outside the search box: as Quit

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void load(KeyedItemStore& items);
    void layoutCategoryButtons();
    void setupGrid();
    int fitColumns(int gridWidth);
    int columnWidthFor(int column, const QStringList& texts) const;
    int textWidthOf(const QString& field, int fallback) const;
    void search();
    void runSearch();
    void showCount();
    void currentRowChanged();
    void pick();
    // The selected songs a list takes, after asking about songs of the other list; none
    // when the couple is to choose again.
    QList<PickedSongRecord> songsForList(const QList<int>& rows);
    PickedSongRecord songAt(int row) const;
    void updatePickIt();
    void finish(const SongPick& outcome);
    void clearFind();
    void pickValue();
    void updatePickValue();
    int twips(int t) const;

    WizardState& m_state;
    std::unique_ptr<Ui::frmSongSel> m_ui;
    SongPick m_outcome;
    std::optional<SongListRequest> m_request;
    std::unique_ptr<SqlConnection> m_catalogue;
    std::unique_ptr<FrmInput> m_input;
    SongGridModel* m_model = nullptr;
    CatalogueSettings m_settings;
    std::array<QPushButton*, 16> m_cmdCat{};
    QString m_lastQuery;
    int m_rows = 0;
    bool m_rightPress = false;
    bool m_closed = false;
    bool m_loading = false;
    bool m_searchQueued = false;
    bool m_fitting = false;
    bool m_userSized = false;
    int m_titleWidth = 0;
    int m_artistWidth = 0;
};
