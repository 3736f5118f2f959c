#include "CatalogueWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryFile>
#include <QUuid>

#include <cstdio>

namespace
{
QVariant textOrNull(const QString& s)
{
    return s.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(s);
}
} // namespace

bool CatalogueWriter::write(const QString& fileName, const SettingsSheet& settings,
                            const QList<CatalogueSong>& songs, KeyRange range)
{
    m_error.clear();
    const QFileInfo target(fileName);
    const QString folder = target.absolutePath();
    if (!QDir().mkpath(folder)) {
        m_error = QStringLiteral("%1: the folder cannot be made").arg(folder);
        return false;
    }

    QString tempName;
    {
        QTemporaryFile temp(folder + QStringLiteral("/.") + target.fileName() +
                            QStringLiteral(".XXXXXX"));
        temp.setAutoRemove(false);
        if (!temp.open()) {
            m_error = QStringLiteral("%1: cannot write in the folder: %2")
                          .arg(folder, temp.errorString());
            return false;
        }
        tempName = temp.fileName();
        // Temporary files are private; the catalogue is an ordinary readable file.
        temp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                            QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }

    const QString connection =
        QStringLiteral("zelcat-") + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(tempName);
        if (!db.open())
            m_error = QStringLiteral("%1: %2").arg(tempName, db.lastError().text());
        else
            ok = fill(connection, settings, songs, range);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);

    if (ok && std::rename(QFile::encodeName(tempName).constData(),
                          QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        m_error = QStringLiteral("%1: cannot replace the file").arg(fileName);
        ok = false;
    }
    if (!ok) {
        QFile::remove(tempName);
        QFile::remove(tempName + QStringLiteral("-journal"));
        if (!m_error.startsWith(fileName))
            m_error = QStringLiteral("%1: %2").arg(fileName, m_error);
    }
    return ok;
}

bool CatalogueWriter::fill(const QString& connectionName, const SettingsSheet& settings,
                           const QList<CatalogueSong>& songs, KeyRange range)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    QSqlQuery q(db);
    auto run = [&](const QString& sql) {
        if (q.exec(sql))
            return true;
        m_error = QStringLiteral("%1 (%2)").arg(q.lastError().text(), sql.left(60));
        return false;
    };

    QStringList columns{
        range == SixteenBit
            ? QStringLiteral("dbKey INTEGER PRIMARY KEY CHECK (dbKey BETWEEN 1 AND 32767)")
            : QStringLiteral("dbKey INTEGER PRIMARY KEY CHECK (dbKey >= 1)"),
        QStringLiteral("Name TEXT COLLATE NOCASE NOT NULL CHECK (length(Name) BETWEEN 1 AND 255)"),
        QStringLiteral("Type TEXT COLLATE NOCASE"),
        QStringLiteral("SType1 TEXT COLLATE NOCASE"),
        QStringLiteral("SType2 TEXT COLLATE NOCASE"),
        QStringLiteral("Time TEXT"),
        QStringLiteral("Matrix TEXT")};
    for (int i = 1; i <= 9; ++i)
        columns << QStringLiteral("UDF%1 TEXT COLLATE NOCASE CHECK (length(UDF%1) <= 255)")
                       .arg(i, 2, 10, QLatin1Char('0'));

    if (!run(QStringLiteral("PRAGMA journal_mode = DELETE")) ||
        !run(QStringLiteral("PRAGMA user_version = %1").arg(kFormatVersion)) || !db.transaction())
        return false;
    if (!run(QStringLiteral("CREATE TABLE MUSIC (%1)").arg(columns.join(QStringLiteral(", ")))) ||
        !run(QStringLiteral("CREATE TABLE Config (Item TEXT NOT NULL COLLATE NOCASE UNIQUE "
                            "CHECK (length(Item) >= 1), Usage TEXT)"))) {
        db.rollback();
        return false;
    }

    if (!q.prepare(QStringLiteral("INSERT INTO Config (Item, Usage) VALUES (?, ?)"))) {
        m_error = q.lastError().text();
        db.rollback();
        return false;
    }
    for (const auto& item : settings.items()) {
        q.bindValue(0, item.first);
        q.bindValue(1, item.second);
        if (!q.exec()) {
            m_error = QStringLiteral("the setting %1 cannot be stored: %2")
                          .arg(item.first, q.lastError().text());
            db.rollback();
            return false;
        }
    }

    if (!q.prepare(QStringLiteral("INSERT INTO MUSIC (dbKey, Name, Type, SType1, Time, Matrix, "
                                  "UDF01, UDF02) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"))) {
        m_error = q.lastError().text();
        db.rollback();
        return false;
    }
    for (const CatalogueSong& s : songs) {
        q.bindValue(0, s.key);
        q.bindValue(1, s.title);
        q.bindValue(2, QString::number(s.type));
        q.bindValue(3, s.subType > 0 ? QVariant(QString::number(s.subType))
                                     : QVariant(QMetaType(QMetaType::QString)));
        q.bindValue(4, textOrNull(s.length));
        q.bindValue(5, textOrNull(s.matrix));
        q.bindValue(6, textOrNull(s.artist));
        q.bindValue(7, textOrNull(s.year));
        if (!q.exec()) {
            m_error = QStringLiteral("the song with key %1 cannot be stored: %2")
                          .arg(s.key)
                          .arg(q.lastError().text());
            db.rollback();
            return false;
        }
    }
    q.finish();

    // The search sorts by title and scans it; searching by artist sorts by the first user
    // field and then the title.
    if (!run(QStringLiteral("CREATE INDEX MusicName ON MUSIC (Name COLLATE NOCASE)")) ||
        !run(QStringLiteral(
            "CREATE INDEX MusicArtist ON MUSIC (UDF01 COLLATE NOCASE, Name COLLATE NOCASE)"))) {
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        m_error = db.lastError().text();
        return false;
    }
    return run(QStringLiteral("ANALYZE")) && run(QStringLiteral("PRAGMA optimize"));
}
