#include "assetwriter.h"

#include <QGuiApplication>
#include <QTextStream>

// tessel-assetgen <editor folder>: draws every image the editor ships into
// <editor folder>/assets and <editor folder>/textures/<Layer>.
// tessel-assetgen --icons <folder>: draws the programs' icons into <folder>/hicolor.
int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    const bool icons = args.size() == 3 && args.at(1) == QLatin1String("--icons");
    if (args.size() != 2 && !icons) {
        err << "usage: tessel-assetgen <output folder>\n"
               "       tessel-assetgen --icons <output folder>\n";
        return 2;
    }
    const QStringList failed = icons ? AssetWriter::writeIcons(args.at(2)) : AssetWriter::writeAll(args.at(1));
    for (const QString &path : failed)
        err << "tessel-assetgen: could not write " << path << "\n";
    return failed.isEmpty() ? 0 : 1;
}
