#include "frmLoadData.h"

#include "ui_frmLoadData.h"

#include "catalogue/MediumFiles.h"
#include "platform/PathMap.h"
#include "platform/SafeReplace.h"
#include "ui/BusyPointer.h"
#include "ui/MessageBox.h"
#include "ui/ProgramEnd.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStorageInfo>

namespace
{
const QString kCatalogue = MediumFiles::catalogue();

// The sample medium built with the program: where an installation puts it (share/ beside
// bin/), beside the program, or in the build tree.
QString sampleMedium()
{
    QStringList places;
    if (QCoreApplication::instance()) {
        const QString bin = QCoreApplication::applicationDirPath();
#ifdef ZEL_BIN_TO_MEDIUM
        places << bin + QStringLiteral("/" ZEL_BIN_TO_MEDIUM);
#endif
        places << bin + QStringLiteral("/../medium") << bin + QStringLiteral("/medium");
    }
#ifdef ZEL_MEDIUM_DIR
    places << QStringLiteral(ZEL_MEDIUM_DIR);
#endif
    for (const QString& p : places)
        if (QFileInfo::exists(QDir(p).filePath(kCatalogue)))
            return QDir::cleanPath(p);
    return {};
}

// Copies one file under a temporary name beside the target and replaces the target with it
// whole (SafeReplace), so an interrupted copy never leaves a truncated file in place of a
// good one.
bool copyReplacing(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    SafeReplace replace(to);
    QFile target(replace.temporaryName());
    if (!replace.isReady() || !target.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    while (!(chunk = source.read(1 << 20)).isEmpty())
        if (target.write(chunk) != chunk.size())
            return false;
    if (source.error() != QFileDevice::NoError || !target.flush())
        return false;
    target.close();
    return replace.commit();
}
} // namespace

const QStringList& frmLoadData::dataFiles()
{
    static const QStringList files = MediumFiles::required() + QStringList{kCatalogue};
    return files;
}

frmLoadData::frmLoadData(QWidget* owner) : QDialog(owner), m_ui(std::make_unique<Ui::frmLoadData>())
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    fillDrives();
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &frmLoadData::load);
    connect(m_ui->cmdBrowse, &QPushButton::clicked, this, &frmLoadData::browse);
    connect(m_ui->Drive1, &QComboBox::currentIndexChanged, this, &frmLoadData::showSource);
    showSource();
}

frmLoadData::~frmLoadData() = default;

void frmLoadData::fillDrives()
{
    // The sample data built with the program comes first and is selected, so a new user
    // only presses Load; then the machine's volumes and removable media.
    const QString sample = sampleMedium();
    if (!sample.isEmpty())
        addSource(sample, QStringLiteral("Feteplan sample data"), true);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString fs = QString::fromLatin1(volume.fileSystemType());
        static const QStringList pseudo{
            "proc",    "sysfs",    "devtmpfs", "devpts",    "tmpfs",      "cgroup",     "cgroup2",
            "overlay", "squashfs", "mqueue",   "debugfs",   "securityfs", "pstore",     "bpf",
            "tracefs", "fusectl",  "configfs", "hugetlbfs", "autofs",     "binfmt_misc"};
        if (pseudo.contains(fs))
            continue;
        const QString name =
            volume.displayName() == volume.rootPath()
                ? volume.rootPath()
                : QStringLiteral("%1 (%2)").arg(volume.displayName(), volume.rootPath());
        addSource(volume.rootPath(), name, false);
    }
}

void frmLoadData::addSource(const QString& folder, const QString& label, bool select)
{
    const QString path = QDir::cleanPath(folder);
    int index = m_ui->Drive1->findData(path);
    if (index < 0) {
        m_ui->Drive1->addItem(label, path);
        index = m_ui->Drive1->count() - 1;
    }
    if (select)
        m_ui->Drive1->setCurrentIndex(index);
}

QString frmLoadData::sourceFolder() const
{
    const QString path = m_ui->Drive1->currentData().toString();
    if (path.isEmpty())
        return {};
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

void frmLoadData::showSource()
{
    m_ui->lblSource->setText(QDir::toNativeSeparators(sourceFolder()));
}

void frmLoadData::browse()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Folder with the data"), sourceFolder());
    if (!folder.isEmpty())
        addSource(folder, QDir::toNativeSeparators(folder), true);
}

void frmLoadData::load()
{
    const QString source = sourceFolder();
    // The catalogue must be there under exactly this name, letter case included.
    const bool found =
        !source.isEmpty() && QDir(source).entryList(QDir::Files).contains(kCatalogue);
    if (!found) {
        MessageBox::show(QStringLiteral("Unable to load data from this location"),
                         QStringLiteral("Data files not found"), QMessageBox::Ok,
                         QMessageBox::NoIcon, this);
        return;
    }
    m_ui->cmdOK->hide();
    m_ui->cmdBrowse->setEnabled(false);
    m_ui->Drive1->setEnabled(false);
    QCoreApplication::processEvents();
    bool copied;
    {
        BusyPointer busy;
        copied = copyDataSet(source);
    }
    if (!copied) {
        MessageBox::show(QStringLiteral("Error during load."), QStringLiteral("Data Error"),
                         QMessageBox::Ok, QMessageBox::NoIcon, this);
        ProgramEnd::end(1);
        hide();
        return;
    }
    accept();
}

bool frmLoadData::copyDataSet(const QString& source)
{
    // The folders are made by the start-up before this dialog opens; a missing one is an
    // error here, not something to create.
    const QString media = PathMap::mediaFolder();
    const QString db = PathMap::dbFolder();
    for (const QString& name : dataFiles()) {
        const QString to = (name == kCatalogue ? db : media) + name;
        if (!QDir(QFileInfo(to).path()).exists() || !copyReplacing(source + name, to))
            return false; // files copied before stay copied
    }
    // The schedule's song pictures come with the data set when the medium has them; a
    // medium without them still loads (the schedule then shows no pictures).
    for (const QString& name : MediumFiles::optional()) {
        if (QFileInfo::exists(source + name) && !copyReplacing(source + name, media + name))
            return false;
    }
    return true;
}

void frmLoadData::reject()
{
    // Without the data the wizard cannot go on.
    ProgramEnd::end(1);
    QDialog::reject();
}
