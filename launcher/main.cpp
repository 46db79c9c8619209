#include "vaskmenue.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The menu lives on this stack frame so it (and any video player it holds)
    // is gone before the application object.
    VaskMenue menu;
    menu.show();
    return app.exec();
}
