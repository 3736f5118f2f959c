// zelcat: builds the song catalogue songlist.mdb from its CSV sources, generates a
// synthetic catalogue for benchmarks, or imports an entertainer's music into a catalogue.
//
//   zelcat build --songs songs.csv --settings settings.csv --out songlist.mdb
//   zelcat generate --count N [--seed S] [--settings settings.csv]
//                   [--allow-beyond-16-bit] --out file.mdb
//   zelcat import --out songlist.mdb [options] SOURCE...

#include "CatalogueBuilder.h"
#include "CatalogueImport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <unistd.h>

namespace
{
int refuse(const QString& message)
{
    QTextStream(stderr) << "zelcat: " << message << Qt::endl;
    return 1;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelcat"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZEL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds, generates or imports the song catalogue.\n"
        "import: creates or updates --out from music folders, audio files, M3U/M3U8 playlists, "
        "library XML (plist) and DJ collection XML exports and CSV files; songs keep their "
        "keys. Genres take the type --genres maps them to, else the type of that name, else "
        "--default-type; BPM below --slow-below is Slow, from --up-tempo-from on Up-Tempo, "
        "Mid-Tempo between."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("mode"),
                                 QStringLiteral("build, generate or import"));
    parser.addPositionalArgument(QStringLiteral("sources"),
                                 QStringLiteral("import: folders and files to import"),
                                 QStringLiteral("[SOURCE...]"));
    const QCommandLineOption songs(QStringLiteral("songs"), QStringLiteral("Songs CSV file."),
                                   QStringLiteral("file"));
    const QCommandLineOption settings(
        QStringLiteral("settings"),
        QStringLiteral(
            "Catalogue settings CSV file (import: of a new catalogue; default: the sample's)."),
        QStringLiteral("file"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Catalogue file to write."),
                                 QStringLiteral("file"));
    const QCommandLineOption count(QStringLiteral("count"),
                                   QStringLiteral("Number of songs to generate."),
                                   QStringLiteral("n"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Generator seed (default 1)."),
                                  QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption beyond(QStringLiteral("allow-beyond-16-bit"),
                                    QStringLiteral("Allow more than 32767 songs (stress tests)."));
    const QCommandLineOption genres(QStringLiteral("genres"),
                                    QStringLiteral("import: CSV genre,type of the genres that "
                                                   "name no type."),
                                    QStringLiteral("file"));
    const QCommandLineOption defaultType(QStringLiteral("default-type"),
                                         QStringLiteral("import: type (number or name) of other "
                                                        "genres and songs without one "
                                                        "(default 1)."),
                                         QStringLiteral("type"), QStringLiteral("1"));
    const QCommandLineOption map(QStringLiteral("map"),
                                 QStringLiteral("import: CSV columns of the fields, e.g. "
                                                "title=Song,artist=Performer (fields: title, "
                                                "artist, length, genre, year, bpm, file)."),
                                 QStringLiteral("field=Column,..."));
    const QCommandLineOption slowBelow(QStringLiteral("slow-below"),
                                       QStringLiteral("import: BPM below which a song is Slow "
                                                      "(default 90)."),
                                       QStringLiteral("bpm"),
                                       QString::number(GenreTypeMapper::kDefaultSlowBelow));
    const QCommandLineOption upTempoFrom(
        QStringLiteral("up-tempo-from"),
        QStringLiteral("import: BPM from which a song is Up-Tempo (default 120)."),
        QStringLiteral("bpm"), QString::number(GenreTypeMapper::kDefaultUpTempoFrom));
    const QCommandLineOption prune(QStringLiteral("prune"),
                                   QStringLiteral("import: remove songs no source names any "
                                                  "more (their keys are never reused)."));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                    QStringLiteral("import: show the summary, write nothing."));
    const QCommandLineOption report(QStringLiteral("report"),
                                    QStringLiteral("import: write every skipped input as CSV."),
                                    QStringLiteral("file"));
    parser.addOptions({songs, settings, out, count, seed, beyond, genres, defaultType, map,
                       slowBelow, upTempoFrom, prune, dryRun, report});
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.isEmpty() || (args.size() > 1 && args[0] != QLatin1String("import")))
        return refuse(QStringLiteral("give one mode, build, generate or import (see --help)"));
    if (!parser.isSet(out))
        return refuse(QStringLiteral("--out is missing"));

    if (args[0] == QLatin1String("import")) {
        CatalogueImport::Options o;
        o.out = parser.value(out);
        o.sources = args.mid(1);
        o.settingsFile = parser.value(settings);
        o.genresFile = parser.value(genres);
        o.defaultType = parser.value(defaultType);
        o.csvMap = parser.value(map);
        bool slowOk = false;
        bool upOk = false;
        o.slowBelow = parser.value(slowBelow).toDouble(&slowOk);
        o.upTempoFrom = parser.value(upTempoFrom).toDouble(&upOk);
        if (!slowOk || !upOk)
            return refuse(QStringLiteral("--slow-below and --up-tempo-from take a number of BPM"));
        o.prune = parser.isSet(prune);
        o.dryRun = parser.isSet(dryRun);
        o.reportFile = parser.value(report);
        o.progress = stderr;
        o.progressOnTerminal = ::isatty(STDERR_FILENO) != 0;
        CatalogueImport run;
        if (!run.run(o))
            return refuse(run.errorString());
        QTextStream(stdout) << "zelcat: " << o.out << ": " << run.summary().text();
        return 0;
    }

    CatalogueBuilder builder;
    bool ok = false;
    if (args[0] == QLatin1String("build")) {
        if (!parser.isSet(songs) || !parser.isSet(settings))
            return refuse(QStringLiteral("build needs --songs and --settings"));
        ok = builder.build(parser.value(songs), parser.value(settings), parser.value(out));
    } else if (args[0] == QLatin1String("generate")) {
        bool countOk = false;
        bool seedOk = false;
        const qint64 n = parser.value(count).toLongLong(&countOk);
        const quint32 s = parser.value(seed).toUInt(&seedOk);
        if (!countOk)
            return refuse(QStringLiteral("generate needs --count with a whole number"));
        if (!seedOk)
            return refuse(QStringLiteral("--seed must be a whole number"));
        ok =
            builder.generate(n, s, parser.isSet(beyond), parser.value(settings), parser.value(out));
    } else {
        return refuse(
            QStringLiteral("unknown mode \"%1\"; use build, generate or import").arg(args[0]));
    }
    if (!ok)
        return refuse(builder.errorString());
    QTextStream(stdout) << "zelcat: wrote " << builder.songCount() << " songs and "
                        << builder.settingCount() << " settings to " << parser.value(out)
                        << Qt::endl;
    return 0;
}
