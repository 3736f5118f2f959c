#include "PlanFileName.h"

#include <QStringList>

namespace PlanFileName
{

QString of(const EventPlan& plan, const QString& extension)
{
    QStringList parts;
    if (plan.Times.Date.isGiven())
        parts << plan.Times.Date.value.toString(Qt::ISODate);
    QStringList names;
    for (const QString& name : {plan.Bride.Name.simplified(), plan.Groom.Name.simplified()})
        if (!name.isEmpty())
            names << name;
    if (!names.isEmpty())
        parts << names.join(QStringLiteral(" & "));
    QString base = parts.isEmpty() ? QStringLiteral("Reception plan") : parts.join(QLatin1Char(' '));
    // Characters no file name may hold on any of the couple's systems.
    static const QString kNotInNames = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : base)
        if (kNotInNames.contains(c) || c.unicode() < 32 || c.unicode() == 0x7f)
            c = QLatin1Char('-');
    // Most file systems take 255 bytes; leave room for the extension and a copy's number.
    while (base.toUtf8().size() > 200)
        base.chop(1);
    if (!base.isEmpty() && base.back().isHighSurrogate())
        base.chop(1); // no half character at the cut
    // Windows drops trailing dots and blanks from a name.
    while (base.endsWith(QLatin1Char('.')) || base.endsWith(QLatin1Char(' ')))
        base.chop(1);
    return QStringLiteral("%1.%2").arg(base, extension);
}

} // namespace PlanFileName
