#include "GenreTypeMapper.h"

#include "CsvReader.h"
#include "GenreTable.h"

#include <QRegularExpression>

namespace
{
QString folded(const QString& s)
{
    return s.simplified().toCaseFolded();
}
} // namespace

GenreTypeMapper::GenreTypeMapper(const SettingsSheet& settings) : m_settings(settings)
{
    const int types = qBound(1, settings.typeCount(), 9);
    // Whole names first, so that a word of one name never hides the whole name of another.
    for (int t = types; t >= 1; --t) {
        static const QRegularExpression joints(QStringLiteral("\\s+[/&]\\s+"));
        for (const QString& word : typeName(t).split(joints, Qt::SkipEmptyParts))
            m_byName.insert(folded(word), t);
    }
    for (int t = types; t >= 1; --t)
        m_byName.insert(folded(typeName(t)), t);

    for (int s = 1; s <= qBound(0, settings.subTypeCount(), 9); ++s) {
        QString name = folded(settings.value(QStringLiteral("SType1%1").arg(s), QString()));
        name.remove(QLatin1Char('-')).remove(QLatin1Char(' '));
        int* slot = name == QLatin1String("slow")       ? &m_slow
                    : name == QLatin1String("midtempo") ? &m_mid
                    : name == QLatin1String("uptempo")  ? &m_up
                                                        : nullptr;
        if (slot && *slot == 0)
            *slot = s;
    }
}

QString GenreTypeMapper::typeName(int type) const
{
    return m_settings.value(QStringLiteral("T%1").arg(type, 2, 10, QLatin1Char('0')),
                            QStringLiteral("Type %1").arg(type));
}

int GenreTypeMapper::typeByText(const QString& text) const
{
    bool isNumber = false;
    const int n = text.trimmed().toInt(&isNumber);
    const int types = qBound(1, m_settings.typeCount(), 9);
    if (isNumber)
        return n >= 1 && n <= types ? n : 0;
    for (int t = 1; t <= types; ++t)
        if (folded(typeName(t)) == folded(text))
            return t;
    return 0;
}

bool GenreTypeMapper::loadMappingFile(const QString& fileName, QString* error)
{
    CsvReader csv;
    if (!csv.readFile(fileName)) {
        *error = csv.errorString();
        return false;
    }
    const QList<CsvRecord>& records = csv.records();
    if (records.isEmpty() || records.first().fields.size() != 2 ||
        records.first().fields[0].trimmed().compare(QLatin1String("genre"), Qt::CaseInsensitive) !=
            0 ||
        records.first().fields[1].trimmed().compare(QLatin1String("type"), Qt::CaseInsensitive) !=
            0) {
        *error = QStringLiteral("%1:1: the header must be genre,type").arg(fileName);
        return false;
    }
    for (qsizetype r = 1; r < records.size(); ++r) {
        const CsvRecord& rec = records[r];
        const int type = rec.fields.size() == 2 ? typeByText(rec.fields[1]) : 0;
        if (type == 0 || rec.fields[0].trimmed().isEmpty()) {
            *error = QStringLiteral("%1:%2: expected a genre and a type number from 1 to %3 or "
                                    "a type name")
                         .arg(fileName)
                         .arg(rec.line)
                         .arg(qBound(1, m_settings.typeCount(), 9));
            return false;
        }
        m_byMapping.insert(folded(rec.fields[0]), type);
    }
    return true;
}

bool GenreTypeMapper::setDefaultType(const QString& type, QString* error)
{
    const int t = typeByText(type);
    if (t == 0) {
        *error = QStringLiteral("--default-type: \"%1\" is not a type number from 1 to %2 or a "
                                "type name")
                     .arg(type)
                     .arg(qBound(1, m_settings.typeCount(), 9));
        return false;
    }
    m_defaultType = t;
    return true;
}

bool GenreTypeMapper::setTempoBounds(double slowBelow, double upTempoFrom, QString* error)
{
    if (!(slowBelow > 0 && slowBelow < upTempoFrom && upTempoFrom < 1000)) {
        *error = QStringLiteral("the tempo bounds must be 0 < --slow-below < --up-tempo-from "
                                "< 1000 BPM");
        return false;
    }
    m_slowBelow = slowBelow;
    m_upTempoFrom = upTempoFrom;
    return true;
}

int GenreTypeMapper::typeOfGenre(const QString& genre) const
{
    const QString key = folded(genre);
    int t = m_byMapping.value(key);
    if (t == 0)
        t = m_byName.value(key);
    for (const QString& family : GenreTable::familiesOf(genre))
        if (t == 0)
            t = m_byName.value(folded(family));
    return t;
}

int GenreTypeMapper::typeFor(const QString& genre, bool* matched) const
{
    int t = typeOfGenre(genre);
    // Several genres in one ("Pop, Rock", "Soundtrack/Dance"): the first that gives a type.
    static const QRegularExpression joints(QStringLiteral("\\s*[/,;|]\\s*"));
    if (t == 0)
        for (const QString& part : genre.split(joints, Qt::SkipEmptyParts))
            if (t == 0 && part.size() < genre.size())
                t = typeOfGenre(part);
    if (matched)
        *matched = t != 0;
    return t != 0 ? t : m_defaultType;
}

int GenreTypeMapper::subTypeFor(double bpm) const
{
    if (bpm <= 0)
        return 0;
    return bpm < m_slowBelow ? m_slow : bpm >= m_upTempoFrom ? m_up : m_mid;
}
