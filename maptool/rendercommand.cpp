#include "rendercommand.h"

#include "check/levelvocabulary.h"
#include "commandline.h"
#include "format/layernames.h"
#include "mapinput.h"
#include "maprenderer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <cstdio>

namespace {

const int maxCellSize = 256;
// Large enough for any map at a few pixels a cell, small enough to allocate.
const int maxPictureSide = 32768;
const qint64 maxPicturePixels = 128ll * 1024 * 1024;

} // namespace

int RenderCommand::run(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Draws the map from above as the editor shows it, one square of N pixels per cell\n"
        "of the grid the file holds. The first layer named is the one being edited, drawn\n"
        "plain (Lightmap: shaded by light); the others carry the editor's blue tint.\n"
        "Layers are stacked in the editor's order. Without --layers the picture is the\n"
        "editor's view after loading a map: Wall,Door,Actor,Sprite,Item.\n"
        "Writes nothing but the picture. Exit status 2 when something fails."));
    const QCommandLineOption outputOption({QStringLiteral("o"), QStringLiteral("output")},
                                          QStringLiteral("The PNG file to write."), QStringLiteral("FILE"));
    const QCommandLineOption cellOption(QStringLiteral("cell"),
                                        QStringLiteral("Pixels per cell, 1 to %1 (default 16).").arg(maxCellSize),
                                        QStringLiteral("N"), QStringLiteral("16"));
    const QCommandLineOption layersOption(QStringLiteral("layers"), QStringLiteral("The layers to draw."),
                                          QStringLiteral("Floor,Wall,..."));
    parser.addOptions({outputOption, cellOption, layersOption});
    parser.addPositionalArgument(QStringLiteral("LEVEL.map"), QStringLiteral("The map file."));
    CommandLine::Status status = CommandLine::Passed;
    if (!CommandLine::parse(parser, arguments, &status))
        return status;

    if (parser.positionalArguments().size() != 1 || !parser.isSet(outputOption)) {
        CommandLine::complain(QStringLiteral("give one map file and -o FILE.png (see --help)"));
        return CommandLine::Unusable;
    }
    bool number = false;
    const int cellSize = parser.value(cellOption).toInt(&number);
    if (!number || cellSize < 1 || cellSize > maxCellSize) {
        CommandLine::complain(QStringLiteral("--cell takes a whole number from 1 to %1").arg(maxCellSize));
        return CommandLine::Unusable;
    }
    MapRenderer::Options options;
    options.cellSize = cellSize;
    options.layers = MapRenderer::defaultLayers();
    if (parser.isSet(layersOption) && !chooseLayers(parser.value(layersOption), &options.layers))
        return CommandLine::Unusable;
    options.lampImage = QCoreApplication::applicationDirPath() + QStringLiteral("/assets/lamp.png");

    const QString fileName = parser.positionalArguments().first();
    MapInput input;
    QString failure;
    if (!input.read(fileName, &failure)) {
        std::fprintf(stderr, "%s: fatal: cannot read the map: %s\n", fileName.toUtf8().constData(),
                     failure.toUtf8().constData());
        return CommandLine::Unusable;
    }
    const QSize size = MapRenderer::pictureSize(input, cellSize);
    if (size.width() > maxPictureSide || size.height() > maxPictureSide
        || qint64(size.width()) * size.height() > maxPicturePixels) {
        CommandLine::complain(QStringLiteral("the picture would be %1 x %2 pixels, too large; use a smaller --cell")
                                  .arg(size.width()).arg(size.height()));
        return CommandLine::Unusable;
    }
    const QImage picture = MapRenderer().render(input, options);
    if (picture.isNull()) {
        CommandLine::complain(QStringLiteral("not enough memory for a picture of %1 x %2 pixels")
                                  .arg(size.width()).arg(size.height()));
        return CommandLine::Unusable;
    }
    return write(picture, parser.value(outputOption), fileName) ? CommandLine::Passed : CommandLine::Unusable;
}

bool RenderCommand::chooseLayers(const QString &text, QList<QByteArray> *layers)
{
    layers->clear();
    const QStringList names = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &name : names) {
        const QByteArray layer = name.trimmed().toUtf8();
        if (!layerOrder().contains(layer)) {
            CommandLine::complain(QStringLiteral("no layer \"%1\"; the layers are %2")
                                      .arg(name, QString::fromUtf8(layerOrder().join(','))));
            return false;
        }
        if (!layers->contains(layer))
            layers->append(layer);
    }
    if (layers->isEmpty()) {
        CommandLine::complain(QStringLiteral("--layers names no layer"));
        return false;
    }
    return true;
}

// All or nothing: a failed write leaves no half picture, and the map itself
// is never the target.
bool RenderCommand::write(const QImage &picture, const QString &output, const QString &input)
{
    const QFileInfo target(output);
    if (target.exists() && target.canonicalFilePath() == QFileInfo(input).canonicalFilePath()) {
        CommandLine::complain(QStringLiteral("the picture would overwrite the map itself"));
        return false;
    }
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly)) {
        CommandLine::complain(QStringLiteral("cannot write %1: %2").arg(output, file.errorString()));
        return false;
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(picture) || !file.commit()) {
        CommandLine::complain(QStringLiteral("cannot write %1: %2")
                                  .arg(output, writer.error() != QImageWriter::UnknownError
                                                   ? writer.errorString() : file.errorString()));
        file.cancelWriting();
        return false;
    }
    return true;
}
