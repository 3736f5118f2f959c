#include "Menu6.h"

#include "ui_Menu6.h"

#include "pages/ScheduleModel.h"
#include "platform/OleDate.h"
#include "store/StoreSession.h"
#include "ui/ListLook.h"
#include "ui/MessageBox.h"
#include "ui/UndoLine.h"
#include "wizard/Wizard.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTimer>
#include <QToolTip>

Menu6::Menu6(Wizard& wizard)
    : WizardPage(wizard, 5,
                 {QStringLiteral("Menu6"), QStringLiteral("Event Schedule"), 5,
                  QStringLiteral("Order of Events"),
                  QStringLiteral("Customize your event with your own schedule of activities."),
                  true}),
      m_ui(std::make_unique<Ui::Menu6>())
{
    m_ui->setupUi(content());
    connect(m_ui->cmdAdd, &QPushButton::clicked, this, &Menu6::addActivity);
    connect(m_ui->cmdRemove, &QPushButton::clicked, this, &Menu6::removeActivity);
    connect(m_ui->cmdEdit, &QPushButton::clicked, this, &Menu6::editActivity);

    m_model = new ScheduleModel(this);
    m_model->setObjectName(QStringLiteral("dataEvents"));
    m_ui->dbgEvents->setModel(m_model);
    m_look = ListLook::apply(m_ui->menu6Layout, m_ui->buttonRow, m_ui->dbgEvents, m_ui->cmdAdd,
                             m_ui->cmdRemove, m_ui->cmdEdit);

    m_tipTimer = new QTimer(this);
    m_tipTimer->setObjectName(QStringLiteral("tipTimer"));
    m_tipTimer->setSingleShot(true);
    m_tipTimer->setInterval(kTipDelayMs);
    connect(m_tipTimer, &QTimer::timeout, this, &Menu6::showTip);
}

Menu6::~Menu6()
{
    // The dialog and the grid go before the store they read through.
    m_activity.reset();
    m_ui->dbgEvents->setModel(nullptr);
    delete m_model;
    m_model = nullptr;
}

void Menu6::loadPage()
{
    m_model->setStore(&schedule());
    const QString folder = m_state.MediaFolder;
    m_model->setSongPictures(QPixmap(folder + QStringLiteral("cd.bmp")),
                             QPixmap(folder + QStringLiteral("nocd.bmp")));
    requery();
    setUpGrid();
    ListLook::addSongLegend(m_ui->menu6Layout, {}, folder + QStringLiteral("cd.bmp"),
                            folder + QStringLiteral("nocd.bmp"));
}

void Menu6::setUpGrid()
{
    QTableView* grid = m_ui->dbgEvents;
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    const QFontMetrics fm = grid->fontMetrics();
    grid->setTextElideMode(Qt::ElideRight);
    for (int c : {ScheduleModel::DbKey, ScheduleModel::SongKey, ScheduleModel::SongArtist})
        grid->setColumnHidden(c, true);

    QHeaderView* header = grid->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStretchLastSection(true);
    header->setHighlightSections(false);
    // "Est. Time" is 1000 twips wide (67 pixels at 96 dpi), wider only when the time or
    // the caption needs it.
    const int margin = 2 * grid->style()->pixelMetric(QStyle::PM_HeaderMargin) + 8;
    const int timeWidth =
        std::max({67, fm.horizontalAdvance(QStringLiteral("00:00 PM")) + margin,
                  header->fontMetrics().horizontalAdvance(QStringLiteral("Est. Time")) + margin});
    grid->setColumnWidth(ScheduleModel::DtScheduled, timeWidth);
    const int ch = fm.averageCharWidth();
    grid->setColumnWidth(ScheduleModel::Name, ch * 27);
    grid->setColumnWidth(ScheduleModel::SongTitle, ch * 20 + 20);
    const QString whoCaption = m_model->headerData(ScheduleModel::Who, Qt::Horizontal).toString();
    grid->setColumnWidth(
        ScheduleModel::Who,
        std::max(ch * 15, header->fontMetrics().horizontalAdvance(whoCaption) + margin));

    // Cell tips: the cell's full text after the pointer rested on it for a second.
    grid->viewport()->setMouseTracking(true);
    grid->viewport()->installEventFilter(this);
}

