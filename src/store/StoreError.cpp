#include "StoreError.h"

#include <QLoggingCategory>
#include <QSqlError>

namespace
{
Q_LOGGING_CATEGORY(storeLog, "feteplan.store")
}

namespace StoreError
{

QString plain(const QSqlError& error)
{
    return plain(error.text());
}

QString plain(const QString& engineText)
{
    if (engineText.trimmed().isEmpty())
        return QStringLiteral("the database refused the change");
    qCWarning(storeLog).noquote() << engineText;
    const auto has = [&engineText](const char* words) {
        return engineText.contains(QLatin1String(words), Qt::CaseInsensitive);
    };
    if (has("full") || has("disk I/O") || has("too large"))
        return QStringLiteral("the disk is full or cannot be written");
    if (has("locked") || has("busy"))
        return QStringLiteral("the file is in use by another program");
    if (has("readonly") || has("read-only"))
        return QStringLiteral("the file may be read but not changed; check its permissions");
    if (has("malformed") || has("not a database") || has("corrupt"))
        return QStringLiteral("the file is damaged or is not a database");
    if (has("unable to open"))
        return QStringLiteral("the file cannot be opened; check that it exists and that you may "
                              "read and write it");
    if (has("CHECK constraint"))
        return QStringLiteral("an answer is longer than the event database can hold");
    if (has("no such table") || has("no such column"))
        return QStringLiteral("the file is not an event database of this program");
    return QStringLiteral("the database refused the change");
}

} // namespace StoreError
