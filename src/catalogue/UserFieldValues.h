#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class SqlConnection;

// The values of one user field (udf01 .. udf09) of the music database, for the user field
// picker: every distinct value that is not only blanks, sorted without regard to letter
// case. The database is opened read-only at the first use and kept.
class UserFieldValues
{
  public:
    explicit UserFieldValues(const QString& databaseFile);
    ~UserFieldValues();

    // The statement that lists field `index` (1..9); empty for any other index.
    static QString statementFor(qint16 index);
    // The values of field `index`; empty when the index is out of range or the database
    // cannot be read.
    QStringList values(qint16 index);

  private:
    QString m_file;
    std::unique_ptr<SqlConnection> m_connection;
};
