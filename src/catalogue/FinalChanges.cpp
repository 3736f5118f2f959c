#include "FinalChanges.h"

#include "store/KeyedItemStore.h"

#include <QLocale>
#include <QStringList>

FinalChanges FinalChanges::read(KeyedItemStore& items)
{
    FinalChanges f{items.GetConfigItem(QStringLiteral("EntName"), QString()).trimmed(),
                   items.GetConfigItem(QStringLiteral("EntPhone"), QString()).trimmed(),
                   items.GetConfigItem(QStringLiteral("EntEmail"), QString()).trimmed(),
                   std::nullopt};
    bool ok = false;
    const int days = items.GetConfigItem(QStringLiteral("FinalDays"), QString()).trimmed().toInt(&ok);
    if (ok && days >= 0 && days <= 3650)
        f.Days = days;
    return f;
}

QString FinalChanges::reachLine() const
{
    QStringList ways;
    if (!Phone.isEmpty())
        ways << QStringLiteral("phone %1").arg(Phone);
    if (!Email.isEmpty())
        ways << QStringLiteral("e-mail %1").arg(Email);
    if (Name.isEmpty() && ways.isEmpty())
        return QString();
    QStringList parts;
    if (!Name.isEmpty())
        parts << Name;
    parts << ways;
    return QStringLiteral("Your entertainer: %1").arg(parts.join(QStringLiteral(", ")));
}

std::optional<QDate> FinalChanges::finalFrom(const QDate& eventDate) const
{
    if (!Days || !eventDate.isValid())
        return std::nullopt;
    return eventDate.addDays(-*Days);
}

QString FinalChanges::frozenLine(const QDate& eventDate, const QDate& today) const
{
    const std::optional<QDate> from = finalFrom(eventDate);
    if (!from || today < *from)
        return QString();
    const QString date = QLocale(QLocale::English, QLocale::UnitedStates)
                             .toString(*from, QStringLiteral("dddd, MMMM d, yyyy"));
    const QString who = !Name.isEmpty() ? Name : QStringLiteral("your entertainer");
    const QString how = !Phone.isEmpty()   ? QStringLiteral(" at %1").arg(Phone)
                        : !Email.isEmpty() ? QStringLiteral(" at %1").arg(Email)
                                           : QString();
    return QStringLiteral("Your plan is final since %1. For any change, please %2 %3%4.")
        .arg(date, Phone.isEmpty() ? QStringLiteral("contact") : QStringLiteral("call"), who, how);
}
