#include "desk/DeskEventView.h"

#include "catalogue/LibrarySongs.h"
#include "plan/DjExport.h"
#include "plan/PlanChecks.h"
#include "plan/PlanDiff.h"
#include "plan/PlanDocument.h"
#include "plan/PlanExport.h"
#include "plan/PlanFacts.h"
#include "platform/PathMap.h"
#include "sound/NameSayList.h"
#include "sound/NameSpeaker.h"
#include "store/EventSnapshot.h"
#include "ui/BusyPointer.h"
#include "ui/FittedTextBrowser.h"
#include "ui/FolderView.h"
#include "ui/MessageBox.h"
#include "wizard/PlanReview.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
enum Tab { PlanTab, RunSheetTab };
} // namespace

DeskEventView::DeskEventView(const QString& eventFile, const QString& previousFile,
                             const QString& catalogueFile, QWidget* parent)
    : QWidget(parent), m_eventFile(eventFile), m_previousFile(previousFile),
      m_catalogueFile(catalogueFile)
{
    auto* layout = new QVBoxLayout(this);
    m_plan = EventSnapshot::read(eventFile, &m_error);
    if (!m_plan) {
        auto* message = new QLabel(m_error, this);
        message->setObjectName(QStringLiteral("lblUnreadable"));
        message->setWordWrap(true);
        layout->addWidget(message);
        return;
    }
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabEvent"));
    layout->addWidget(m_tabs);

    const QList<PlanFinding> findings =
        PlanChecks::run(*m_plan, QDate::currentDate(), PlanChecks::ForEntertainer);
    addDocumentTab(PlanDocument(*m_plan, findings, PathMap::mediaFolder()), tr("Plan"),
                   QStringLiteral("tabPlan"));
    addDocumentTab(PlanDocument::runSheet(*m_plan, findings), tr("Run Sheet"),
                   QStringLiteral("tabRunSheet"));
    addChangesTab();
    addSongsTab();
    m_ownSpeaker = std::make_unique<NameSpeaker>();
    m_names = new NameSayList(*m_plan, m_ownSpeaker.get(), m_tabs);
    m_tabs->addTab(m_names, tr("Names"));

    auto* buttons = new QHBoxLayout;
    m_savePdf = new QPushButton(tr("Save as &PDF..."), this);
    m_savePdf->setObjectName(QStringLiteral("cmdSavePdf"));
    m_print = new QPushButton(tr("&Print..."), this);
    m_print->setObjectName(QStringLiteral("cmdPrint"));
    m_export = new QPushButton(tr("&Export Playlists..."), this);
    m_export->setObjectName(QStringLiteral("cmdExport"));
    m_export->setToolTip(tr("Write the song lists, the schedule's calendar, the recorded names "
                            "and the playlists for DJ software into a folder"));
    for (QPushButton* b : {m_savePdf, m_print, m_export}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(m_savePdf, &QPushButton::clicked, this, &DeskEventView::savePdf);
    connect(m_print, &QPushButton::clicked, this, &DeskEventView::print);
    connect(m_export, &QPushButton::clicked, this, &DeskEventView::exportPlaylists);
    connect(m_tabs, &QTabWidget::currentChanged, this, &DeskEventView::updateButtons);
    updateButtons();
}

DeskEventView::~DeskEventView() = default;

void DeskEventView::setSpeaker(NameSpeaker* speaker)
{
    if (m_names)
        m_names->setSpeaker(speaker);
    if (speaker != m_ownSpeaker.get())
        m_ownSpeaker.reset();
}

void DeskEventView::addDocumentTab(PlanDocument document, const QString& title,
                                   const QString& objectName)
{
    auto* browser = new FittedTextBrowser(m_tabs);
    browser->setObjectName(objectName);
    m_shown.push_back(document.textDocument());
    m_documents.push_back(std::make_unique<PlanDocument>(std::move(document)));
    browser->setDocument(m_shown.back().get());
    m_tabs->addTab(browser, title);
}

void DeskEventView::addChangesTab()
{
    auto* browser = new QTextBrowser(m_tabs);
    browser->setObjectName(QStringLiteral("txtChanges"));
    m_tabs->addTab(browser, tr("What changed"));
    if (m_previousFile.isEmpty()) {
        browser->setPlainText(tr("This is the first version of this event: there is no earlier "
                                 "one to compare it with."));
        return;
    }
    QString error;
    const std::optional<EventPlan> before = EventSnapshot::read(m_previousFile, &error);
    if (!before) {
        browser->setPlainText(
            tr("The earlier version of this event cannot be read.\n%1").arg(error));
        return;
    }
    const PlanDiff diff(*before, *m_plan);
    if (diff.isEmpty())
        browser->setPlainText(tr("Nothing changed since the earlier version."));
    else
        browser->setHtml(diff.richText());
}

void DeskEventView::addSongsTab()
{
    auto* page = new QWidget(m_tabs);
    page->setObjectName(QStringLiteral("pageSongs"));
    auto* layout = new QVBoxLayout(page);
    auto* note = new QLabel(page);
    note->setObjectName(QStringLiteral("lblLibrary"));
    note->setWordWrap(true);
    note->setTextFormat(Qt::PlainText);
    layout->addWidget(note);

    m_library = std::make_unique<LibrarySongs>();
    if (!m_catalogueFile.isEmpty() && !m_library->read(m_catalogueFile, &m_libraryError))
        m_library = std::make_unique<LibrarySongs>();
    const DjExport matched(*m_plan, *m_library);

    auto* tree = new QTreeWidget(page);
    tree->setObjectName(QStringLiteral("treeSongs"));
    tree->setHeaderLabels({tr("Song"), tr("Artist"), tr("Length"), tr("File")});
    tree->setRootIsDecorated(false);
    tree->setAlternatingRowColors(true);
    // Music the couple brings along needs no file of the library. The two lists' entries are
    // in the lists' order; the schedule's name their activity's song.
    const auto provided = [this](qsizetype group, qsizetype at, const DjExport::Entry& e) {
        if (group < 2)
            return (group == 0 ? m_plan->Include : m_plan->Exclude).value(at).musicProvided();
        return std::any_of(m_plan->Schedule.begin(), m_plan->Schedule.end(),
                           [&](const ScheduledActivity& a) {
                               return a.SongKey == PlanSong::kMusicProvided &&
                                      a.SongTitle == e.title && a.SongArtist == e.artist;
                           });
    };
    const QStringList groups{tr("Must play"), tr("Do not play"), tr("The schedule's songs")};
    int songs = 0;
    int withFile = 0;
    for (qsizetype g = 0; g < matched.playlists().size(); ++g) {
        const DjExport::Playlist& list = matched.playlists()[g];
        auto* group = new QTreeWidgetItem(
            tree, {tr("%1 (%2)").arg(groups.value(g)).arg(list.entries.size())});
        group->setFirstColumnSpanned(true);
        QFont bold = group->font(0);
        bold.setBold(true);
        group->setFont(0, bold);
        for (qsizetype at = 0; at < list.entries.size(); ++at) {
            const DjExport::Entry& e = list.entries[at];
            ++songs;
            auto* item = new QTreeWidgetItem(
                group, {e.title, e.artist,
                        e.seconds > 0 ? PlanFacts::durationText(e.seconds) : QString()});
            if (e.song) {
                ++withFile;
                item->setText(3, QDir::toNativeSeparators(e.song->path));
            } else {
                item->setText(3, provided(g, at, e)          ? tr("music provided by the couple")
                                 : m_catalogueFile.isEmpty() ? tr("not known")
                                                             : tr("no file in the library"));
                QFont italic = item->font(3);
                italic.setItalic(true);
                item->setFont(3, italic);
                item->setForeground(3, palette().color(QPalette::Disabled, QPalette::Text));
            }
        }
    }
    tree->expandAll();
    for (int c = 0; c < 3; ++c)
        tree->resizeColumnToContents(c);
    layout->addWidget(tree);
    if (m_catalogueFile.isEmpty())
        note->setText(tr("No catalogue is set: which songs have a file is not known."));
    else if (!m_libraryError.isEmpty())
        note->setText(tr("The catalogue cannot be read: %1").arg(m_libraryError));
    else
        note->setText(tr("%1 of %2 songs have a file in the library %3.")
                          .arg(withFile)
                          .arg(songs)
                          .arg(QDir::toNativeSeparators(m_catalogueFile)));
    m_tabs->addTab(page, tr("Songs"));
}

const PlanDocument* DeskEventView::shownDocument() const
{
    const int tab = m_tabs->currentIndex();
    return tab == PlanTab || tab == RunSheetTab ? m_documents[size_t(tab)].get() : nullptr;
}

void DeskEventView::updateButtons()
{
    const bool document = shownDocument() != nullptr;
    for (QPushButton* b : {m_savePdf, m_print}) {
        b->setEnabled(document);
        b->setToolTip(document ? QString()
                               : tr("Show the plan or the run sheet to save or print it"));
    }
}

void DeskEventView::savePdf()
{
    const PlanDocument* document = shownDocument();
    if (!document)
        return;
    const bool plan = m_tabs->currentIndex() == PlanTab;
    PlanReview::savePdf(this, *document,
                        plan ? tr("Save the Plan as PDF") : tr("Save the Run Sheet as PDF"),
                        plan ? PlanReview::pdfFileName(*m_plan)
                             : PlanReview::runSheetFileName(*m_plan),
                        plan ? tr("The plan was saved as") : tr("The run sheet was saved as"));
}

void DeskEventView::print()
{
    if (const PlanDocument* document = shownDocument())
        PlanReview::print(this, *document,
                          PlanReview::pdfFileName(*m_plan).chopped(4));
}

void DeskEventView::exportPlaylists()
{
    QFileDialog dialog(this, tr("Export the Playlists into a Folder"));
    dialog.setObjectName(QStringLiteral("dlgExportFolder"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setDirectory(FolderView::documents());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString folder = dialog.selectedFiles().first();
    const QString title = tr("Export Playlists");
    if (!m_libraryError.isEmpty()) {
        MessageBox::show(tr("The playlists were not exported: the catalogue cannot be read.\n\n%1")
                             .arg(m_libraryError),
                         title, QMessageBox::Ok, QMessageBox::Warning, this);
        return;
    }
    QString error;
    bool written = false;
    {
        const BusyPointer busy;
        written = PlanExport::writeAll(*m_plan, folder, QDateTime::currentDateTimeUtc(), &error) &&
                  DjExport(*m_plan, *m_library).writeAll(folder, &error);
    }
    if (!written) {
        MessageBox::show(tr("The playlists could not be exported.\n\n%1").arg(error), title,
                         QMessageBox::Ok, QMessageBox::Warning, this);
        return;
    }
    QString text = tr("The playlists were saved in\n\n%1").arg(QDir::toNativeSeparators(folder));
    if (m_catalogueFile.isEmpty())
        text += tr("\n\nNo catalogue is set, so the playlists name no files; missing.csv lists "
                   "every song.");
    MessageBox::show(text, title, QMessageBox::Ok, QMessageBox::Information, this);
}
