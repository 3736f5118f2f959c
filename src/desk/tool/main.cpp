// zeldesk: the entertainer's desk, every couple's event of one folder in one window.
//   zeldesk [FOLDER] [--catalogue songlist.mdb]
// Without FOLDER the desk uses "Feteplan Events" in the user's documents, made on first use.
#include "desk/DeskFolder.h"
#include "desk/DeskWindow.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace
{
struct Options {
    QCommandLineOption catalogue{
        QStringLiteral("catalogue"),
        QStringLiteral("The entertainer's catalogue, whose settings name the days before an "
                       "event from which its plan is final (default: songlist.mdb in FOLDER)."),
        QStringLiteral("FILE")};
};

void describe(QCommandLineParser& parser, const Options& options)
{
    parser.setApplicationDescription(
        QStringLiteral("The entertainer's desk: every couple's event file of a folder in one "
                       "window."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("The folder of event files (default: "
                                                "\"Feteplan Events\" in your documents)."),
                                 QStringLiteral("[FOLDER]"));
    parser.addOption(options.catalogue);
}
} // namespace

int main(int argc, char* argv[])
{
    // --help and --version answer without a display.
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "-v" || arg == "--version" || arg == "-?") {
            QCoreApplication app(argc, argv);
            QCoreApplication::setApplicationName(QStringLiteral("zeldesk"));
            QCoreApplication::setApplicationVersion(QStringLiteral(ZEL_VERSION));
            QCommandLineParser parser;
            const Options options;
            describe(parser, options);
            parser.process(app); // prints and ends the program
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zeldesk"));
    QApplication::setApplicationVersion(QStringLiteral(ZEL_VERSION));
    QApplication::setApplicationDisplayName(QStringLiteral("Feteplan Desk"));
    QApplication::setDesktopFileName(QStringLiteral("org.feteplan.FeteplanDesk"));
    QCommandLineParser parser;
    const Options options;
    describe(parser, options);
    if (!parser.parse(QApplication::arguments()) || parser.positionalArguments().size() > 1) {
        QTextStream(stderr) << "zeldesk: "
                            << (parser.errorText().isEmpty()
                                    ? QStringLiteral("give at most one folder")
                                    : parser.errorText())
                            << Qt::endl;
        return 2;
    }
    const QString folder = parser.positionalArguments().isEmpty()
                               ? DeskFolder::defaultFolder()
                               : parser.positionalArguments().front();
    if (parser.isSet(options.catalogue) && !QFileInfo(parser.value(options.catalogue)).isFile()) {
        QTextStream(stderr) << "zeldesk: " << parser.value(options.catalogue) << ": no such file"
                            << Qt::endl;
        return 2;
    }
    if (!QDir().mkpath(folder)) {
        MessageBox::show(QStringLiteral("The folder %1 cannot be made. Start the desk with a "
                                        "folder you may write in: zeldesk FOLDER")
                             .arg(QDir::toNativeSeparators(folder)),
                         QStringLiteral("Feteplan Desk"), QMessageBox::Ok, QMessageBox::Critical);
        return 1;
    }
    DeskWindow window(folder, parser.isSet(options.catalogue)
                                  ? parser.value(options.catalogue)
                                  : DeskFolder::defaultCatalogue(folder));
    window.show();
    return app.exec();
}
