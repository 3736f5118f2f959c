// zelplan: the plan of an event and its exports for the entertainer, from the command line.
//   zelplan EVENT.MDB -o plan.pdf|plan.html|plan.txt [--paper letter|a4]
//   zelplan EVENT.MDB --run-sheet -o sheet.pdf|sheet.html|sheet.txt [--paper letter|a4]
//   zelplan EVENT.MDB --checks          exit status 1 when the plan has a problem
//   zelplan EVENT.MDB --export FOLDER [--catalogue songlist.mdb] [--relative-to FOLDER]
//   zelplan --diff OLD NEW [-o changes.html]   exit status 1 when something changed
// The event file is only read. Bad input: one line on stderr, exit status 2.
#include "catalogue/LibrarySongs.h"
#include "plan/DjExport.h"
#include "plan/PlanChecks.h"
#include "plan/PlanDiff.h"
#include "plan/PlanDocument.h"
#include "plan/PlanExport.h"
#include "platform/PathMap.h"
#include "platform/SafeReplace.h"
#include "store/EventPlan.h"
#include "store/EventSnapshot.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

namespace
{
// The tool's stderr carries its own one-line messages only; the toolkit's notes (a missing
// runtime folder, a font fallback) would bury them. Critical messages still pass.
void quietNotes(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        QTextStream(stderr) << "zelplan: " << message << Qt::endl;
}

int fail(const QString& message)
{
    QTextStream(stderr) << "zelplan: " << message << Qt::endl;
    return 2;
}

// What changed from the event file `before` to `after`: printed, or written as a page.
int diff(const QString& before, const QString& after, const QString& output)
{
    std::optional<EventPlan> plans[2];
    const QString files[2] = {before, after};
    for (int i = 0; i < 2; ++i) {
        QString error;
        if (!QFileInfo(files[i]).isFile())
            return fail(QStringLiteral("%1: no such file").arg(files[i]));
        plans[i] = EventSnapshot::read(files[i], &error);
        if (!plans[i])
            return fail(error);
    }
    const PlanDiff changes(*plans[0], *plans[1]);
    if (output.isEmpty()) {
        QTextStream(stdout) << changes.text();
    } else {
        QString error;
        if (!SafeReplace::write(output, changes.html().toUtf8(), &error))
            return fail(QStringLiteral("%1: cannot be written: %2").arg(output, error));
    }
    return changes.isEmpty() ? 0 : 1;
}
} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(quietNotes);
    // Fonts and pictures need a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("zelplan"));
    QGuiApplication::setApplicationVersion(QStringLiteral(ZEL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The reception plan of an event file, its checks and its exports."));
    parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("event"),
                                 QStringLiteral("The event file (event.mdb)."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Write the plan to FILE (.pdf, .html or .txt)."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption paper(QStringLiteral("paper"),
                                   QStringLiteral("Paper of the PDF: letter (default) or a4."),
                                   QStringLiteral("SIZE"), QStringLiteral("letter"));
    const QCommandLineOption checks(
        QStringLiteral("checks"), QStringLiteral("Print the checks; exit status 1 on a problem."));
    const QCommandLineOption exportTo(QStringLiteral("export"),
                                      QStringLiteral("Write the song lists (CSV, M3U8) and the "
                                                     "schedule (iCalendar) into FOLDER."),
                                      QStringLiteral("FOLDER"));
    const QCommandLineOption runSheet(
        QStringLiteral("run-sheet"),
        QStringLiteral("With -o: write the entertainer's run sheet (at most two pages) instead "
                       "of the whole plan."));
    const QCommandLineOption catalogue(
        QStringLiteral("catalogue"),
        QStringLiteral("With --export: the catalogue whose files the playlists name (default: "
                       "songlist.mdb beside the event file)."),
        QStringLiteral("FILE"));
    const QCommandLineOption relativeTo(
        QStringLiteral("relative-to"),
        QStringLiteral("With --export: write the M3U8 entries relative to FOLDER."),
        QStringLiteral("FOLDER"));
    const QCommandLineOption changes(
        QStringLiteral("diff"),
        QStringLiteral("With two event files OLD NEW: print what changed (with -o: write it as "
                       "an HTML page); exit status 1 when something changed."));
    parser.addOptions({output, paper, runSheet, checks, exportTo, catalogue, relativeTo, changes});
    if (!parser.parse(QCoreApplication::arguments()))
        return fail(parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(version))
        parser.showVersion();
    const QStringList args = parser.positionalArguments();
    if (parser.isSet(changes)) {
        if (args.size() != 2 || parser.isSet(checks) || parser.isSet(exportTo) ||
            parser.isSet(runSheet))
            return fail(QStringLiteral("--diff needs two event files, OLD and NEW (see --help)"));
        return diff(args[0], args[1], parser.value(output));
    }
    const int actions =
        int(parser.isSet(output)) + int(parser.isSet(checks)) + int(parser.isSet(exportTo));
    if (args.size() != 1 || actions == 0)
        return fail(QStringLiteral("give one event file and -o FILE, --checks or --export FOLDER "
                                   "(see --help)"));
    if (parser.isSet(runSheet) && !parser.isSet(output))
        return fail(QStringLiteral("--run-sheet needs -o FILE"));
    const QString size = parser.value(paper).toLower();
    if (size != QLatin1String("letter") && size != QLatin1String("a4"))
        return fail(QStringLiteral("unknown paper \"%1\" (letter or a4)").arg(parser.value(paper)));

    const QString eventFile = args.first();
    if (!QFileInfo(eventFile).isFile())
        return fail(QStringLiteral("%1: no such file").arg(eventFile));
    QString error;
    const std::optional<EventPlan> plan = EventSnapshot::read(eventFile, &error);
    if (!plan)
        return fail(error);

    const QList<PlanFinding> findings =
        PlanChecks::run(*plan, QDate::currentDate(), PlanChecks::ForEntertainer);
    if (parser.isSet(output)) {
        const PlanDocument document = parser.isSet(runSheet)
                                          ? PlanDocument::runSheet(*plan, findings)
                                          : PlanDocument(*plan, findings, PathMap::mediaFolder());
        if (!document.write(
                parser.value(output),
                QPageSize(size == QLatin1String("a4") ? QPageSize::A4 : QPageSize::Letter), &error))
            return fail(error);
    }
    if (parser.isSet(exportTo) && !PlanExport::writeAll(*plan, parser.value(exportTo),
                                                        QDateTime::currentDateTimeUtc(), &error))
        return fail(error);
    if (parser.isSet(exportTo)) {
        // Without a catalogue no song has a file: the playlists stay empty, missing.csv
        // names every song.
        const QString file =
            parser.isSet(catalogue)
                ? parser.value(catalogue)
                : QFileInfo(eventFile).dir().filePath(QStringLiteral("songlist.mdb"));
        LibrarySongs library;
        if ((parser.isSet(catalogue) || QFileInfo::exists(file)) && !library.read(file, &error))
            return fail(error);
        if (!QFileInfo::exists(file))
            QTextStream(stderr) << "zelplan: no catalogue " << file
                                << "; the playlists name no files (see --catalogue)" << Qt::endl;
        if (!DjExport(*plan, library, parser.value(relativeTo))
                 .writeAll(parser.value(exportTo), &error))
            return fail(error);
    }
    if (parser.isSet(checks)) {
        QTextStream out(stdout);
        for (const PlanFinding& f : findings)
            out << PlanChecks::severityName(f.severity) << ": " << f.text << " ["
                << PlanChecks::pageName(f.page) << "]\n";
        if (findings.isEmpty())
            out << "No findings.\n";
        return PlanChecks::hasProblem(findings) ? 1 : 0;
    }
    return 0;
}
