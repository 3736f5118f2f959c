#include "InfoOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

int InfoOptions::answer(int argc, char* argv[])
{
    static const QStringList info{QStringLiteral("-h"), QStringLiteral("--help"),
                                  QStringLiteral("-?"), QStringLiteral("--help-all"),
                                  QStringLiteral("-v"), QStringLiteral("--version")};
    bool asked = false;
    for (int i = 1; i < argc; ++i)
        asked = asked || info.contains(QString::fromLocal8Bit(argv[i]));
    if (!asked)
        return -1;

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZEL_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Feteplan: prepares a wedding reception for its entertainer, page by page.\n\n"
        "The answers are kept in $ZEL_ROOT/orba/zel/event.mdb, without ZEL_ROOT in\n"
        "~/.local/share/orba/zel/event.mdb. The settings library keeps its hive in\n"
        "$HIVELET_HIVE, else $XDG_CONFIG_HOME/hivelet or ~/.config/hivelet;\n"
        "ZEL_HIVELET_LIBRARY names the library file to load."));
    const QCommandLineOption version = parser.addVersionOption();
    parser.addHelpOption();
    // "-platform" and the toolkit's other one-dash options are words, not letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.parse(QCoreApplication::arguments()); // the toolkit's options are not ours to refuse
    QTextStream out(stdout);
    if (parser.isSet(version))
        out << "zel " << ZEL_VERSION << Qt::endl;
    else
        out << parser.helpText();
    return 0;
}
