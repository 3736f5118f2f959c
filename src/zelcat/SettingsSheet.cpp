#include "SettingsSheet.h"

#include <QHash>

namespace
{
bool isFlag(const QString& v)
{
    bool isNumber = false;
    v.toInt(&isNumber);
    return isNumber || v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
           v.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0;
}

bool flagIsTrue(const QString& v)
{
    bool isNumber = false;
    const int n = v.toInt(&isNumber);
    return isNumber ? n != 0 : v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

bool isCount(const QString& v, int low, int high)
{
    bool ok = false;
    const int n = v.toInt(&ok);
    return ok && n >= low && n <= high;
}
} // namespace

bool SettingsSheet::fail(const QString& fileName, int line, const QString& reason)
{
    m_error = QStringLiteral("%1:%2: %3").arg(fileName).arg(line).arg(reason);
    m_items.clear();
    return false;
}

bool SettingsSheet::checkValue(const QString& key, const QString& value, QString* reason) const
{
    // The counts the wizard reads must be whole numbers its lists can hold (at most nine).
    if (key.compare(QLatin1String("TotalTypes"), Qt::CaseInsensitive) == 0 && !isCount(value, 1, 9))
        *reason = QStringLiteral("TotalTypes must be a whole number from 1 to 9");
    else if ((key.compare(QLatin1String("SType1Count"), Qt::CaseInsensitive) == 0 ||
              key.compare(QLatin1String("UDFCount"), Qt::CaseInsensitive) == 0) &&
             !isCount(value, 0, 9))
        *reason = QStringLiteral("%1 must be a whole number from 0 to 9").arg(key);
    else if (key.compare(QLatin1String("SType1"), Qt::CaseInsensitive) == 0 && !isFlag(value))
        *reason = QStringLiteral("SType1 must be True, False or a number");
    else if (key.startsWith(QLatin1String("MATRIX"), Qt::CaseInsensitive) &&
             value.startsWith(QLatin1Char('+'))) {
        const QString caption = value.mid(1);
        if (caption.trimmed().isEmpty())
            *reason = QStringLiteral("the category %1 is in use but has no caption").arg(key);
        else if (caption.size() > kMaxCaptionLength)
            *reason = QStringLiteral("the caption \"%1\" is longer than %2 characters and would "
                                     "not fit its button")
                          .arg(caption)
                          .arg(kMaxCaptionLength);
    }
    return reason->isEmpty();
}

bool SettingsSheet::load(const CsvReader& csv, const QString& fileName)
{
    m_items.clear();
    m_error.clear();
    const QList<CsvRecord>& records = csv.records();
    if (records.isEmpty())
        return fail(fileName, 1,
                    QStringLiteral("the file is empty; it needs the header Item,Usage"));
    const CsvRecord& header = records.first();
    if (header.fields.size() != 2 ||
        header.fields[0].trimmed().compare(QLatin1String("Item"), Qt::CaseInsensitive) != 0 ||
        header.fields[1].trimmed().compare(QLatin1String("Usage"), Qt::CaseInsensitive) != 0)
        return fail(fileName, header.line, QStringLiteral("the header must be Item,Usage"));

    QHash<QString, int> seen; // lower-case key -> line
    for (qsizetype r = 1; r < records.size(); ++r) {
        const CsvRecord& rec = records[r];
        if (rec.fields.size() != 2)
            return fail(
                fileName, rec.line,
                QStringLiteral("expected 2 fields (Item,Usage), found %1").arg(rec.fields.size()));
        const QString key = rec.fields[0].trimmed();
        const QString value = rec.fields[1];
        if (key.isEmpty())
            return fail(fileName, rec.line, QStringLiteral("the setting has no name"));
        const auto previous = seen.constFind(key.toLower());
        if (previous != seen.constEnd())
            return fail(fileName, rec.line,
                        QStringLiteral("the setting \"%1\" is already given on line %2")
                            .arg(key)
                            .arg(previous.value()));
        QString reason;
        if (!checkValue(key, value, &reason))
            return fail(fileName, rec.line, reason);
        seen.insert(key.toLower(), rec.line);
        m_items.append({key, value});
    }
    return true;
}

SettingsSheet SettingsSheet::synthetic()
{
    SettingsSheet s;
    s.m_items = {{QStringLiteral("TotalTypes"), QStringLiteral("9")},
                 {QStringLiteral("SType1"), QStringLiteral("True")},
                 {QStringLiteral("SType1Count"), QStringLiteral("3")},
                 {QStringLiteral("SType11"), QStringLiteral("Slow")},
                 {QStringLiteral("SType12"), QStringLiteral("Mid-Tempo")},
                 {QStringLiteral("SType13"), QStringLiteral("Up-Tempo")},
                 {QStringLiteral("UDFCount"), QStringLiteral("2")},
                 {QStringLiteral("UDF01"), QStringLiteral("Artist")},
                 {QStringLiteral("UDF02"), QStringLiteral("Year")}};
    for (int t = 1; t <= 9; ++t)
        s.m_items.append({QStringLiteral("T%1").arg(t, 2, 10, QLatin1Char('0')),
                          QStringLiteral("Style %1").arg(t)});
    for (int j = 0; j < kCategoryCount; ++j)
        s.m_items.append({categoryKey(j), QStringLiteral("+Category %1").arg(j + 1)});
    return s;
}

SettingsSheet SettingsSheet::fromItems(const QList<QPair<QString, QString>>& items)
{
    SettingsSheet s;
    s.m_items = items;
    return s;
}

QString SettingsSheet::value(const QString& key, const QString& defaultValue) const
{
    for (const auto& item : m_items)
        if (item.first.compare(key, Qt::CaseInsensitive) == 0)
            return item.second;
    return defaultValue;
}

int SettingsSheet::typeCount() const
{
    return value(QStringLiteral("TotalTypes"), QStringLiteral("1")).toInt();
}

int SettingsSheet::subTypeCount() const
{
    if (!flagIsTrue(value(QStringLiteral("SType1"), QStringLiteral("False"))))
        return 0;
    return value(QStringLiteral("SType1Count"), QStringLiteral("0")).toInt();
}

QString SettingsSheet::usedCategoryCodes() const
{
    QString codes;
    for (int j = 0; j < kCategoryCount; ++j)
        if (value(categoryKey(j), QString()).startsWith(QLatin1Char('+')))
            codes += categoryCode(j);
    return codes;
}

QString SettingsSheet::categoryCaption(QChar code) const
{
    for (int j = 0; j < kCategoryCount; ++j)
        if (categoryCode(j) == code)
            return value(categoryKey(j), QString()).mid(1);
    return QString();
}
