#include "ImportCatalogue.h"

#include "CatalogueWriter.h"

#include "platform/SafeReplace.h"
#include "store/SqlConnection.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace
{
QVariant textOrNull(const QString& s)
{
    return s.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(s);
}

} // namespace

void ImportCatalogue::create(const SettingsSheet& settings)
{
    m_new = true;
    m_settings = settings;
    m_songs.clear();
    m_loaded.clear();
    m_retired.clear();
    m_loadedRetired.clear();
}

bool ImportCatalogue::load(const QString& fileName)
{
    create(SettingsSheet());
    m_new = false;
    m_source = fileName;
    SqlConnection c(fileName, SqlConnection::ReadOnly);
    QSqlQuery q(c.database());
    auto failed = [&](const QString& reason) {
        m_error = QStringLiteral("%1 is not a song catalogue that can be updated: %2")
                      .arg(fileName, reason);
        return false;
    };
    QSet<QString> tables;
    bool ok = c.isOpen() && q.exec(QStringLiteral("SELECT lower(name) FROM sqlite_master WHERE "
                                                  "type = 'table'"));
    while (ok && q.next())
        tables.insert(q.value(0).toString());
    for (const QString& table : CatalogueFormat::tables())
        if (ok && !tables.contains(table.toLower()))
            return failed(QStringLiteral("it has no %1 table").arg(table));
    // A later format may hold what this importer would not keep.
    ok = ok && q.exec(QStringLiteral("PRAGMA user_version")) && q.next();
    if (ok && q.value(0).toInt() > CatalogueFormat::kVersion)
        return failed(QStringLiteral("it was written by a later release of this program (format "
                                     "version %1; this program updates versions up to %2)")
                          .arg(q.value(0).toInt())
                          .arg(CatalogueFormat::kVersion));

    QList<QPair<QString, QString>> items;
    ok = ok && q.exec(QStringLiteral("SELECT Item, Usage FROM Config"));
    while (ok && q.next())
        items.append({q.value(0).toString(), q.value(1).toString()});
    m_settings = SettingsSheet::fromItems(items);

    ok = ok && q.exec(QStringLiteral("SELECT dbKey, Name, UDF01, UDF02, Time, Type, SType1, "
                                     "Matrix FROM MUSIC"));
    while (ok && q.next()) {
        const qint64 key = q.value(0).toLongLong();
        if (key < 1 || key > kMaxKey)
            return failed(
                QStringLiteral("it holds the key %1, outside 1..%2").arg(key).arg(kMaxKey));
        StoredSong& s = m_songs[int(key)];
        s.title = q.value(1).toString();
        s.artist = q.value(2).toString();
        s.year = q.value(3).toString();
        s.time = q.value(4).toString();
        s.type = q.value(5).toString();
        s.subType = q.value(6).toString();
        s.matrix = q.value(7).toString();
    }
    // What the importer remembers of each song; a catalogue not made by it has none.
    const bool remembered =
        tables.contains(QString::fromLatin1(CatalogueFormat::kImportKeys).toLower());
    ok = ok && (!remembered || q.exec(QStringLiteral("SELECT dbKey, Retired, Path, Size, MTime, "
                                                     "Genre, Bpm FROM ImportKeys")));
    while (ok && remembered && q.next()) {
        const int key = q.value(0).toInt();
        const auto it = m_songs.find(key);
        if (q.value(1).toBool()) {
            m_retired.insert(key);
        } else if (it != m_songs.end()) {
            it->path = q.value(2).toString();
            it->size = q.value(3).isNull() ? -1 : q.value(3).toLongLong();
            it->mtime = q.value(4).isNull() ? -1 : q.value(4).toLongLong();
            it->genre = q.value(5).toString();
            it->bpm = q.value(6).toDouble();
        }
    }
    if (!ok)
        return failed(!c.isOpen() ? c.errorString() : StoreError::plain(q.lastError()));
    m_loaded = m_songs;
    m_loadedRetired = m_retired;
    return true;
}

bool ImportCatalogue::hasChanges() const
{
    if (m_new || m_retired != m_loadedRetired || m_songs.size() != m_loaded.size())
        return true;
    for (auto it = m_songs.cbegin(); it != m_songs.cend(); ++it) {
        const auto old = m_loaded.constFind(it.key());
        if (old == m_loaded.cend() || !old->sameRow(*it) || !old->sameSource(*it))
            return true;
    }
    return false;
}

