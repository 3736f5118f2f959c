#pragma once

#include "songs/frmOddSong.h"
#include "store/SongListStore.h"
#include "wizard/WizardPage.h"

#include <QIcon>
#include <QMap>

#include <memory>

class ListLook;
class QTreeWidgetItem;
namespace Ui
{
class SongListPage;
}

// The two song list pages: songs to include (Menu8) and songs not to play (Menu9).
// One class serves both; the kind decides the page's texts and its table.
//
// The page reads its table once, when it loads; afterwards the list lives on the page and
// reaches the database only on Next, which rewrites the table whole in one transaction.
class SongListPage : public WizardPage
{
    Q_OBJECT
  public:
    enum Kind { Include, Exclude };
    SongListPage(Wizard& wizard, Kind kind);
    ~SongListPage() override;

    Kind kind() const { return m_kind; }

    // The most songs a list holds.
    static constexpr int kMaxSongs = 50;
    // Where a row keeps its song key (column 0) and the name of its small image.
    static constexpr int kKeyRole = Qt::UserRole;
    static constexpr int kIconRole = Qt::UserRole + 1;
    // The small image of a song key: "cd" (-3), "nocd" (-2), "hd" (any other key).
    static QString iconNameFor(qint16 key);

    // The songs on the page now, in list order.
    QList<PickedSongRecord> songs() const;

    // The page's table: "MusicIn" or "MusicOut".
    QString tableName() const;
    SongListStore::List list() const;

  protected:
    void loadPage() override;
    void focusFinding(qint64 item) override;
    bool savePage() override;

  private:
    static PageInfo infoFor(Kind kind);
    QString pickCaption() const;
    QString fullMessage() const;

    bool readRows(QString* error);
    void addRow(qint16 key, const QString& title, const QString& artist, const QString& length);
    void fitColumns();
    void onAdd();
    QList<PickedSongRecord> otherListSongs() const;
    void onRemove();
    bool eventFilter(QObject* watched, QEvent* event) override;

    Kind m_kind;
    std::unique_ptr<Ui::SongListPage> m_ui;
    QMap<QString, QIcon> m_smallicons;
    DialogSlot<frmOddSong> m_oddSong;
    ListLook* m_look = nullptr;
};
