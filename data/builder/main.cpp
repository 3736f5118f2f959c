// zelcat: builds the song catalogue songlist.mdb from its CSV sources, or generates a
// synthetic catalogue for benchmarks.
//
//   zelcat build --songs songs.csv --settings settings.csv --out songlist.mdb
//   zelcat generate --count N [--seed S] [--settings settings.csv]
//                   [--allow-beyond-16-bit] --out file.mdb

#include "CatalogueBuilder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

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
    parser.setApplicationDescription(QStringLiteral("Builds or generates the song catalogue."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("mode"), QStringLiteral("build or generate"));
    const QCommandLineOption songs(QStringLiteral("songs"), QStringLiteral("Songs CSV file."),
                                   QStringLiteral("file"));
    const QCommandLineOption settings(QStringLiteral("settings"),
                                      QStringLiteral("Catalogue settings CSV file."),
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
    parser.addOptions({songs, settings, out, count, seed, beyond});
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        return refuse(QStringLiteral("give one mode, build or generate (see --help)"));
    if (!parser.isSet(out))
        return refuse(QStringLiteral("--out is missing"));

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
        return refuse(QStringLiteral("unknown mode \"%1\"; use build or generate").arg(args[0]));
    }
    if (!ok)
        return refuse(builder.errorString());
    QTextStream(stdout) << "zelcat: wrote " << builder.songCount() << " songs and "
                        << builder.settingCount() << " settings to " << parser.value(out)
                        << Qt::endl;
    return 0;
}
