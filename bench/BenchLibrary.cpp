#include "BenchLibrary.h"

#include "CatalogueBuilder.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

bool makeBenchLibrary(const QString& file, int songs, QString* error)
{
    CatalogueBuilder builder;
    if (!builder.generate(songs, 1, false, QString(), file)) {
        *error = builder.errorString();
        return false;
    }
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        db.setDatabaseName(file);
        QSqlQuery q(db);
        ok = db.open() &&
             q.exec(QStringLiteral("CREATE TABLE ImportKeys (dbKey INTEGER PRIMARY KEY, Retired "
                                   "INTEGER, Path TEXT)")) &&
             q.exec(QStringLiteral("INSERT INTO ImportKeys SELECT dbKey, 0, '/music/' || dbKey || "
                                   "'.mp3' FROM MUSIC"));
        if (!ok)
            *error = q.lastError().text();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    return ok;
}
