#include "SongListReader.h"

#include <QHash>
#include <QRegularExpression>

namespace
{
constexpr int kMaxText = 255;

bool readNumber(const QString& text, qint64* out)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]{1,18}$"));
    if (!number.match(text).hasMatch())
        return false;
    *out = text.toLongLong();
    return true;
}
} // namespace

const QStringList& SongListReader::columns()
{
    static const QStringList names{QStringLiteral("key"),     QStringLiteral("title"),
                                   QStringLiteral("artist"),  QStringLiteral("year"),
                                   QStringLiteral("length"),  QStringLiteral("type"),
                                   QStringLiteral("subtype"), QStringLiteral("categories")};
    return names;
}

bool SongListReader::fail(const QString& fileName, int line, const QString& reason)
{
    m_error = QStringLiteral("%1:%2: %3").arg(fileName).arg(line).arg(reason);
    m_songs.clear();
    return false;
}

bool SongListReader::readSong(const CsvRecord& rec, CatalogueSong* song, QString* reason) const
{
    const QStringList& f = rec.fields;
    const QString keyText = f[0].trimmed();
    if (!readNumber(keyText, &song->key)) {
        *reason = QStringLiteral("the key \"%1\" is not a whole number").arg(keyText);
        return false;
    }
    if (song->key < 1 || song->key > kMaxKey16) {
        *reason = QStringLiteral("the key %1 is outside 1..%2").arg(song->key).arg(kMaxKey16);
        return false;
    }

    song->title = f[1].trimmed();
    song->artist = f[2].trimmed();
    if (song->title.isEmpty()) {
        *reason = QStringLiteral("the title is missing");
        return false;
    }
    if (song->title.size() > kMaxText || song->artist.size() > kMaxText) {
        *reason =
            QStringLiteral("the title or the artist is longer than %1 characters").arg(kMaxText);
        return false;
    }

    song->year = f[3].trimmed();
    static const QRegularExpression year(QStringLiteral("^(19|20)[0-9]{2}$"));
    if (!song->year.isEmpty() && !year.match(song->year).hasMatch()) {
        *reason = QStringLiteral("the year \"%1\" is not a year from 1900 to 2099").arg(song->year);
        return false;
    }

    song->length = f[4].trimmed();
    static const QRegularExpression length(QStringLiteral("^[0-9]{1,2}:[0-5][0-9]$"));
    if (!song->length.isEmpty() && !length.match(song->length).hasMatch()) {
        *reason = QStringLiteral("the length \"%1\" is not minutes:seconds (for example 3:45)")
                      .arg(song->length);
        return false;
    }

    qint64 type = 0;
    const QString typeText = f[5].trimmed();
    const int typeCount = m_settings.typeCount();
    if (!readNumber(typeText, &type) || type < 1 || type > typeCount) {
        *reason = QStringLiteral("the type \"%1\" is not a music type number from 1 to %2")
                      .arg(typeText)
                      .arg(typeCount);
        return false;
    }
    song->type = int(type);

    qint64 subType = 0;
    const QString subText = f[6].trimmed();
    const int subCount = m_settings.subTypeCount();
    if (!subText.isEmpty() &&
        (!readNumber(subText, &subType) || subType < 1 || subType > subCount)) {
        *reason =
            subCount == 0
                ? QStringLiteral("the sub-type \"%1\" is given, but the catalogue has no sub-types")
                      .arg(subText)
                : QStringLiteral("the sub-type \"%1\" is not a sub-type number from 1 to %2")
                      .arg(subText)
                      .arg(subCount);
        return false;
    }
    song->subType = int(subType);

    const QString used = m_settings.usedCategoryCodes();
    song->matrix.clear();
    for (const QChar c : f[7].trimmed().toUpper()) {
        if (!used.contains(c)) {
            *reason =
                QStringLiteral("\"%1\" is not the code of a special category in use (in use: %2)")
                    .arg(c)
                    .arg(used);
            return false;
        }
        if (!song->matrix.contains(c))
            song->matrix += c;
    }
    return true;
}

bool SongListReader::read(const CsvReader& csv, const QString& fileName)
{
    m_songs.clear();
    m_error.clear();
    const QList<CsvRecord>& records = csv.records();
    if (records.isEmpty())
        return fail(
            fileName, 1,
            QStringLiteral("the file is empty; it needs the header %1").arg(columns().join(u',')));
    QStringList header;
    for (const QString& h : records.first().fields)
        header << h.trimmed().toLower();
    if (header != columns())
        return fail(fileName, records.first().line,
                    QStringLiteral("the header must be %1").arg(columns().join(u',')));

    QHash<qint64, int> keyLines;
    m_songs.reserve(records.size() - 1);
    for (qsizetype r = 1; r < records.size(); ++r) {
        const CsvRecord& rec = records[r];
        if (rec.fields.size() != columns().size())
            return fail(fileName, rec.line,
                        QStringLiteral("expected %1 fields, found %2")
                            .arg(columns().size())
                            .arg(rec.fields.size()));
        CatalogueSong song;
        QString reason;
        if (!readSong(rec, &song, &reason))
            return fail(fileName, rec.line, reason);
        const auto previous = keyLines.constFind(song.key);
        if (previous != keyLines.constEnd())
            return fail(fileName, rec.line,
                        QStringLiteral("the key %1 is already used on line %2")
                            .arg(song.key)
                            .arg(previous.value()));
        keyLines.insert(song.key, rec.line);
        m_songs.append(song);
    }
    return true;
}
