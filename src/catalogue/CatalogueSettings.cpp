#include "CatalogueSettings.h"

#include "platform/VbConvert.h"
#include "store/KeyedItemStore.h"

namespace
{
QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// A count setting: its leading number, rounded, held to what the lists can name.
qint16 readCount(KeyedItemStore& items, const QString& key, const QString& defaultValue)
{
    const qint16 n = VbConvert::leadingInt16(items.GetConfigItem(key, defaultValue));
    return qint16(qBound(0, int(n), CatalogueSettings::kMaxNames));
}

bool readFlag(KeyedItemStore& items, const QString& key, const QString& defaultValue)
{
    return VbConvert::toBool(items.GetConfigItem(key, defaultValue)).value_or(false);
}
} // namespace

void CatalogueSettings::LoadCatalogueSettings(KeyedItemStore& items)
{
    TypeCount = readCount(items, QStringLiteral("TotalTypes"), QStringLiteral("1"));

    TypeNames = {};
    TypeNames[0] = QStringLiteral("All");
    for (int n = 1; n <= kMaxNames; ++n)
        TypeNames[n] = items.GetConfigItem(QStringLiteral("T") + twoDigits(n),
                                           QStringLiteral("Type %1").arg(n));

    SubTypeNames = {};
    SubTypesOn = readFlag(items, QStringLiteral("SType1"), QStringLiteral("False"));
    if (SubTypesOn) {
        SubTypeCount = readCount(items, QStringLiteral("SType1Count"), QStringLiteral("0"));
        for (int n = 1; n <= SubTypeCount; ++n)
            SubTypeNames[n] =
                items.GetConfigItem(QStringLiteral("SType1%1").arg(n), QStringLiteral("-"));
    } else {
        SubTypeCount = 0;
    }

    UserFieldCount = readCount(items, QStringLiteral("UDFCount"), QStringLiteral("0"));
    UserFieldNames = {};
    for (int n = 1; n <= kMaxNames; ++n)
        UserFieldNames[n] = items.GetConfigItem(QStringLiteral("UDF") + twoDigits(n),
                                                QStringLiteral("User %1").arg(n));
}

void CatalogueSettings::LoadCategories(KeyedItemStore& items)
{
    for (int j = 0; j < kCategoryCount; ++j) {
        const QString value = items.GetConfigItem(QStringLiteral("MATRIX") + twoDigits(j),
                                                  QStringLiteral("0Category %1").arg(j + 1));
        CatalogueCategory& c = Categories[j];
        c.Code = categoryCode(j);
        c.Name = value.mid(1);
        c.On = value.startsWith(QLatin1Char('+'));
    }
}

QString CatalogueSettings::categoryCode(int j)
{
    return QString(QChar(j < 10 ? 48 + j : 55 + j));
}
