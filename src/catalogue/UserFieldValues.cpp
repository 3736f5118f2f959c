#include "UserFieldValues.h"

#include "store/SqlConnection.h"

#include <QSqlQuery>

#include <algorithm>

UserFieldValues::UserFieldValues(const QString& databaseFile) : m_file(databaseFile) {}

UserFieldValues::~UserFieldValues() = default;

QString UserFieldValues::statementFor(qint16 index)
{
    if (index < 1 || index > 9)
        return {};
    const QString field = QStringLiteral("udf%1").arg(int(index), 2, 10, QLatin1Char('0'));
    return QStringLiteral("SELECT ") + field + QStringLiteral(" FROM music WHERE ") + field +
           QStringLiteral(" > ' ' GROUP BY ") + field + QStringLiteral(" ORDER BY ") + field;
}

QStringList UserFieldValues::values(qint16 index)
{
    const QString statement = statementFor(index);
    if (statement.isEmpty())
        return {};
    if (!m_connection || !m_connection->isOpen())
        m_connection = std::make_unique<SqlConnection>(m_file, SqlConnection::ReadOnly);
    if (!m_connection->isOpen())
        return {};
    QSqlQuery q(m_connection->database());
    q.setForwardOnly(true);
    if (!q.exec(statement))
        return {};
    QStringList list;
    while (q.next()) {
        const QString v = q.value(0).toString();
        // Blanks only is no value, however many blanks there are.
        if (!v.trimmed().isEmpty())
            list << v;
    }
    // Sorted without regard to letter case, as the catalogue's texts always compared.
    std::stable_sort(list.begin(), list.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return list;
}
