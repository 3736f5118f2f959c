#pragma once

#include <QString>

class QSqlError;

// What the database engine said, in words a user can act on. The engine's own words are
// written to the program's log (qWarning), never shown in a message.
namespace StoreError
{
QString plain(const QSqlError& error);
QString plain(const QString& engineText);
} // namespace StoreError
