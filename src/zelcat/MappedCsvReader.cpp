#include "MappedCsvReader.h"

#include "AudioTagReader.h"
#include "CsvReader.h"
#include "PlaylistReader.h"

#include <QFileInfo>
#include <QRegularExpression>

const QStringList& MappedCsvReader::fields()
{
    static const QStringList names{QStringLiteral("title"),  QStringLiteral("artist"),
                                   QStringLiteral("length"), QStringLiteral("genre"),
                                   QStringLiteral("year"),   QStringLiteral("bpm"),
                                   QStringLiteral("file")};
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
                               const QString& folder, ImportedSong* song, QString* reason) const
{
    auto value = [&](const char* field) {
        const int i = at.value(QLatin1String(field), -1);
        return i < 0 ? QString() : values[i].simplified();
    };
    song->title = value("title");
    song->artist = value("artist");
    song->genre = value("genre");
    const QString file = value("file");
    if (!file.isEmpty())
        song->path = PlaylistReader::resolve(file, folder);
    const QString length = value("length");
    if (!length.isEmpty() && (song->seconds = parseLength(length)) < 0) {
        *reason = QStringLiteral("the length \"%1\" is not minutes:seconds or seconds").arg(length);
        return false;
    }
    const QString year = value("year");
    static const QRegularExpression yearStart(QStringLiteral("^(\\d{4})(?:$|[-/.])"));
    const QRegularExpressionMatch y = yearStart.match(year);
    if (!year.isEmpty() && !y.hasMatch()) {
        *reason = QStringLiteral("the year \"%1\" is not a year").arg(year);
        return false;
    }
    song->year = y.captured(1).toInt();
    const QString bpm = value("bpm");
    bool ok = true;
    if (!bpm.isEmpty() &&
        ((song->bpm = QString(bpm).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok)) < 0 ||
         !ok)) {
        *reason = QStringLiteral("the bpm \"%1\" is not a number").arg(bpm);
        return false;
    }
    AudioTagReader::fillFromFileName(song);
    if (song->title.isEmpty()) {
        *reason = QStringLiteral("the title is empty");
        return false;
    }
    return true;
}

bool MappedCsvReader::read(const QString& fileName)
{
    m_songs.clear();
    CsvReader csv;
    if (!csv.readFile(fileName)) {
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
        QString reason;
        if (rec.fields.size() != header.size())
            reason = QStringLiteral("expected %1 fields, found %2")
                         .arg(header.size())
                         .arg(rec.fields.size());
        else
            readLine(rec.fields, at, folder, &song, &reason);
        if (reason.isEmpty())
            m_songs.append(song);
        else
            m_summary.skip(fileName, rec.line, reason);
    }
    return true;
}
