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
#include <QSqlRecord>

#include <algorithm>
#include <cmath>

namespace
{
QVariant textOrNull(const QString& s)
{
    return s.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(s);
}

} // namespace

const QStringList& ImportCatalogue::djFieldNames()
{
    static const QStringList names{QStringLiteral("Album"), QStringLiteral("Genre"),
                                   QStringLiteral("BPM"), QStringLiteral("Key"),
                                   QStringLiteral("Folder")};
    return names;
}

bool ImportCatalogue::ownsDjField(int i) const
{
    const QString name =
        m_settings.value(QStringLiteral("UDF%1").arg(3 + i, 2, 10, QLatin1Char('0')), QString());
    return name.isEmpty() || name.compare(djFieldNames()[i], Qt::CaseInsensitive) == 0;
}

void ImportCatalogue::create(const SettingsSheet& settings)
{
    m_new = true;
    m_settings = settings;
    m_songs.clear();
    m_loaded.clear();
    m_retired.clear();
    m_loadedRetired.clear();
    m_failed.clear();
    m_loadedFailed.clear();
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
    if (QString reason; c.isOpen() && !CatalogueFormat::isKnown(c, &reason))
        return failed(reason);
    bool ok = c.isOpen();

    QList<QPair<QString, QString>> items;
    ok = ok && q.exec(QStringLiteral("SELECT Item, Usage FROM Config"));
    while (ok && q.next())
        items.append({q.value(0).toString(), q.value(1).toString()});
    m_settings = SettingsSheet::fromItems(items);

    ok = ok && q.exec(QStringLiteral("SELECT dbKey, Name, UDF01, UDF02, Time, Type, SType1, "
                                     "Matrix, UDF03, UDF04, UDF05, UDF06, UDF07 FROM MUSIC"));
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
        for (QString* field : {&s.album, &s.genreShown, &s.bpmShown, &s.musicalKey, &s.folder})
            *field = q.value(8 + int(field - &s.album)).toString();
    }
    // What the importer remembers of each song; a catalogue not made by it has none, one
    // made by an earlier release lacks the identity of removed songs.
    const bool remembered = c.hasTables({QString::fromLatin1(CatalogueFormat::kImportKeys)});
    ok = ok && (!remembered || q.exec(QStringLiteral("SELECT * FROM ImportKeys")));
    while (ok && remembered && q.next()) {
        const QSqlRecord r = q.record();
        auto text = [&](const char* name) { return r.value(QLatin1String(name)).toString(); };
        auto number = [&](const char* name) {
            const QVariant v = r.value(QLatin1String(name));
            return v.isNull() ? qint64(-1) : v.toLongLong();
        };
        const int key = r.value(QStringLiteral("dbKey")).toInt();
        StoredSong* s = nullptr;
        if (r.value(QStringLiteral("Retired")).toBool()) {
            s = &m_retired[key];
            s->title = text("Name");
            s->artist = text("Artist");
            s->time = text("Time");
        } else if (const auto it = m_songs.find(key); it != m_songs.end()) {
            s = &*it;
        }
        if (!s)
            continue;
        s->path = text("Path");
        s->size = number("Size");
        s->mtime = number("MTime");
        s->genre = text("Genre");
        const double bpm = r.value(QStringLiteral("Bpm")).toDouble();
        s->bpm = std::isfinite(bpm) && bpm > 0 && bpm < 1000 ? bpm : 0;
    }
    const bool failures = c.hasTables({QString::fromLatin1(CatalogueFormat::kImportFailed)});
    ok = ok && (!failures ||
                q.exec(QStringLiteral("SELECT Path, Size, MTime, Reason FROM ImportFailed")));
    while (ok && failures && q.next())
        m_failed.insert(q.value(0).toString(),
                        {q.value(1).toLongLong(), q.value(2).toLongLong(), q.value(3).toString()});
    if (!ok)
        return failed(!c.isOpen() ? c.errorString() : StoreError::plain(q.lastError()));
    m_loaded = m_songs;
    m_loadedRetired = m_retired.keys();
    m_loadedFailed = m_failed;
    return true;
}

