#include "SongQuery.h"

#include "catalogue/CatalogueFormat.h"

namespace
{
const QChar kQuote = QLatin1Char('"');

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}
} // namespace

bool SongQuery::isCategoryCode(const QString& code)
{
    if (code.size() != 1)
        return false;
    const char16_t c = code.at(0).unicode();
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'E');
}

QString SongQuery::searchColumn(int lookIndex)
{
    if (lookIndex < 1 || lookIndex > CatalogueFormat::kUserFields)
        return CatalogueFormat::musicColumn(CatalogueFormat::Title);
    return CatalogueFormat::musicColumn(CatalogueFormat::UserField1 + lookIndex - 1);
}

QString SongQuery::statementText(const SongSearch& s)
{
    QString categories;
    if (!s.categoryCodes.isEmpty()) {
        categories = QStringLiteral(" AND (1");
        for (const QString& code : s.categoryCodes)
            categories += QStringLiteral(" AND ") + QStringLiteral(" (matrix LIKE '%") + code +
                          QStringLiteral("%') ");
        categories += QStringLiteral(") ");
    }

    const QString column =
        s.lookIndex < 1 ? QStringLiteral("Name") : QStringLiteral("UDF") + twoDigits(s.lookIndex);
    QString where = column + QStringLiteral(" LIKE ") + kQuote + QLatin1Char('%') + s.findText +
                    QLatin1Char('%') + kQuote;

    QString type;
    if (s.typeIndex >= 1)
        type = QStringLiteral(" AND (TYPE =") + kQuote + s.typeName + kQuote +
               QStringLiteral(" OR type=") + kQuote + QString::number(s.typeIndex) + kQuote +
               QStringLiteral(") ");
    if (s.subTypeIndex > 0)
        type += QStringLiteral(" AND (Stype1 =") + kQuote + s.subTypeText + kQuote +
                QStringLiteral(" OR Stype1=") + kQuote + QString::number(s.subTypeIndex) + kQuote +
                QStringLiteral(") ");

    where += categories;

    const QString order =
        column == QLatin1String("Name")
            ? QStringLiteral(" ORDER BY name")
            : QStringLiteral(" ORDER BY UDF") + twoDigits(s.lookIndex) + QStringLiteral(" , name");

    return QStringLiteral("SELECT * from MUSIC WHERE ") + where + type + order;
}

SongQuery::Bound SongQuery::bound(const SongSearch& s)
{
    Bound b;
    const QString column = searchColumn(s.lookIndex);
    b.where = column + QStringLiteral(" LIKE ?");
    b.values << QVariant(QLatin1Char('%') + s.findText + QLatin1Char('%'));

    QStringList codes;
    for (const QString& code : s.categoryCodes)
        if (isCategoryCode(code))
            codes << code;
    if (!codes.isEmpty()) {
        b.where += QStringLiteral(" AND (1");
        for (const QString& code : codes)
            b.where += QStringLiteral(" AND (Matrix LIKE '%") + code + QStringLiteral("%')");
        b.where += QLatin1Char(')');
    }

    if (s.typeIndex >= 1) {
        b.where += QStringLiteral(" AND (Type = ? COLLATE NOCASE OR Type = ?)");
        b.values << QVariant(s.typeName) << QVariant(QString::number(s.typeIndex));
    }
    if (s.subTypeIndex > 0) {
        b.where += QStringLiteral(" AND (SType1 = ? COLLATE NOCASE OR SType1 = ?)");
        b.values << QVariant(s.subTypeText) << QVariant(QString::number(s.subTypeIndex));
    }

    // dbKey last makes the order total, so windows of the result never overlap.
    b.order = column == QLatin1String("Name")
                  ? QStringLiteral(" ORDER BY Name COLLATE NOCASE, dbKey")
                  : QStringLiteral(" ORDER BY ") + column +
                        QStringLiteral(" COLLATE NOCASE, Name COLLATE NOCASE, dbKey");
    return b;
}

QString SongQuery::Bound::countText() const
{
    return QStringLiteral("SELECT COUNT(*) FROM MUSIC WHERE ") + where;
}

QString SongQuery::Bound::selectText() const
{
    return QStringLiteral("SELECT * FROM MUSIC WHERE ") + where + order;
}

QString SongQuery::Bound::windowText(bool scan) const
{
    return (scan ? QStringLiteral("SELECT * FROM MUSIC NOT INDEXED WHERE ") + where + order
                 : selectText()) +
           QStringLiteral(" LIMIT ? OFFSET ?");
}
