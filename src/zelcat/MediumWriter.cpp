#include "MediumWriter.h"

#include "catalogue/CatalogueFormat.h"
#include "catalogue/MediumFiles.h"
#include "store/SqlConnection.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <unistd.h>

namespace
{
// The texts and pictures built into the tool: those of the sample medium.
const QString kBuiltIn = QStringLiteral(":/medium/");

// Whether `bytes` begin as a file named `name` must: an RTF text, a JPEG or a BMP picture.
bool looksRight(const QString& name, const QByteArray& bytes)
{
    if (name.endsWith(QLatin1String(".rtf")))
        return bytes.startsWith("{\\rtf");
    if (name.endsWith(QLatin1String(".jpg")))
        return bytes.startsWith("\xFF\xD8\xFF");
    return bytes.startsWith("BM");
}

// Writes `bytes` as `path` and puts it on the disk.
bool writeSynced(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush() &&
           ::fsync(f.handle()) == 0;
}
} // namespace

bool MediumWriter::fail(const QString& message)
{
    m_error = message + QStringLiteral("; no medium was written");
    return false;
}

bool MediumWriter::checkCatalogue(const QString& file)
{
    // A damaged file, another program's database or a catalogue the wizard cannot search is
    // refused here, before anything is written.
    const QFileInfo info(file);
    if (!info.isFile())
        return fail(QStringLiteral("the catalogue %1 does not exist or is not a file").arg(file));
    SqlConnection c(file, SqlConnection::ReadOnly);
    if (!c.isOpen())
        return fail(
            QStringLiteral("the catalogue %1 cannot be read: %2").arg(file, c.errorString()));
    QSqlQuery q(c.database());
    const auto not_ = [&](const QString& why) {
        return fail(
            QStringLiteral("%1 is not a song catalogue the wizard can read: %2").arg(file, why));
    };
    if (QString reason; !CatalogueFormat::isKnown(c, &reason))
        return not_(reason);
    if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next() ||
        q.value(0).toString() != QLatin1String("ok"))
        return not_(QStringLiteral("the file is damaged"));
    if (!q.exec(QStringLiteral("SELECT %1 FROM MUSIC LIMIT 0")
                    .arg(CatalogueFormat::musicColumns().join(QStringLiteral(", ")))) ||
        !q.exec(QStringLiteral("SELECT Item, Usage FROM Config LIMIT 0")))
        return not_(QStringLiteral("its tables lack columns the search needs (%1)")
                        .arg(StoreError::plain(q.lastError())));
    if (!q.exec(QStringLiteral("SELECT count(*), min(dbKey), max(dbKey) FROM MUSIC")) || !q.next())
        return not_(StoreError::plain(q.lastError()));
    m_songs = q.value(0).toInt();
    if (m_songs == 0)
        return not_(QStringLiteral("it holds no songs"));
    if (q.value(1).toLongLong() < 1 || q.value(2).toLongLong() > CatalogueFormat::kMaxKey)
        return not_(QStringLiteral("its song keys pass the range 1 to %1 of the wizard's lists")
                        .arg(CatalogueFormat::kMaxKey));

    // The entertainer the couple's pages name, as the catalogue's settings say.
    QStringList said;
    q.exec(QStringLiteral("SELECT Item, Usage FROM Config WHERE Item IN ('EntName', 'EntPhone', "
                          "'EntEmail', 'FinalDays') AND trim(Usage) <> '' ORDER BY Item"));
    while (q.next())
        said << QStringLiteral("%1 %2").arg(q.value(0).toString(), q.value(1).toString().trimmed());
    m_entertainer =
        said.isEmpty()
            ? QStringLiteral("note: the catalogue's settings name no entertainer "
                             "(EntName, EntPhone, EntEmail, FinalDays in Config): "
                             "the couple's pages will not say how to reach you\n")
            : QStringLiteral("settings for the couple: %1\n").arg(said.join(QStringLiteral(", ")));
    return true;
}

bool MediumWriter::checkMedia(const QString& from)
{
    const QString folder = from.isEmpty() ? kBuiltIn : QDir(from).absolutePath() + QLatin1Char('/');
    if (!from.isEmpty() && !QFileInfo(from).isDir())
        return fail(QStringLiteral("--from %1 is not a folder").arg(from));
    for (const QString& name : MediumFiles::required() + MediumFiles::optional()) {
        QFile f(folder + name);
        const bool required = MediumFiles::required().contains(name);
        if (!f.exists() && !required)
            continue;
        if (!QFileInfo(f).isFile()) // also a pipe or a device, which would never end
            return fail(QStringLiteral("%1 is missing or not a file").arg(f.fileName()));
        if (!f.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("%1 cannot be read: %2").arg(f.fileName(), f.errorString()));
        if (!looksRight(name, f.read(16)))
            return fail(QStringLiteral("%1 is not %2")
                            .arg(f.fileName(), name.endsWith(QLatin1String(".rtf"))
                                                   ? QStringLiteral("an RTF text")
                                               : name.endsWith(QLatin1String(".jpg"))
                                                   ? QStringLiteral("a JPEG picture")
                                                   : QStringLiteral("a BMP picture")));
    }
    return true;
}