bool ImportCatalogue::hasChanges() const
{
    if (m_new || m_retired.keys() != m_loadedRetired || m_failed != m_loadedFailed ||
        m_songs.size() != m_loaded.size())
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
    if (ok && !m_new) {
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
        // A new catalogue is made in the same temporary file, then takes the songs.
        SqlConnection c(replace.temporaryName(), SqlConnection::ReadWrite);
        CatalogueWriter writer;
        ok = c.isOpen() && (!m_new || writer.fill(c.name(), m_settings, {})) && apply(c.name());
        if (!c.isOpen())
            m_error = c.errorString();
        else if (m_error.isEmpty())
            m_error = writer.errorString();
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
    m_loadedRetired = m_retired.keys();
    m_loadedFailed = m_failed;
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
    QSqlQuery remove(db), update(db), insert(db), remember(db), failed(db), setting(db);
    // Both tables are written whole at every import, so an older layout is simply replaced.
    const bool ready =
        run(QStringLiteral("DROP TABLE IF EXISTS ImportKeys")) &&
        run(CatalogueFormat::createImportKeys()) &&
        run(QStringLiteral("DROP TABLE IF EXISTS ImportFailed")) &&
        run(CatalogueFormat::createImportFailed()) &&
        remove.prepare(QStringLiteral("DELETE FROM MUSIC WHERE dbKey = ?")) &&
        update.prepare(QStringLiteral("UPDATE MUSIC SET Name = ?, UDF01 = ?, UDF02 = ?, Time = "
                                      "?, Type = ?, SType1 = ?, UDF03 = ?, UDF04 = ?, UDF05 = ?, "
                                      "UDF06 = ?, UDF07 = ? WHERE dbKey = ?")) &&
        insert.prepare(QStringLiteral("INSERT INTO MUSIC (Name, UDF01, UDF02, Time, Type, "
                                      "SType1, UDF03, UDF04, UDF05, UDF06, UDF07, dbKey) VALUES "
                                      "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")) &&
        setting.prepare(QStringLiteral("INSERT INTO Config (Item, Usage) VALUES (?, ?) ON "
                                       "CONFLICT (Item) DO UPDATE SET Usage = excluded.Usage")) &&
        remember.prepare(QStringLiteral("INSERT INTO ImportKeys (dbKey, Retired, Path, Size, "
                                        "MTime, Genre, Bpm, Name, Artist, Time) VALUES (?, ?, ?, "
                                        "?, ?, ?, ?, ?, ?, ?)")) &&
        failed.prepare(QStringLiteral("INSERT INTO ImportFailed (Path, Size, MTime, Reason) "
                                      "VALUES (?, ?, ?, ?)"));
    bool ok = ready;
    for (auto it = m_loaded.cbegin(); ok && it != m_loaded.cend(); ++it)
        ok = m_songs.contains(it.key()) || exec(remove, {it.key()});

    // The row of ImportKeys of a song; a removed song also keeps what identified it.
    auto memory = [](int key, bool retired, const StoredSong& s) {
        const QVariant noNumber(QMetaType(QMetaType::LongLong));
        const QVariant none(QMetaType(QMetaType::QString));
        return QVariantList{key,
                            retired ? 1 : 0,
                            textOrNull(s.path),
                            s.size >= 0 ? QVariant(s.size) : noNumber,
                            s.mtime >= 0 ? QVariant(s.mtime) : noNumber,
                            textOrNull(s.genre),
                            s.bpm > 0 ? QVariant(s.bpm) : QVariant(QMetaType(QMetaType::Double)),
                            retired ? textOrNull(s.title) : none,
                            retired ? textOrNull(s.artist) : none,
                            retired ? textOrNull(s.time) : none};
    };
    for (auto it = m_songs.cbegin(); ok && it != m_songs.cend(); ++it) {
        const StoredSong& s = *it;
        const auto old = m_loaded.constFind(it.key());
        const bool isNew = old == m_loaded.cend();
        if (isNew || !old->sameRow(s)) {
            QVariantList values;
            for (const QString& v :
                 QStringList{s.title, s.artist, s.year, s.time, s.type, s.subType} + s.djFields())
                values << textOrNull(v);
            values << it.key();
            ok = exec(isNew ? insert : update, values);
            if (!ok)
                m_error = QStringLiteral("the song with key %1 cannot be stored: %2")
                              .arg(it.key())
                              .arg(m_error);
        }
        ok = ok && exec(remember, memory(it.key(), false, s));
    }
    QSet<QString> paths; // a path names one song: a live one before a removed one
    for (const StoredSong& s : m_songs)
        paths.insert(s.path);
    for (auto it = m_retired.cbegin(); ok && it != m_retired.cend(); ++it) {
        StoredSong s = *it;
        if (paths.contains(s.path))
            s.path.clear();
        paths.insert(s.path);
        ok = exec(remember, memory(it.key(), true, s));
    }
    for (auto it = m_failed.cbegin(); ok && it != m_failed.cend(); ++it)
        ok = exec(failed, {it.key(), it->size, it->mtime, it->reason});
    // The user fields the import filled are named and offered.
    int highest = 0;
    for (const StoredSong& s : m_songs)
        for (int i = 0; i < djFieldNames().size(); ++i)
            if (!s.djFields()[i].isEmpty())
                highest = std::max(highest, 3 + i);
    const int offered = m_settings.value(QStringLiteral("UDFCount"), QStringLiteral("0")).toInt();
    for (int i = 0; ok && i < djFieldNames().size() && 3 + i <= highest; ++i)
        ok = !ownsDjField(i) ||
             exec(setting,
                  {QStringLiteral("UDF%1").arg(3 + i, 2, 10, QLatin1Char('0')), djFieldNames()[i]});
    if (ok && highest > offered)
        ok = exec(setting, {QStringLiteral("UDFCount"), QString::number(highest)});
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
