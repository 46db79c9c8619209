#include "infocommand.h"

#include "check/levelproblem.h"
#include "check/levelvocabulary.h"
#include "commandline.h"
#include "format/layernames.h"
#include "mapinput.h"

#include <QCommandLineParser>
#include <QMap>

#include <algorithm>
#include <cstdio>

namespace {

const LevelLayer *layerNamed(const MapInput &input, const QByteArray &name)
{
    for (const LevelLayer &layer : input.snapshot().layers) {
        if (layer.name == name)
            return &layer;
    }
    return nullptr;
}

// The known layers in the editor's order, then whatever other grids the file has.
QList<QByteArray> layerNames(const MapInput &input)
{
    QList<QByteArray> names = layerOrder();
    for (const LevelLayer &layer : input.snapshot().layers) {
        if (!names.contains(layer.name))
            names.append(layer.name);
    }
    return names;
}

QString text(const QByteArray &bytes)
{
    return CommandLine::printable(QString::fromUtf8(bytes));
}

} // namespace

int InfoCommand::run(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Describes a map: extent, cells per layer, subtypes, lights, and the textures it\n"
        "refers to, with those missing beside the map. Exit status 2 when it cannot be read."));
    parser.addPositionalArgument(QStringLiteral("LEVEL.map"), QStringLiteral("The map file."));
    CommandLine::Status status = CommandLine::Passed;
    if (!CommandLine::parse(parser, arguments, &status))
        return status;
    if (parser.positionalArguments().size() != 1) {
        CommandLine::complain(QStringLiteral("give exactly one map file (see --help)"));
        return CommandLine::Unusable;
    }
    const QString fileName = parser.positionalArguments().first();
    MapInput input;
    QString failure;
    if (!input.read(fileName, &failure)) {
        std::fprintf(stderr, "%s: fatal: cannot read the map: %s\n", fileName.toUtf8().constData(),
                     failure.toUtf8().constData());
        return CommandLine::Unusable;
    }
    CommandLine::print(QStringLiteral("file: %1\n").arg(fileName) + describe(input));
    return CommandLine::Passed;
}

QString InfoCommand::describe(const MapInput &input)
{
    return QStringLiteral("extent: %1 x %2 cells\n").arg(input.columns()).arg(input.rows())
        + cellCounts(input) + subtypes(input) + lights(input) + textures(input);
}

QString InfoCommand::cellCounts(const MapInput &input)
{
    QStringList parts;
    int total = 0;
    for (const QByteArray &name : layerNames(input)) {
        const LevelLayer *layer = layerNamed(input, name);
        const int count = layer ? layer->cells.size() : 0;
        total += count;
        parts.append(QStringLiteral("%1 %2").arg(text(name)).arg(count));
    }
    QString result = QStringLiteral("cells: %1 (%2)\n").arg(total).arg(parts.join(QStringLiteral(", ")));
    if (input.leftOutCount() > 0)
        result += QStringLiteral("cells left out: %1 (tessel-map check names them)\n").arg(input.leftOutCount());
    return result;
}

QString InfoCommand::subtypes(const MapInput &input)
{
    QStringList parts;
    for (const QByteArray &name : layerNames(input)) {
        const LevelLayer *layer = layerNamed(input, name);
        if (!layer)
            continue;
        QMap<QByteArray, int> counts;
        for (const LevelCell &cell : layer->cells) {
            if (!cell.subtype.isEmpty())
                ++counts[cell.subtype];
        }
        for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
            parts.append(QStringLiteral("%1 %2 %3").arg(text(name), text(it.key())).arg(it.value()));
    }
    return QStringLiteral("subtypes: %1\n").arg(parts.isEmpty() ? QStringLiteral("none")
                                                                : parts.join(QStringLiteral("; ")));
}

QString InfoCommand::lights(const MapInput &input)
{
    const LevelLayer *layer = layerNamed(input, LayerNames::Lightmap);
    if (!layer || layer->cells.isEmpty())
        return QStringLiteral("lights: none\n");
    int dynamic = 0;
    qint32 low = layer->cells.first().lighting.emission;
    qint32 high = low;
    for (const LevelCell &cell : layer->cells) {
        dynamic += cell.subtype == "Dynamic" ? 1 : 0;
        low = std::min(low, cell.lighting.emission);
        high = std::max(high, cell.lighting.emission);
    }
    return QStringLiteral("lights: %1 (%2 static, %3 dynamic), emission %4 to %5\n")
        .arg(LevelProblem::counted(layer->cells.size(), QStringLiteral("cell"), QStringLiteral("cells")))
        .arg(layer->cells.size() - dynamic)
        .arg(dynamic)
        .arg(low)
        .arg(high);
}

QString InfoCommand::textures(const MapInput &input)
{
    // Only textures that some cell uses, named as the file names them.
    QMap<QString, QString> used;
    const MapFormat::Parsed &parsed = input.parsed();
    for (const MapFormat::Grid &grid : parsed.grids) {
        for (const QList<QByteArray> &row : grid.rows) {
            for (const QByteArray &value : row) {
                const auto found = parsed.definitions.constFind(value);
                if (value == "0" || found == parsed.definitions.constEnd() || found->layer == LayerNames::Lightmap)
                    continue;
                const QString shown = text(found->attributes);
                if (used.contains(shown))
                    continue;
                const TexturePath::Resolved path = input.texture(*found);
                if (path.verdict == TexturePath::Verdict::Missing)
                    used.insert(shown, QStringLiteral(" (missing)"));
                else if (path.verdict == TexturePath::Verdict::Refused)
                    used.insert(shown, QStringLiteral(" (refused: %1)").arg(path.reason));
                else
                    used.insert(shown, QString());
            }
        }
    }
    const int missing = int(std::count_if(used.begin(), used.end(), [](const QString &s) { return !s.isEmpty(); }));
    QString result = QStringLiteral("textures: %1 referenced, %2 missing or refused\n").arg(used.size()).arg(missing);
    for (auto it = used.constBegin(); it != used.constEnd(); ++it)
        result += QStringLiteral("  %1%2\n").arg(it.key(), it.value());
    return result;
}
