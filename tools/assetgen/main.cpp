#include "assetwriter.h"

#include <QGuiApplication>
#include <QTextStream>

// tessel-assetgen <editor folder>: draws every image the editor ships into
// <editor folder>/assets and <editor folder>/textures/<Layer>.
int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: tessel-assetgen <output folder>\n";
        return 2;
    }
    const QStringList failed = AssetWriter::writeAll(args.at(1));
    for (const QString &path : failed)
        err << "tessel-assetgen: could not write " << path << "\n";
    return failed.isEmpty() ? 0 : 1;
}