bool Menu6::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->dbgEvents->viewport()) {
        switch (event->type()) {
        case QEvent::ToolTip:
            return true; // the grid's own, quicker tips give way to the rested ones
        case QEvent::MouseMove: {
            const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (m_ui->dbgEvents->indexAt(pos) != m_ui->dbgEvents->indexAt(m_tipPos))
                QToolTip::hideText();
            m_tipPos = pos;
            m_tipTimer->start();
            break;
        }
        case QEvent::Leave:
            m_tipTimer->stop(); // a tip already shown goes by itself when the pointer moves on
            break;
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
        case QEvent::Hide:
            m_tipTimer->stop();
            QToolTip::hideText();
            break;
        default:
            break;
        }
    }
    return WizardPage::eventFilter(watched, event);
}

void Menu6::showTip()
{
    QTableView* grid = m_ui->dbgEvents;
    const QModelIndex index = grid->indexAt(m_tipPos);
    if (!index.isValid() || !grid->viewport()->isVisible())
        return;
    const QString text = index.data(Qt::ToolTipRole).toString();

    if (text.isEmpty())
        return;
    QToolTip::showText(grid->viewport()->mapToGlobal(m_tipPos), text, grid->viewport());
}

// The time a new activity starts from: the event's start time; when the start time was
// never set, 6:00 PM (the time and place page's own default) on the event's date.
double Menu6::startTimePreset() const
{
    if (m_state.StartTime != 0)
        return m_state.StartTime;
    return OleDate::fromDateTime(OleDate::datePart(m_state.EventDate), QTime(18, 0));
}

ScheduleStore& Menu6::schedule() const
{
    return m_wizard.store().schedule();
}

void Menu6::addActivity()
{
    frmActivity& dialog = m_activity.get(
        m_state, m_wizard, [this](const std::optional<ActivityRecord>& a) { AddReturn(a); }, this);
    dialog.setTime(startTimePreset());
    m_editKey.reset();
    openDialog(dialog);
}

// The current activity in the dialog; its Save writes over the activity's own row.
void Menu6::editActivity()
{
    const QModelIndex current = m_ui->dbgEvents->currentIndex();
    const QVariant key = m_model->keyOf(current.row());
    if (!current.isValid() || key.isNull())
        return;
    frmActivity& dialog = m_activity.get(
        m_state, m_wizard, [this](const std::optional<ActivityRecord>& a) { AddReturn(a); }, this);
    dialog.edit(m_model->activityOf(current.row()));
    m_editKey = key.toLongLong();
    openDialog(dialog);
}

