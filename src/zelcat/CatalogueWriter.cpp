#include "CatalogueWriter.h"

#include "platform/SafeReplace.h"
#include "store/SqlConnection.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

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

    SafeReplace replace(target.absoluteFilePath());
    bool ok = replace.isReady();
    if (ok) {
        SqlConnection c(replace.temporaryName(), SqlConnection::ReadWrite);
        ok = c.isOpen() && fill(c.name(), settings, songs, range);
        if (!c.isOpen())
            m_error = c.errorString();
    }
    ok = ok && replace.commit();
    if (!ok) {
        if (m_error.isEmpty())
            m_error = replace.errorString();
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

    if (!run(QStringLiteral("PRAGMA journal_mode = DELETE")) ||
        !run(QStringLiteral("PRAGMA user_version = %1").arg(CatalogueFormat::kVersion)) ||
        !db.transaction())
        return false;
    for (const QString& statement : CatalogueFormat::createTables(range)) {
        if (!run(statement)) {
            db.rollback();
            return false;
        }
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

    for (const QString& statement : CatalogueFormat::createIndexes()) {
        if (!run(statement)) {
            db.rollback();
            return false;
        }
    }
    if (!db.commit()) {
        m_error = db.lastError().text();
        return false;
    }
    return run(QStringLiteral("ANALYZE")) && run(QStringLiteral("PRAGMA optimize"));
}
