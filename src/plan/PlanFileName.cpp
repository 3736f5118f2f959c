#include "PlanFileName.h"

#include "plan/PlanFacts.h"

namespace PlanFileName
{

QString of(const EventPlan& plan, const QString& extension)
{
    QString names = PlanFacts::coupleNames(plan);
    if (names.isEmpty())
        names = QStringLiteral("Our Event");
    QString base = plan.Times.Date.isGiven()
                       ? QStringLiteral("%1 %2").arg(plan.Times.Date.value.toString(Qt::ISODate), names)
                       : names;
    for (QChar& c : base)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || QStringLiteral("<>:\"/\\|?*").contains(c))
            c = QLatin1Char('_');
    // Most file systems take 255 bytes; leave room for the extension and a copy's number.
    while (base.toUtf8().size() > 200)
        base.chop(1);
    if (base.size() && base.back().isHighSurrogate())
        base.chop(1); // no half character at the cut
    // Windows drops trailing dots and blanks from a name.
    while (base.endsWith(QLatin1Char('.')) || base.endsWith(QLatin1Char(' ')))
        base.chop(1);
    return QStringLiteral("%1.%2").arg(base, extension);
}

} // namespace PlanFileName
