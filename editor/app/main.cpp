#include "app/tessel.h"
#include "app/dialogs.h"
#include "view/highdpi.h"
#include "view/mapview.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

#include <cstring>

#ifdef __GLIBC__
#include <malloc.h>
#endif

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
    // Qt otherwise clips every opaque sibling out of each widget's paint region,
    // which grows with the square of the number of cell buttons on a big map.
    qputenv("QT_NO_SUBTRACTOPAQUESIBLINGS", "1");
#ifdef __GLIBC__
    // Cell buttons are made and destroyed by the ten thousand (a load, clearing
    // a layer, its undo). With the C library's fast bins every larger allocation
    // after such a burst first sweeps all the small blocks just freed; without
    // them clearing a 16,384-cell layer takes half the time.
    mallopt(M_MXFAST, 0);
#endif
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
