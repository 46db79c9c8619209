#include "app/tessel.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Qt otherwise clips every opaque sibling out of each widget's paint region,
    // which grows with the square of the number of cell buttons on a big map.
    qputenv("QT_NO_SUBTRACTOPAQUESIBLINGS", "1");
    QApplication app(argc, argv);
    Tessel window;
    window.show();
    return app.exec();
}
