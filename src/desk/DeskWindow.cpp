#include "desk/DeskWindow.h"

#include "desk/DeskEventView.h"
#include "plan/PlanFacts.h"
#include "platform/SafeReplace.h"
#include "ui/BusyPointer.h"
#include "ui/FolderView.h"
#include "ui/MessageBox.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace
{
enum Column { Date, Couple, Place, DaysToGo, Problems, Advice, Received, Mark, ColumnCount };

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

QString dateText(const PlanValue<QDate>& date)
{
    switch (date.state) {
    case PlanValue<QDate>::Given:
        return kUs.toString(date.value, QStringLiteral("ddd, MMM d, yyyy"));
    case PlanValue<QDate>::Unreadable:
        return PlanFacts::kUnreadable;
    default:
        return PlanFacts::kNotChosen;
    }
}

QString daysText(const std::optional<qint64>& days)
{
    if (!days)
        return QString();
    if (*days == 0)
        return QStringLiteral("today");
    const qint64 n = qAbs(*days);
    const QString count = n == 1 ? QStringLiteral("1 day") : QStringLiteral("%1 days").arg(n);
    return *days > 0 ? count : count + QStringLiteral(" ago");
}
// "Dec 8, 12:17 AM" this year, "Nov 29, 2025" before.
QString receivedText(const QDateTime& received)
{
    const QDateTime local = received.toLocalTime();
    return kUs.toString(local, local.date().year() == QDate::currentDate().year()
                                   ? QStringLiteral("MMM d, h:mm AP")
                                   : QStringLiteral("MMM d, yyyy"));
}
} // namespace