bool MediumWriter::checkTarget(const QString& out)
{
    const QFileInfo info(out);
    if (!info.exists())
        return true;
    if (!info.isDir())
        return fail(QStringLiteral("%1 is a file, not a folder").arg(out));
    if (info.isSymLink()) // the link would be replaced, not the folder it names
        return fail(QStringLiteral("%1 is a link; give the folder it names").arg(out));
    // A medium made before holds the catalogue and nothing but files of a medium.
    const QStringList ours =
        MediumFiles::required() + MediumFiles::optional() + QStringList{MediumFiles::catalogue()};
    const QFileInfoList entries = QDir(out).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                          QDir::System | QDir::NoDotAndDotDot);
    const bool medium = QFileInfo(QDir(out).filePath(MediumFiles::catalogue())).isFile();
    for (const QFileInfo& e : entries)
        if (!medium || !e.isFile() || e.isSymLink() || !ours.contains(e.fileName()))
            return fail(QStringLiteral("%1 is not empty and not a medium (it holds \"%2\"); give a "
                                       "new or empty folder, or a medium made before")
                            .arg(out, e.fileName()));
    return true;
}

bool MediumWriter::fill(const Options& o, const QString& folder)
{
    const QString from =
        o.from.isEmpty() ? kBuiltIn : QDir(o.from).absolutePath() + QLatin1Char('/');
    for (const QString& name : MediumFiles::required() + MediumFiles::optional()) {
        QFile f(from + name);
        if (!f.exists())
            continue;
        if (!f.open(QIODevice::ReadOnly) || !writeSynced(folder + name, f.readAll()))
            return fail(QStringLiteral("%1 cannot be written to %2").arg(name, folder));
    }
    // The engine makes the copy: one committed state of the catalogue, whatever journal it
    // has, as one file without a journal beside it; then the copy is checked again.
    const QString copy = folder + MediumFiles::catalogue();
    {
        SqlConnection source(o.catalogue, SqlConnection::ReadOnly);
        QSqlQuery q(source.database());
        q.prepare(QStringLiteral("VACUUM INTO ?"));
        q.addBindValue(copy);
        if (!source.isOpen() || !q.exec())
            return fail(QStringLiteral("the catalogue cannot be copied: %1")
                            .arg(source.isOpen() ? StoreError::plain(q.lastError())
                                                 : source.errorString()));
    }
    SqlConnection c(copy, SqlConnection::ReadWrite);
    QSqlQuery q(c.database());
    if (!c.isOpen() || !q.exec(QStringLiteral("PRAGMA journal_mode = DELETE")) ||
        !q.exec(QStringLiteral("SELECT count(*) FROM MUSIC")) || !q.next() ||
        q.value(0).toInt() != m_songs)
        return fail(
            QStringLiteral("the copy of the catalogue in %1 does not read back").arg(folder));
    QFile written(copy);
    return written.open(QIODevice::ReadOnly) && ::fsync(written.handle()) == 0
               ? true
               : fail(QStringLiteral("the catalogue's copy cannot be put on the disk"));
}

bool MediumWriter::write(const Options& o)
{
    m_error.clear();
    m_summary.clear();
    const QString out = QDir::cleanPath(QDir(o.out).absolutePath());
    if (!checkCatalogue(o.catalogue) || !checkMedia(o.from) || !checkTarget(out))
        return false;
    const QFileInfo target(out);
    if (!QDir().mkpath(target.absolutePath()))
        return fail(QStringLiteral("the folder %1 cannot be made").arg(target.absolutePath()));
    QTemporaryDir work(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                       QStringLiteral(".new-XXXXXX"));
    if (!work.isValid())
        return fail(
            QStringLiteral("no folder can be made beside %1: %2").arg(out, work.errorString()));
    QFile::setPermissions(work.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                           QFile::ExeOther);
    if (!fill(o, work.path() + QLatin1Char('/')))
        return false;

    // Into place: the folder there (empty, or a medium made before) is moved aside first and
    // removed once the new one is in place; it is put back should that rename fail.
    QString old;
    if (target.exists()) {
        old = work.path() + QStringLiteral(".old");
        if (::rename(QFile::encodeName(out).constData(), QFile::encodeName(old).constData()) != 0)
            return fail(
                QStringLiteral("%1 cannot be replaced: %2").arg(out, qt_error_string(errno)));
    }
    if (::rename(QFile::encodeName(work.path()).constData(), QFile::encodeName(out).constData()) !=
        0) {
        const QString why = qt_error_string(errno);
        if (!old.isEmpty())
            ::rename(QFile::encodeName(old).constData(), QFile::encodeName(out).constData());
        return fail(QStringLiteral("%1 cannot be written: %2").arg(out, why));
    }
    work.setAutoRemove(false);
    if (!old.isEmpty())
        QDir(old).removeRecursively();
    m_summary = QStringLiteral("the medium %1 holds the catalogue with %2 songs and the texts and "
                               "pictures of %3\n")
                    .arg(out)
                    .arg(m_songs)
                    .arg(o.from.isEmpty() ? QStringLiteral("the sample") : o.from) +
                m_entertainer;
    return true;
}
