// zelcat: builds the song catalogue songlist.mdb from its CSV sources, generates a
// synthetic catalogue for benchmarks, or imports an entertainer's music into a catalogue.
// Each of the three is a command with its own options and help, as in
//
//   zelcat build --songs songs.csv --settings settings.csv --out songlist.mdb
//   zelcat generate --count N [--seed S] [--settings settings.csv]
//                   [--allow-beyond-16-bit] --out file.mdb
//   zelcat import --out songlist.mdb [options] SOURCE...
//   zelcat medium --catalogue songlist.mdb --out FOLDER [--from MEDIUM]
//   zelcat help [COMMAND]
//
// Options given before the command, as earlier releases accepted, still belong to it.

#include "CatalogueBuilder.h"
#include "CatalogueImport.h"
#include "MediumWriter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <unistd.h>

#include <array>

namespace
{
int refuse(const QString& message)
{
    QTextStream(stderr) << "zelcat: " << message << Qt::endl;
    return 1;
}

QCommandLineOption valueOption(const char* name, const char* text, const char* valueName,
                               const QString& defaultValue = QString())
{
    return QCommandLineOption(QLatin1String(name), QString::fromUtf8(text),
                              QLatin1String(valueName), defaultValue);
}

const QCommandLineOption kOut = valueOption("out", "Catalogue file to write.", "file");

// One command: its name, its line in the list of commands, the options it takes, and what it
// does with them once they are read.
struct Command {
    const char* name;
    const char* summary;
    void (*describe)(QCommandLineParser& parser);
    int (*run)(const QCommandLineParser& parser);
};

void describeBuild(QCommandLineParser& p)
{
    p.setApplicationDescription(QStringLiteral(
        "Builds the song catalogue from a songs CSV file and a catalogue settings CSV file."));
    p.addOptions({valueOption("songs", "Songs CSV file.", "file"),
                  valueOption("settings", "Catalogue settings CSV file.", "file"), kOut});
}

int report(const CatalogueBuilder& builder, bool ok, const QString& out)
{
    if (!ok)
        return refuse(builder.errorString());
    QTextStream(stdout) << "zelcat: wrote " << builder.songCount() << " songs and "
                        << builder.settingCount() << " settings to " << out << Qt::endl;
    return 0;
}

int runBuild(const QCommandLineParser& p)
{
    if (!p.isSet(QStringLiteral("songs")) || !p.isSet(QStringLiteral("settings")))
        return refuse(QStringLiteral("build needs --songs and --settings"));
    CatalogueBuilder builder;
    const bool ok = builder.build(p.value(QStringLiteral("songs")),
                                  p.value(QStringLiteral("settings")), p.value(kOut));
    return report(builder, ok, p.value(kOut));
}

void describeGenerate(QCommandLineParser& p)
{
    p.setApplicationDescription(
        QStringLiteral("Generates a synthetic catalogue of a given number of songs, for trying "
                       "the search with a large catalogue; the same seed gives the same one."));
    p.addOptions({valueOption("count", "Number of songs to generate.", "n"),
                  valueOption("seed", "Generator seed (default 1).", "n", QStringLiteral("1")),
                  valueOption("settings", "Catalogue settings CSV file.", "file"),
                  QCommandLineOption(QStringLiteral("allow-beyond-16-bit"),
                                     QStringLiteral("Allow more than 32767 songs (stress tests).")),
                  kOut});
}

int runGenerate(const QCommandLineParser& p)
{
    bool countOk = false;
    bool seedOk = false;
    const qint64 n = p.value(QStringLiteral("count")).toLongLong(&countOk);
    const quint32 s = p.value(QStringLiteral("seed")).toUInt(&seedOk);
    if (!countOk)
        return refuse(QStringLiteral("generate needs --count with a whole number"));
    if (!seedOk)
        return refuse(QStringLiteral("--seed must be a whole number"));
    CatalogueBuilder builder;
    const bool ok = builder.generate(n, s, p.isSet(QStringLiteral("allow-beyond-16-bit")),
                                     p.value(QStringLiteral("settings")), p.value(kOut));
    return report(builder, ok, p.value(kOut));
}

void describeImport(QCommandLineParser& p)
{
    p.setApplicationDescription(QStringLiteral(
        "Creates or updates --out from music folders, audio files, M3U/M3U8 playlists, library "
        "XML (plist), DJ collection XML and NML exports and CSV files; songs keep their keys. "
        "Genres "
        "take the type --genres maps them to, else the type of that name, else --default-type; "
        "BPM below --slow-below is Slow, from --up-tempo-from on Up-Tempo, Mid-Tempo between."));
    p.addPositionalArgument(QStringLiteral("sources"),
                            QStringLiteral("Folders and files to import."),
                            QStringLiteral("SOURCE..."));
    p.addOptions(
        {kOut,
         valueOption("settings",
                     "Catalogue settings CSV file of a new catalogue (default: the sample's).",
                     "file"),
         valueOption("genres", "CSV genre,type of the genres that name no type.", "file"),
         valueOption("default-type",
                     "Type (number or name) of other genres and songs without one (default 1).",
                     "type", QStringLiteral("1")),
         valueOption("map",
                     "CSV columns of the fields, e.g. title=Song,artist=Performer (fields: "
                     "title, artist, length, genre, year, bpm, file).",
                     "field=Column,..."),
         valueOption("slow-below", "BPM below which a song is Slow (default 90).", "bpm",
                     QString::number(GenreTypeMapper::kDefaultSlowBelow)),
         valueOption("up-tempo-from", "BPM from which a song is Up-Tempo (default 120).", "bpm",
                     QString::number(GenreTypeMapper::kDefaultUpTempoFrom)),
         QCommandLineOption(QStringLiteral("prune"),
                            QStringLiteral("Remove songs no source names any more (their keys "
                                           "are never reused).")),
         QCommandLineOption(QStringLiteral("dry-run"),
                            QStringLiteral("Show the summary, write nothing.")),
         QCommandLineOption(QStringLiteral("rescan"),
                            QStringLiteral("Read every file's tags again, also of files that "
                                           "did not change or failed before.")),
         valueOption("report", "Write every skipped input as CSV.", "file")});
}

int runImport(const QCommandLineParser& p)
{
    CatalogueImport::Options o;
    o.out = p.value(kOut);
    o.sources = p.positionalArguments();
    o.settingsFile = p.value(QStringLiteral("settings"));
    o.genresFile = p.value(QStringLiteral("genres"));
    o.defaultType = p.value(QStringLiteral("default-type"));
    o.csvMap = p.value(QStringLiteral("map"));
    bool slowOk = false;
    bool upOk = false;
    o.slowBelow = p.value(QStringLiteral("slow-below")).toDouble(&slowOk);
    o.upTempoFrom = p.value(QStringLiteral("up-tempo-from")).toDouble(&upOk);
    if (!slowOk || !upOk)
        return refuse(QStringLiteral("--slow-below and --up-tempo-from take a number of BPM"));
    o.prune = p.isSet(QStringLiteral("prune"));
    o.dryRun = p.isSet(QStringLiteral("dry-run"));
    o.rescan = p.isSet(QStringLiteral("rescan"));
    o.reportFile = p.value(QStringLiteral("report"));
    o.progress = stderr;
    o.progressOnTerminal = ::isatty(STDERR_FILENO) != 0;
    CatalogueImport run;
    if (!run.run(o)) {
        QTextStream(stdout) << run.summary().reasons();
        return refuse(run.errorString());
    }
    QTextStream(stdout) << "zelcat: " << o.out << ": " << run.summary().text();
    return 0;
}

void describeMedium(QCommandLineParser& p)
{
    p.setApplicationDescription(QStringLiteral(
        "Makes a data medium for a couple: a folder the wizard's data loader accepts, with the "
        "given catalogue (copied whole, with the entertainer's settings) and the sample's texts "
        "and pictures, or those of another medium. An existing folder is replaced only when it "
        "is empty or a medium itself."));
    p.addOptions({valueOption("catalogue", "The song catalogue to hand over.", "songlist.mdb"),
                  valueOption("out", "Folder of the medium to write.", "folder"),
                  valueOption("from", "A medium whose texts and pictures are taken.", "folder")});
}

int runMedium(const QCommandLineParser& p)
{
    if (!p.isSet(QStringLiteral("catalogue")))
        return refuse(QStringLiteral("medium needs --catalogue"));
    MediumWriter writer;
    if (!writer.write(
            {p.value(QStringLiteral("catalogue")), p.value(kOut), p.value(QStringLiteral("from"))}))
        return refuse(writer.errorString());
    QTextStream(stdout) << "zelcat: " << writer.summary();
    return 0;
}

constexpr std::array<Command, 4> kCommands{{
    {"build", "Build the catalogue from its songs and settings CSV files.", describeBuild,
     runBuild},
    {"generate", "Generate a synthetic catalogue of N songs for benchmarks.", describeGenerate,
     runGenerate},
    {"import", "Create or update a catalogue from music folders, playlists and exports.",
     describeImport, runImport},
    {"medium", "Make a data medium for a couple from a catalogue.", describeMedium, runMedium},
}};

const Command* commandNamed(const QString& name)
{
    for (const Command& c : kCommands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

// The help of one command: the parser's own text, its usage line naming the command.
QString helpOf(const Command& c)
{
    QCommandLineParser p;
    c.describe(p);
    p.addHelpOption();
    QString text = p.helpText();
    const qsizetype options = text.indexOf(QLatin1String("[options]"));
    if (options >= 0)
        text.replace(0, options, QStringLiteral("Usage: zelcat %1 ").arg(QLatin1String(c.name)));
    return text;
}

QString overview()
{
    QString text = QStringLiteral(
        "Usage: zelcat COMMAND [options]\n"
        "Builds, generates or imports the song catalogue songlist.mdb, or makes a data "
        "medium.\n\nCommands:\n");
    for (const Command& c : kCommands)
        text += QStringLiteral("  %1 %2\n").arg(QLatin1String(c.name), -9).arg(c.summary);
    text += QStringLiteral("\n'zelcat help COMMAND' or 'zelcat COMMAND --help' shows the options "
                           "of a command.\n  -h, --help     Displays this help.\n"
                           "  -v, --version  Displays version information.\n");
    return text;
}

// The place of the command among the arguments: the first one that is neither an option nor
// the value of an option before it (earlier releases took the options in any order).
qsizetype commandIndex(const QStringList& args)
{
    static const QStringList withValue{
        QStringLiteral("--songs"),        QStringLiteral("--settings"),
        QStringLiteral("--out"),          QStringLiteral("--count"),
        QStringLiteral("--seed"),         QStringLiteral("--genres"),
        QStringLiteral("--default-type"), QStringLiteral("--map"),
        QStringLiteral("--slow-below"),   QStringLiteral("--up-tempo-from"),
        QStringLiteral("--report"),       QStringLiteral("--catalogue"),
        QStringLiteral("--from")};
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (!args[i].startsWith(QLatin1Char('-')))
            return i;
        if (withValue.contains(args[i]))
            ++i;
    }
    return -1;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelcat"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZEL_VERSION));

    QStringList args = QCoreApplication::arguments();
    const qsizetype at = commandIndex(args);
    const QString name = at > 0 ? args.takeAt(at) : QString();
    if (name == QLatin1String("help")) {
        const Command* c = args.size() > at ? commandNamed(args[at]) : nullptr;
        QTextStream(stdout) << (c ? helpOf(*c) : overview());
        return 0;
    }
    const Command* command = commandNamed(name);
    if (!command) {
        if (args.contains(QLatin1String("-v")) || args.contains(QLatin1String("--version"))) {
            QTextStream(stdout) << "zelcat " << ZEL_VERSION << Qt::endl;
            return 0;
        }
        if (args.contains(QLatin1String("-h")) || args.contains(QLatin1String("--help"))) {
            QTextStream(stdout) << overview();
            return 0;
        }
        return refuse(name.isEmpty()
                          ? QStringLiteral("give a command, build, generate, import or medium "
                                           "(see --help)")
                          : QStringLiteral("unknown command \"%1\"; use build, generate, "
                                           "import or medium (see --help)")
                                .arg(name));
    }

    QCommandLineParser parser;
    command->describe(parser);
    const QCommandLineOption help = parser.addHelpOption();
    if (!parser.parse(args))
        return refuse(parser.errorText());
    if (parser.isSet(help)) {
        QTextStream(stdout) << helpOf(*command);
        return 0;
    }
    if (command->run != runImport && !parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("%1 takes no file names, only options (see zelcat %1 --help)")
                          .arg(name));
    if (!parser.isSet(kOut))
        return refuse(QStringLiteral("--out is missing"));
    return command->run(parser);
}