DeskWindow::DeskWindow(const QString& folder, const QString& catalogue, QWidget* parent)
    : QMainWindow(parent), m_folder(folder, catalogue)
{
    setObjectName(QStringLiteral("DeskWindow"));
    setWindowTitle(QStringLiteral("Feteplan Desk - %1").arg(QFileInfo(folder).fileName()));
    setAcceptDrops(true);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& text, const QString& name, auto slot) {
        auto* b = new QPushButton(text, central);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    QPushButton* add = button(QStringLiteral("&Add Event..."), QStringLiteral("cmdAddEvent"),
                              &DeskWindow::chooseFiles);
    add->setToolTip(QStringLiteral("Take event files from couples into the desk's folder "
                                   "(Ctrl+O); files may also be dropped on the window"));
    m_open = button(QStringLiteral("&Open"), QStringLiteral("cmdOpen"),
                    [this] { openEvent(m_list->indexOfTopLevelItem(m_list->currentItem())); });
    m_calendar = button(QStringLiteral("&Calendar of Upcoming Events..."),
                        QStringLiteral("cmdCalendar"), &DeskWindow::chooseCalendar);
    buttons->addStretch();
    button(QStringLiteral("Show &Folder"), QStringLiteral("cmdShowFolder"),
           [this] { FolderView::show(m_folder.folder()); });
    layout->addLayout(buttons);

    m_list = new QTreeWidget(central);
    m_list->setObjectName(QStringLiteral("tblEvents"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->setHeaderLabels({QStringLiteral("Date"), QStringLiteral("Couple"),
                             QStringLiteral("Place"), QStringLiteral("Days to Go"),
                             QStringLiteral("Problems"), QStringLiteral("Advice"),
                             QStringLiteral("Received"), QStringLiteral("Status")});
    connect(m_list, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { openEvent(m_list->indexOfTopLevelItem(item)); });
    connect(m_list, &QTreeWidget::currentItemChanged, this, &DeskWindow::updateButtons);
    layout->addWidget(m_list, 1);

    m_status = new QLabel(central);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_status);
    setCentralWidget(central);

    new QShortcut(QKeySequence::Open, this, [this] { chooseFiles(); });
    new QShortcut(QKeySequence::Refresh, this, [this] { refresh(); });
    refresh();
    // Wide enough for the columns as filled, within the screen.
    const QRect screen = this->screen()->availableGeometry();
    const int wide = m_columnsWidth + m_list->verticalScrollBar()->sizeHint().width() +
                     4 * m_list->frameWidth() + 2 * layout->contentsMargins().left();
    resize(qBound(fontMetrics().averageCharWidth() * 100, wide, screen.width() * 19 / 20),
           qMin(fontMetrics().height() * 34, screen.height() * 8 / 10));
    m_list->setFocus();
}

void DeskWindow::refresh()
{
    const BusyPointer busy;
    const QTreeWidgetItem* current = m_list->currentItem();
    const QString selected = current ? current->data(0, Qt::UserRole).toString() : QString();
    m_folder.scan(QDate::currentDate());
    m_list->clear();
    QList<QTreeWidgetItem*> items;
    for (const DeskEvent& e : m_folder.events()) {
        auto* item = new QTreeWidgetItem;
        fillRow(item, e);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    // Each column as wide as its widest text; names and places up to 40 characters. The last
    // column takes the room that is left once measured.
    m_list->header()->setStretchLastSection(false);
    for (int c = 0; c < ColumnCount; ++c) {
        m_list->resizeColumnToContents(c);
        if (c == Couple || c == Place)
            m_list->setColumnWidth(
                c, qMin(m_list->columnWidth(c), m_list->fontMetrics().averageCharWidth() * 40));
    }
    m_columnsWidth = m_list->header()->length();
    m_list->header()->setStretchLastSection(true);
    for (QTreeWidgetItem* item : items)
        if (item->data(0, Qt::UserRole).toString() == selected)
            m_list->setCurrentItem(item);
    if (!m_list->currentItem() && !items.isEmpty())
        m_list->setCurrentItem(items.front());
    showStatus();
    updateButtons();
}

void DeskWindow::fillRow(QTreeWidgetItem* item, const DeskEvent& e)
{
    QStringList marks;
    if (e.changed)
        marks << (e.opened ? QStringLiteral("Changed") : QStringLiteral("New"));
    if (e.late)
        marks << QStringLiteral("Late");
    const QStringList texts{dateText(e.plan.Times.Date),       PlanFacts::coupleNames(e.plan),
                            e.plan.Facility.Name.simplified(), daysText(e.daysToGo),
                            QString::number(e.problems),       QString::number(e.advice),
                            receivedText(e.received),          marks.join(QStringLiteral(", "))};
    for (int c = 0; c < ColumnCount; ++c)
        item->setText(c, texts[c]);
    item->setData(0, Qt::UserRole, e.key);
    for (int c : {DaysToGo, Problems, Advice})
        item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    item->setToolTip(Couple, QDir::toNativeSeparators(e.file));
    if (e.late)
        item->setToolTip(Mark, QStringLiteral("This copy arrived after the plan became final."));
    QFont font = m_list->font();
    font.setBold(e.changed);
    for (int c = 0; c < ColumnCount; ++c) {
        item->setFont(c, font);
        // Past events stay readable but step back.
        if (e.isPast())
            item->setForeground(c, palette().brush(QPalette::Disabled, QPalette::Text));
    }
}

void DeskWindow::showStatus(const QString& news)
{
    const int count = int(m_folder.events().size());
    QString text =
        QStringLiteral("%1 in %2.")
            .arg(count == 1 ? QStringLiteral("1 event") : QStringLiteral("%1 events").arg(count),
                 QDir::toNativeSeparators(m_folder.folder()));
    const QStringList& bad = m_folder.unreadable();
    if (!bad.isEmpty())
        text += bad.size() == 1
                    ? QStringLiteral(" 1 file is not a readable event file: %1").arg(bad.front())
                    : QStringLiteral(" %1 files are not readable event files (see the tip).")
                          .arg(bad.size());
    m_status->setText(news.isEmpty() ? text : news + QLatin1Char(' ') + text);
    m_status->setToolTip(bad.join(QLatin1Char('\n')));
}

void DeskWindow::updateButtons()
{
    m_open->setEnabled(m_list->currentItem() != nullptr);
    m_calendar->setEnabled(
        std::any_of(m_folder.events().begin(), m_folder.events().end(),
                    [](const DeskEvent& e) { return e.isUpcoming(); }));
}

void DeskWindow::addFiles(const QStringList& files)
{
    QStringList said;
    bool refused = false;
    {
        const BusyPointer busy;
        for (const QString& file : files) {
            QString message;
            const DeskFolder::Outcome outcome = m_folder.add(file, &message);
            refused = refused || outcome == DeskFolder::Refused;
            said << message;
        }
    }
    refresh();
    if (refused || said.size() > 1)
        MessageBox::show(said.join(QStringLiteral("\n\n")), QStringLiteral("Add Event"),
                         QMessageBox::Ok, refused ? QMessageBox::Warning : QMessageBox::Information,
                         this);
    else
        showStatus(said.value(0));
}

void DeskWindow::openEvent(int row)
{
    if (row < 0 || row >= m_folder.events().size())
        return;
    const DeskEvent e = m_folder.events().at(row);
    QPointer<DeskEventView>& shown = m_views[e.key];
    if (shown && shown->property("eventFile").toString() != e.file)
        delete shown; // a newer copy arrived since it was opened
    if (!shown) {
        const BusyPointer busy;
        shown = new DeskEventView(e.file, e.previous, m_folder.catalogue(), this);
        shown->setWindowFlag(Qt::Window);
        shown->setAttribute(Qt::WA_DeleteOnClose);
        shown->setProperty("eventFile", e.file);
        const QString couple = PlanFacts::coupleNames(e.plan);
        shown->setWindowTitle(QStringLiteral("%1 - %2 - Feteplan Desk")
                                  .arg(couple.isEmpty() ? QStringLiteral("Event") : couple,
                                       dateText(e.plan.Times.Date)));
        // Room for the plan's page width without a sideways scroll bar, within the screen.
        const QRect screen = this->screen()->availableGeometry();
        shown->resize(qMin(fontMetrics().height() * 62, screen.width() * 9 / 10),
                      qMin(fontMetrics().height() * 48, screen.height() * 9 / 10));
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
    QString error;
    if (!m_folder.markOpened(e.key, &error)) {
        showStatus(error);
        return;
    }
    fillRow(m_list->topLevelItem(row), m_folder.events().at(row));
}

void DeskWindow::chooseFiles()
{
    const QStringList files = QFileDialog::getOpenFileNames(
        this, QStringLiteral("Add Event"), QDir::homePath(),
        QStringLiteral("Event files (*.feteplan *.mdb);;All files (*)"));
    if (!files.isEmpty())
        addFiles(files);
}

void DeskWindow::chooseCalendar()
{
    const QString file = QFileDialog::getSaveFileName(
        this, QStringLiteral("Calendar of Upcoming Events"),
        QDir(m_folder.folder()).filePath(QStringLiteral("Upcoming events.ics")),
        QStringLiteral("Calendar (*.ics)"));
    if (!file.isEmpty())
        writeCalendar(file);
}

bool DeskWindow::writeCalendar(const QString& file)
{
    QString error;
    bool written = false;
    {
        const BusyPointer busy;
        written = SafeReplace::write(
            file, m_folder.upcomingCalendar(QDateTime::currentDateTimeUtc()), &error);
    }
    if (!written) {
        MessageBox::show(
            QStringLiteral("%1 cannot be written: %2").arg(QDir::toNativeSeparators(file), error),
            QStringLiteral("Calendar of Upcoming Events"), QMessageBox::Ok, QMessageBox::Warning,
            this);
        return false;
    }
    showStatus(QStringLiteral("The calendar is in %1.").arg(QDir::toNativeSeparators(file)));
    return true;
}

void DeskWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() &&
        std::all_of(urls.begin(), urls.end(), [](const QUrl& u) { return u.isLocalFile(); }))
        event->acceptProposedAction();
}

void DeskWindow::dropEvent(QDropEvent* event)
{
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        files << url.toLocalFile();
    event->acceptProposedAction();
    addFiles(files);
}
