#include "SongListPage.h"

#include "ui_SongListPage.h"

#include "store/StoreSession.h"
#include "ui/ListLook.h"
#include "ui/MessageBox.h"
#include "wizard/Wizard.h"

#include <QEvent>
#include <QHeaderView>

SongListPage::SongListPage(Wizard& wizard, Kind kind)
    : WizardPage(wizard, kind == Include ? 7 : 8, infoFor(kind)), m_kind(kind),
      m_ui(std::make_unique<Ui::SongListPage>())
{
    m_ui->setupUi(content());
    for (const QString& name : {QStringLiteral("hd"), QStringLiteral("cd"), QStringLiteral("nocd")})
        m_smallicons.insert(name, QIcon(QStringLiteral(":/songs/%1.png").arg(name)));

    m_look = ListLook::apply(m_ui->songListLayout, m_ui->buttonsRow, m_ui->lvListView, m_ui->cmdAdd,
                    m_ui->cmdRemove);
    ListLook::addSongLegend(m_ui->songListLayout, QStringLiteral(":/songs/hd.png"),
                            QStringLiteral(":/songs/cd.png"), QStringLiteral(":/songs/nocd.png"));
    connect(m_ui->cmdAdd, &QPushButton::clicked, this, &SongListPage::onAdd);
    connect(m_ui->cmdRemove, &QPushButton::clicked, this, &SongListPage::onRemove);
    m_ui->lvListView->viewport()->installEventFilter(this);
}

SongListPage::~SongListPage() = default;

PageInfo SongListPage::infoFor(Kind kind)
{
    if (kind == Include)
        return {QStringLiteral("Menu8"),
                QStringLiteral("Songs to Include"),
                7,
                QStringLiteral("Suggested Play List"),
                QStringLiteral("Build a list of up to 50 songs that you would like to hear at your "
                               "reception."),
                true};
    return {QStringLiteral("Menu9"),
            QStringLiteral("Songs to Exclude"),
            8,
            QStringLiteral("Do-Not-Play List"),
            QStringLiteral("Please indicate up to 50 songs that you specifically would like to NOT "
                           "hear at your reception."),
            true};
}

SongListStore::List SongListPage::list() const
{
    return m_kind == Include ? SongListStore::Include : SongListStore::Exclude;
}

QString SongListPage::tableName() const
{
    return SongListStore::tableOf(list());
}

QString SongListPage::pickCaption() const
{
    return m_kind == Include ? QStringLiteral("Select a song to include")
                             : QStringLiteral("Select a song to exclude");
}

QString SongListPage::fullMessage() const
{
    return m_kind == Include ? QStringLiteral("The song include list already has 50 songs on it.")
                             : QStringLiteral("The song exclude list already has 50 songs on it.");
}

QString SongListPage::iconNameFor(qint16 key)
{
    if (key == -3)
        return QStringLiteral("cd");
    if (key == -2)
        return QStringLiteral("nocd");
    return QStringLiteral("hd");
}

void SongListPage::loadPage()
{
    QString error;
    if (!readRows(&error)) {
        // The page still works; the couple learns that what they saved before is not shown,
        // so they do not take the empty list for their own.
        MessageBox::show(
            QStringLiteral("The songs saved earlier on this page could not be read from the "
                           "event database (%1).\n\nThe list starts empty.")
                .arg(error),
            QStringLiteral("Unable to read"), QMessageBox::Ok, QMessageBox::Warning, this);
    }
}

bool SongListPage::readRows(QString* error)
{
    m_ui->lvListView->clear();
    SongListStore& lists = m_wizard.store().songLists();
    QList<PickedSongRecord> songs;
    if (!lists.read(list(), &songs)) {
        *error = lists.errorString();
        return false;
    }
    for (const PickedSongRecord& song : songs)
        addRow(song.Key, song.Title, song.Artist, song.Length);
    return true;
}

