#include "app/tessel.h"
#include "app/dialogs.h"
#include "app/processsetup.h"
#include "view/highdpi.h"
#include "view/mapview.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

#include <cstring>

namespace {

// True when the command line asks for help or the version, which are printed
// without opening the window and so must not need a display.
bool onlyPrints(int argc, char *argv[])
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        for (const char *option : {"-h", "--help", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

// The map files named on the command line. Prints and exits for --help,
// --version and unknown options.
QStringList mapArguments(QCoreApplication &app)
{
    QCoreApplication::setApplicationName(QStringLiteral("Tessel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSEL_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Level editor for a grid-based first-person game."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("map"), QStringLiteral("A map file to open, as Load Map would."),
                                 QStringLiteral("[map]"));
    parser.process(app);
    return parser.positionalArguments();
}

} // namespace

int main(int argc, char *argv[])
{
    if (onlyPrints(argc, argv)) {
        QCoreApplication app(argc, argv);
        mapArguments(app);
        return 0;
    }
    ProcessSetup::beforeApplication();
    HighDpi::prepareApplication();
    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tessel"));
    const QStringList maps = mapArguments(app);
    if (maps.size() > 1) {
        QTextStream(stderr) << "Tessel: one map file at most, not " << maps.size() << "\n";
        return 2;
    }

    Tessel window;
    window.show();
    window.offerRecovery();
    if (!maps.isEmpty()) {
        const QString map = QFileInfo(maps.first()).absoluteFilePath();
        // A map opened from the file manager is the folder last used, as one opened by Load Map is.
        if (window.openAtStart(map))
            Dialogs::rememberFolder(map);
    }
    return app.exec();
}
