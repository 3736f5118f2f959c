#include "ImportSummary.h"

#include "platform/CsvText.h"
#include "platform/SafeReplace.h"

QString ImportSkip::where() const
{
    return line > 0 ? QStringLiteral("%1:%2").arg(file).arg(line) : file;
}

void ImportSummary::skipAt(const QString& origin, const QString& reason)
{
    const qsizetype colon = origin.lastIndexOf(QLatin1Char(':'));
    bool isLine = false;
    const int line = colon > 0 ? origin.mid(colon + 1).toInt(&isLine) : 0;
    if (isLine && line > 0)
        skip(origin.left(colon), line, reason);
    else
        skip(origin, 0, reason);
}

QString ImportSummary::text(int maxSkipped) const
{
    QString t = QStringLiteral("added %1, updated %2, unchanged %3, kept but missing %4, "
                               "pruned %5, skipped %6; the catalogue holds %7 songs\n")
                    .arg(added)
                    .arg(updated)
                    .arg(unchanged)
                    .arg(keptMissing)
                    .arg(pruned)
                    .arg(skippedCount())
                    .arg(songsInCatalogue);
    if (returned > 0)
        t += QStringLiteral("note: %1 of the added songs were removed earlier and came back with "
                            "their old keys\n")
                 .arg(returned);
    return t + reasons(maxSkipped);
}

QString ImportSummary::reasons(int maxSkipped) const
{
    QString t;
    for (const QString& note : notes)
        t += QStringLiteral("note: %1\n").arg(note);
    const int shown = int(qMin<qsizetype>(skipped.size(), maxSkipped));
    for (int i = 0; i < shown; ++i)
        t += QStringLiteral("skipped %1: %2\n").arg(skipped[i].where(), skipped[i].reason);
    if (shown < skippedCount())
        t += unlisted > 0
                 ? QStringLiteral("... and %1 more skipped (--report FILE lists the first %2)\n")
                       .arg(skippedCount() - shown)
                       .arg(kMaxListed)
                 : QStringLiteral("... and %1 more skipped (--report FILE lists them all)\n")
                       .arg(skippedCount() - shown);
    return t;
}

bool ImportSummary::writeReport(const QString& fileName, QString* error) const
{
    QByteArray out = "file,line,reason\n";
    for (const ImportSkip& s : skipped)
        out += (CsvText::field(s.file) + QLatin1Char(',') +
                (s.line > 0 ? QString::number(s.line) : QString()) + QLatin1Char(',') +
                CsvText::field(s.reason) + QLatin1Char('\n'))
                   .toUtf8();
    if (unlisted > 0)
        out += QStringLiteral(",,%1 more skipped inputs are not listed\n")
                   .arg(unlisted)
                   .toUtf8();
    QString reason;
    if (SafeReplace::write(fileName, out, &reason))
        return true;
    *error = QStringLiteral("%1: cannot be written: %2").arg(fileName, reason);
    return false;
}
