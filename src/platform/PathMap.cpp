#include "PathMap.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace PathMap
{

QString root()
{
    const QString fromEnv = qEnvironmentVariable("ZEL_ROOT");
    if (!fromEnv.isEmpty())
        return QDir::cleanPath(fromEnv);
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

#ifdef Q_OS_WIN
QString map(const QString& windowsPath)
{
    return windowsPath;
}
#else
// Finds an entry of `dir` named `name` without regard to case; the exact name wins.
static QString matchEntry(const QDir& dir, const QString& name)
{
    if (dir.exists(name))
        return name;
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return e;
    return {};
}

QString map(const QString& windowsPath)
{
    QString p = windowsPath;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // Drop the drive ("c:" or "C:"); every drive maps to the same root.
    if (p.size() >= 2 && p.at(1) == QLatin1Char(':') && p.at(0).isLetter())
        p = p.mid(2);
    const bool trailingSeparator = p.endsWith(QLatin1Char('/'));
    const QStringList parts = p.split(QLatin1Char('/'), Qt::SkipEmptyParts);

    QString local = root();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const bool isFolder = trailingSeparator || i + 1 < parts.size();
        const QString existing = matchEntry(QDir(local), parts[i]);
        QString name = existing;
        if (name.isEmpty())
            name = isFolder ? parts[i].toLower() : parts[i];
        local += QLatin1Char('/') + name;
    }
    if (trailingSeparator)
        local += QLatin1Char('/');
    return local;
}
#endif

QString dbFolder()
{
    return map(QStringLiteral("c:\\orba\\zel\\"));
}
QString eventDatabase()
{
    return map(QStringLiteral("c:\\orba\\zel\\event.mdb"));
}
QString catalogue()
{
    return map(QStringLiteral("c:\\orba\\zel\\songlist.mdb"));
}
QString programFolder()
{
    return map(QStringLiteral("c:\\orba\\zel"));
}
QString mediaFolder()
{
    return map(QStringLiteral("c:\\orba\\zel\\data\\"));
}
QString databaseModule()
{
    return map(QStringLiteral("c:\\orba\\program\\vessk.exe"));
}
QString utilityModule()
{
    return map(QStringLiteral("c:\\orba\\program\\pontile.exe"));
}
QString utilityModule2()
{
    return map(QStringLiteral("c:\\orba\\program\\pontile2.exe"));
}
QString musicDatabase()
{
    return map(QStringLiteral("C:\\ORBA\\database\\vastm.mdb"));
}

} // namespace PathMap