void SongListPage::addRow(qint16 key, const QString& title, const QString& artist,
                          const QString& length)
{
    auto* item = new QTreeWidgetItem(m_ui->lvListView, {title, artist, length});
    const QString icon = iconNameFor(key);
    item->setData(0, kKeyRole, int(key));
    item->setData(0, kIconRole, icon);
    item->setIcon(0, m_smallicons.value(icon));
    item->setToolTip(0, title);
}

void SongListPage::onAdd()
{
    if (m_ui->lvListView->topLevelItemCount() > kMaxSongs - 1) {
        MessageBox::show(fullMessage(), QStringLiteral("Too many songs selected"), QMessageBox::Ok,
                         QMessageBox::NoIcon, this);
        return;
    }
    const SongListRequest request{kMaxSongs - m_ui->lvListView->topLevelItemCount(), songs(),
                                  otherListSongs(),
                                  m_kind == Include ? QStringLiteral("songs not to play")
                                                    : QStringLiteral("songs to play")};
    const SongPick pick = m_wizard.pickSong(this, pickCaption(), &request);
    QList<PickedSongRecord> picked = pick.songs;
    if (pick.outcome == SongPick::Picked && picked.isEmpty())
        picked.append(pick.song);
    else if (pick.outcome == SongPick::CantFind)
        if (const auto song = frmOddSong::ask(m_oddSong, m_state, this))
            picked.append(*song);
    QTreeWidgetItem* last = nullptr;
    for (const PickedSongRecord& song : picked) {
        addRow(song.Key, song.Title, song.Artist, song.Length);
        last = m_ui->lvListView->topLevelItem(m_ui->lvListView->topLevelItemCount() - 1);
    }
    if (last) {
        m_ui->lvListView->setCurrentItem(last);
        m_ui->lvListView->scrollToItem(last);
    }
}

// The other list's songs: as its page shows them when it was loaded, else as stored.
QList<PickedSongRecord> SongListPage::otherListSongs() const
{
    const int other = m_kind == Include ? index() + 1 : index() - 1;
    if (const auto* page = qobject_cast<const SongListPage*>(m_wizard.loadedPage(other)))
        return page->songs();
    QList<PickedSongRecord> stored;
    m_wizard.store().songLists().read(
        m_kind == Include ? SongListStore::Exclude : SongListStore::Include, &stored);
    return stored;
}

void SongListPage::onRemove()
{
    const QList<QTreeWidgetItem*> selected = m_ui->lvListView->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem* item = selected.first();
    QString what = QStringLiteral("\"%1\"").arg(item->text(0).trimmed());
    if (!item->text(1).trimmed().isEmpty())
        what += QStringLiteral(" by %1").arg(item->text(1).trimmed());
    m_look->removeItem(item, what, kMaxSongs);
}

QList<PickedSongRecord> SongListPage::songs() const
{
    QList<PickedSongRecord> songs;
    for (int i = 0; i < m_ui->lvListView->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_ui->lvListView->topLevelItem(i);
        songs.append(
            {qint16(item->data(0, kKeyRole).toInt()), item->text(0), item->text(1), item->text(2)});
    }
    return songs;
}

bool SongListPage::savePage()
{
    SongListStore& lists = m_wizard.store().songLists();
    if (lists.rewrite(list(), songs()))
        return true;
    saveFailed(tableName(), lists.errorString());
    return false;
}

void SongListPage::fitColumns()
{
    // Title and Artist a third of the list's width each, Length a quarter.
    const int width = m_ui->lvListView->viewport()->width();
    m_ui->lvListView->setColumnWidth(0, width / 3);
    m_ui->lvListView->setColumnWidth(1, width / 3);
    m_ui->lvListView->setColumnWidth(2, width / 4);
}

bool SongListPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->lvListView->viewport() && event->type() == QEvent::Resize)
        fitColumns();
    return WizardPage::eventFilter(watched, event);
}

void SongListPage::focusFinding(qint64 item)
{
    m_look->focusRow(int(item));
}