bool ImportCatalogue::save(const QString& fileName)
{
    m_error.clear();
    const QFileInfo target(fileName);
    QDir().mkpath(target.absolutePath());
    SafeReplace replace(target.absoluteFilePath());
    bool ok = replace.isReady();
    if (ok && m_new) {
        CatalogueWriter writer;
        ok = writer.write(replace.temporaryName(), m_settings, {});
        m_error = writer.errorString();
    } else if (ok) {
        // SQLite makes the copy, so it is consistent whatever journal the file has.
        SqlConnection source(m_source, SqlConnection::ReadOnly);
        QSqlQuery q(source.database());
        q.prepare(QStringLiteral("VACUUM INTO ?"));
        q.addBindValue(replace.temporaryName());
        ok = source.isOpen() && q.exec();
        if (!ok)
            m_error = source.isOpen() ? StoreError::plain(q.lastError()) : source.errorString();
    }
    if (ok) {
        SqlConnection c(replace.temporaryName(), SqlConnection::ReadWrite);
        ok = c.isOpen() && apply(c.name());
        if (!c.isOpen())
            m_error = c.errorString();
    }
    ok = ok && replace.commit();
    if (!ok) {
        if (m_error.isEmpty())
            m_error = replace.errorString();
        m_error = QStringLiteral("%1: %2; the catalogue is left as it was").arg(fileName, m_error);
        return false;
    }
    m_new = false;
    m_source = target.absoluteFilePath();
    m_loaded = m_songs;
    m_loadedRetired = m_retired;
    return true;
}

bool ImportCatalogue::apply(const QString& connectionName)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    QSqlQuery q(db);
    // Runs a prepared statement with its values; on failure keeps the reason.
    auto exec = [&](QSqlQuery& w, const QVariantList& values) {
        for (const QVariant& v : values)
            w.addBindValue(v);
        if (w.exec())
            return true;
        m_error = w.lastError().text();
        return false;
    };
    auto run = [&](const QString& sql) {
        if (q.exec(sql))
            return true;
        m_error = QStringLiteral("%1 (%2)").arg(q.lastError().text(), sql.left(60));
        return false;
    };
    if (!run(QStringLiteral("PRAGMA journal_mode = DELETE")) || !db.transaction())
        return false;
    QSqlQuery remove(db), update(db), insert(db), remember(db);
    const bool ready =
        run(CatalogueFormat::createImportKeys()) && run(QStringLiteral("DELETE FROM ImportKeys")) &&
        remove.prepare(QStringLiteral("DELETE FROM MUSIC WHERE dbKey = ?")) &&
        update.prepare(QStringLiteral("UPDATE MUSIC SET Name = ?, UDF01 = ?, UDF02 = ?, Time = "
                                      "?, Type = ?, SType1 = ? WHERE dbKey = ?")) &&
        insert.prepare(QStringLiteral("INSERT INTO MUSIC (Name, UDF01, UDF02, Time, Type, "
                                      "SType1, dbKey) VALUES (?, ?, ?, ?, ?, ?, ?)")) &&
        remember.prepare(QStringLiteral("INSERT INTO ImportKeys (dbKey, Retired, Path, Size, "
                                        "MTime, Genre, Bpm) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    bool ok = ready;
    for (auto it = m_loaded.cbegin(); ok && it != m_loaded.cend(); ++it)
        ok = m_songs.contains(it.key()) || exec(remove, {it.key()});

    const QVariant noNumber(QMetaType(QMetaType::LongLong));
    const QVariant noReal(QMetaType(QMetaType::Double));
    for (auto it = m_songs.cbegin(); ok && it != m_songs.cend(); ++it) {
        const StoredSong& s = *it;
        const auto old = m_loaded.constFind(it.key());
        const bool isNew = old == m_loaded.cend();
        if (isNew || !old->sameRow(s)) {
            QVariantList values;
            for (const QString& v : {s.title, s.artist, s.year, s.time, s.type, s.subType})
                values << textOrNull(v);
            values << it.key();
            ok = exec(isNew ? insert : update, values);
            if (!ok)
                m_error = QStringLiteral("the song with key %1 cannot be stored: %2")
                              .arg(it.key())
                              .arg(m_error);
        }
        ok = ok && exec(remember,
                        {it.key(), 0, textOrNull(s.path), s.size >= 0 ? QVariant(s.size) : noNumber,
                         s.mtime >= 0 ? QVariant(s.mtime) : noNumber, textOrNull(s.genre),
                         s.bpm > 0 ? QVariant(s.bpm) : noReal});
    }
    for (auto it = m_retired.cbegin(); ok && it != m_retired.cend(); ++it)
        ok = exec(remember, {*it, 1, noNumber, noNumber, noNumber, noNumber, noReal});
    if (!ok || !db.commit()) {
        if (m_error.isEmpty())
            m_error = db.lastError().text().isEmpty()
                          ? QStringLiteral("the catalogue's tables cannot be changed")
                          : db.lastError().text();
        db.rollback();
        return false;
    }
    return run(QStringLiteral("ANALYZE")) && run(QStringLiteral("PRAGMA optimize"));
}