void Menu6::openDialog(frmActivity& dialog)
{
    m_shownDialog = &dialog;
    // Only the dialog is on the screen while it is open, in the page's place.
    if (!dialog.isVisible()) {
        dialog.adjustSize();
        dialog.move(frameGeometry().center() - dialog.rect().center());
    }
    hide();
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

void Menu6::AddReturn(const std::optional<ActivityRecord>& activity)
{
    show();
    raise();
    activateWindow();
    frmActivity* dialog = m_shownDialog;
    m_shownDialog = nullptr;
    if (dialog)
        dialog->hide();
    const std::optional<qint64> editKey = std::exchange(m_editKey, std::nullopt);
    if (!activity || !dialog)
        return;

    QVariant newKey;
    if (editKey) {
        QString moved;
        if (!m_wizard.store().checkInPlace(&moved) || !schedule().update(*editKey, *activity)) {
            MessageBox::show(QStringLiteral("The activity could not be changed in the event "
                                            "database (%1).\n\nThe schedule is as it was.")
                                 .arg(moved.isEmpty() ? schedule().errorString() : moved),
                             QStringLiteral("Unable to save"), QMessageBox::Ok,
                             QMessageBox::Warning, this);
            return;
        }
        newKey = *editKey;
    } else if (!storeActivity(*activity, &newKey)) {
        // Nothing was stored; the dialog keeps the activity for another try.
        MessageBox::show(QStringLiteral("The activity could not be saved to the event database "
                                        "(%1).\n\nThe schedule is as it was. The activity is still "
                                        "in the activity dialog: press Add to try again.")
                             .arg(m_lastError),
                         QStringLiteral("Unable to save"), QMessageBox::Ok, QMessageBox::Warning,
                         this);
        return;
    }
    requery(newKey);
}

// Writes one row with only the fields the activity has.
bool Menu6::storeActivity(const ActivityRecord& activity, QVariant* newKey)
{
    QString moved;
    if (!m_wizard.store().checkInPlace(&moved)) {
        m_lastError = QStringLiteral("the file was moved, replaced or deleted while the Feteplan "
                                     "was open; put it back where it was");
        return false;
    }
    const std::optional<qint64> stored = schedule().insert(activity);
    if (!stored) {
        m_lastError = schedule().errorString();
        return false;
    }
    *newKey = *stored;
    return true;
}

void Menu6::removeActivity()
{
    const QModelIndex current = m_ui->dbgEvents->currentIndex();
    if (!current.isValid())
        return;
    const int row = current.row();
    const QVariant key = m_model->keyOf(row);
    const ScheduleStore::Row removed = m_model->storedRow(row);
    QString moved;
    if (!m_wizard.store().checkInPlace(&moved)) {
        MessageBox::show(moved, QStringLiteral("Unable to remove"), QMessageBox::Ok,
                         QMessageBox::Warning, this);
        return;
    }
    if (!schedule().remove(key.toLongLong())) {
        MessageBox::show(QStringLiteral("The activity could not be removed from the event database "
                                        "(%1).\n\nThe schedule is as it was.")
                             .arg(schedule().errorString()),
                         QStringLiteral("Unable to remove"), QMessageBox::Ok, QMessageBox::Warning,
                         this);
        return;
    }
    requery({}, row);
    QString what = QStringLiteral("\"%1\"").arg(removed[ScheduleStore::Name].toString());
    if (!removed[ScheduleStore::DtScheduled].isNull())
        what += QStringLiteral(" at %1").arg(
            ScheduleModel::mediumTime(removed[ScheduleStore::DtScheduled].toDouble()));
    m_look->undoLine()->offer(what, [this, removed] { return putBack(removed); });
}

// Stores a removed activity again as it was, its key included.
bool Menu6::putBack(const ScheduleStore::Row& row)
{
    QString moved;
    if (!m_wizard.store().checkInPlace(&moved) || !schedule().restore(row)) {
        MessageBox::show(QStringLiteral("The activity could not be put back into the event "
                                        "database (%1).")
                             .arg(moved.isEmpty() ? schedule().errorString() : moved),
                         QStringLiteral("Unable to undo"), QMessageBox::Ok, QMessageBox::Warning,
                         this);
        return false;
    }
    requery(row[ScheduleStore::DbKey]);
    return true;
}

// Runs the grid's statement again and makes the row of `selectKey` (or the row at
// `fallbackRow`, or the nearest one) current.
bool Menu6::requery(const QVariant& selectKey, int fallbackRow)
{
    if (!m_model->refresh()) {
        MessageBox::show(QStringLiteral("The schedule could not be read from the event database "
                                        "(%1).")
                             .arg(m_model->errorString()),
                         QStringLiteral("Event Schedule"), QMessageBox::Ok, QMessageBox::Warning,
                         this);
        return false;
    }
    int row = selectKey.isValid() ? m_model->rowOf(selectKey.toLongLong()) : -1;
    if (row < 0 && fallbackRow >= 0)
        row = std::min(fallbackRow, m_model->rowCount() - 1);
    if (row >= 0) {
        const QModelIndex index = m_model->index(row, ScheduleModel::Name);
        m_ui->dbgEvents->setCurrentIndex(index);
        m_ui->dbgEvents->scrollTo(index);
    }
    return true;
}

void Menu6::focusFinding(qint64 item)
{
    m_look->focusRow(m_model->rowOf(item));
}
