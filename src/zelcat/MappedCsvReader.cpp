#include "MappedCsvReader.h"

#include "AudioTagReader.h"
#include "CsvReader.h"
#include "PlaylistReader.h"

#include "CsvDialect.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>

const QStringList& MappedCsvReader::fields()
{
    static const QStringList names{
        QStringLiteral("title"), QStringLiteral("artist"), QStringLiteral("length"),
        QStringLiteral("genre"), QStringLiteral("year"),   QStringLiteral("bpm"),
        QStringLiteral("file"),  QStringLiteral("album"),  QStringLiteral("key")};
    return names;
}

bool MappedCsvReader::setMapping(const QString& spec, QString* error)
{
    m_columns.clear();
    for (const QString& pair : spec.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        const QString field = pair.left(eq).trimmed().toLower();
        const QString column = eq < 0 ? QString() : pair.mid(eq + 1).trimmed();
        if (!fields().contains(field) || column.isEmpty()) {
            *error = QStringLiteral("--map: \"%1\" is not field=Column; the fields are %2")
                         .arg(pair, fields().join(QStringLiteral(", ")));
            return false;
        }
        m_columns.insert(field, column);
    }
    return true;
}

int MappedCsvReader::parseLength(const QString& text)
{
    // A length a spreadsheet took for a time of day ("3:02" shown as "03:02:00 AM") is
    // minutes and seconds again; seconds other than 00 do not fit that reading.
    static const QRegularExpression timeOfDay(
        QStringLiteral("^(\\d{1,2}):([0-5]\\d):00\\s*([AaPp])\\.?[Mm]\\.?$"));
    const QRegularExpressionMatch day = timeOfDay.match(text);
    if (day.hasMatch()) {
        const int hour = day.captured(1).toInt();
        if (hour < 1 || hour > 12)
            return -1;
        const bool pm = day.captured(3).compare(QLatin1String("p"), Qt::CaseInsensitive) == 0;
        return ((hour % 12) + (pm ? 12 : 0)) * 60 + day.captured(2).toInt();
    }
    static const QRegularExpression clock(
        QStringLiteral("^(?:(\\d{1,3}):)?(\\d{1,4}):([0-5]\\d)(?:[.,]\\d+)?$"));
    const QRegularExpressionMatch m = clock.match(text);
    if (m.hasMatch())
        return m.captured(1).toInt() * 3600 + m.captured(2).toInt() * 60 + m.captured(3).toInt();
    bool ok = false;
    const double seconds = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok && seconds >= 0 && seconds < 360000 ? int(seconds + 0.5) : -1;
}

bool MappedCsvReader::readLine(const QStringList& values, const QHash<QString, int>& at,
                               const QString& folder, ImportedSong* song, QStringList* unread) const
{
    auto value = [&](const char* field) {
        const int i = at.value(QLatin1String(field), -1);
        return i < 0 ? QString() : values[i].simplified();
    };
    song->title = value("title");
    song->artist = value("artist");
    song->genre = value("genre");
    song->album = value("album");
    song->musicalKey = value("key").left(8);
    const QString file = value("file");
    if (!file.isEmpty())
        song->path = PlaylistReader::resolve(file, folder);
    // A field that cannot be read is left empty and reported; the song is kept.
    const QString length = value("length");
    if (!length.isEmpty() && (song->seconds = parseLength(length)) < 0) {
        song->seconds = 0;
        *unread
            << QStringLiteral("the length \"%1\" is not minutes:seconds or seconds").arg(length);
    }
    const QString year = value("year");
    static const QRegularExpression yearStart(QStringLiteral("^(\\d{4})(?:$|[-/.])"));
    const QRegularExpressionMatch y = yearStart.match(year);
    if (!year.isEmpty() && !y.hasMatch())
        *unread << QStringLiteral("the year \"%1\" is not a year").arg(year);
    song->year = y.captured(1).toInt();
    const QString bpm = value("bpm");
    bool ok = true;
    const double beats = QString(bpm).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!bpm.isEmpty() && (!ok || !std::isfinite(beats) || beats < 0 || beats >= 1000))
        *unread << QStringLiteral("the bpm \"%1\" is not a number").arg(bpm);
    else
        song->bpm = bpm.isEmpty() ? 0 : beats;
    AudioTagReader::fillFromFileName(song);
    return !song->title.isEmpty();
}

bool MappedCsvReader::read(const QString& fileName, qsizetype room)
{
    m_songs.clear();
    m_overflowed = false;
    QFile in(fileName);
    if (!in.open(QIODevice::ReadOnly)) {
        m_summary.skip(fileName, 0, QStringLiteral("cannot be read: %1").arg(in.errorString()));
        return false;
    }
    const QString text = CsvDialect::decode(in.readAll());
    CsvReader csv;
    // The header, the room, and one more record to tell a file that does not fit.
    if (!csv.parseText(text, fileName, CsvDialect::separatorOf(text), room + 2)) {
        // The reader's message begins with the file name and the line.
        const QString message = csv.errorString();
        static const QRegularExpression where(QStringLiteral("^.*:(\\d+): "));
        const QRegularExpressionMatch m = where.match(message);
        m_summary.skip(fileName, m.hasMatch() ? m.captured(1).toInt() : 0,
                       (m.hasMatch() ? message.mid(m.capturedLength()) : message) +
                           QStringLiteral("; the file is passed over"));
        return false;
    }
    const QList<CsvRecord>& records = csv.records();
    if (csv.stoppedEarly() && records.size() == room + 2) {
        m_overflowed = true;
        return false;
    }
    if (records.isEmpty()) {
        m_summary.skip(fileName, 0, QStringLiteral("the file is empty"));
        return false;
    }
    QHash<QString, int> at; // field -> column index
    const QStringList& header = records.first().fields;
    for (const QString& field : fields()) {
        const QString column = m_columns.value(field, field);
        for (int i = 0; i < header.size(); ++i)
            if (header[i].trimmed().compare(column, Qt::CaseInsensitive) == 0) {
                at.insert(field, i);
                break;
            }
        const bool needed = field == QLatin1String("title") || m_columns.contains(field);
        if (needed && !at.contains(field)) {
            m_summary.skip(fileName, records.first().line,
                           QStringLiteral("the header has no column \"%1\" for the %2 (columns: "
                                          "%3); the file is passed over")
                               .arg(column, field, header.join(QStringLiteral(", "))));
            return false;
        }
    }
    const QString folder = QFileInfo(fileName).absolutePath();
    for (qsizetype r = 1; r < records.size(); ++r) {
        const CsvRecord& rec = records[r];
        ImportedSong song;
        song.origin = QStringLiteral("%1:%2").arg(fileName).arg(rec.line);
        if (rec.fields.size() != header.size()) {
            m_summary.skip(fileName, rec.line,
                           QStringLiteral("expected %1 fields, found %2")
                               .arg(header.size())
                               .arg(rec.fields.size()));
            continue;
        }
        QStringList unread;
        if (readLine(rec.fields, at, folder, &song, &unread))
            m_songs.append(song);
        else
            m_summary.skip(fileName, rec.line, QStringLiteral("the title is empty"));
        for (const QString& why : unread)
            m_summary.skip(fileName, rec.line,
                           why + (song.title.isEmpty()
                                      ? QString()
                                      : QStringLiteral("; the song is imported without it")));
    }
    return true;
}
