#include "vaskmenue.h"

#include <QApplication>

int main(int argc, char *argv[])
{
#if QT_VERSION_MAJOR < 6
    // Scaled to the screen's density with pixmaps to match, as Qt 6 always is.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication app(argc, argv);
    // The menu lives on this stack frame so it (and any video player it holds)
    // is gone before the application object.
    VaskMenue menu;
    menu.show();
    return app.exec();
}
