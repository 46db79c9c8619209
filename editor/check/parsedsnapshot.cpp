#include "check/parsedsnapshot.h"

#include "format/maplimits.h"
#include "format/layernames.h"

namespace {

LevelProblem leftOutCell(const QByteArray &layer, int x, int y, const QString &message,
                         const QString &manyMessage = QString())
{
    LevelProblem problem;
    problem.severity = LevelProblem::Severity::Warning;
    problem.kind = "left-out";
    problem.layer = layer;
    problem.mapX = x;
    problem.mapY = y;
    problem.message = message;
    problem.manyMessage = manyMessage;
    return problem;
}

QString cells(qint64 count)
{
    return LevelProblem::counted(count, QStringLiteral("cell"), QStringLiteral("cells"));
}

} // namespace

ParsedSnapshot::ParsedSnapshot(const MapFormat::Parsed &parsed, QList<LevelProblem> *leftOut,
                               const TextureJudge &judge)
    : parsed(parsed), leftOut(leftOut), judge(judge)
{
}

LevelSnapshot ParsedSnapshot::from(const MapFormat::Parsed &parsed, const QList<QByteArray> &order,
                                   QList<LevelProblem> *leftOut, const TextureJudge &judge)
{
    ParsedSnapshot reading(parsed, leftOut, judge);
    for (const QByteArray &name : order) {
        for (const MapFormat::Grid &grid : parsed.grids) {
            if (grid.name == name)
                reading.snapshot.layers.append(reading.layerOf(grid));
        }
    }
    for (const MapFormat::Grid &grid : parsed.grids) {
        if (!order.contains(grid.name))
            reading.snapshot.layers.append(reading.layerOf(grid));
    }
    for (const MapFormat::Duplicate &duplicate : parsed.duplicateSections) {
        if (leftOut)
            leftOut->append(leftOutCell(duplicate.name, -1, -1,
                                        QStringLiteral("a second \"#%1\" section is left out with its %2; "
                                                       "only the first section of a name is read")
                                            .arg(QString::fromUtf8(duplicate.name.left(40)))
                                            .arg(cells(duplicate.filledCells))));
    }
    return reading.snapshot;
}

LevelLayer ParsedSnapshot::layerOf(const MapFormat::Grid &grid)
{
    LevelLayer layer;
    layer.name = grid.name;
    int far = 0;
    QPair<int, int> firstFar;
    for (int row = 0; row < grid.rows.size(); ++row) {
        const QList<QByteArray> &values = grid.rows.at(row);
        for (int column = 0; column < values.size(); ++column) {
            const QByteArray &value = values.at(column);
            if (value == "0")
                continue;
            if (row >= MapLimits::extent || column >= MapLimits::extent) {
                if (far++ == 0)
                    firstFar = {column, row};
                continue;
            }
            const auto found = parsed.definitions.constFind(value);
            if (found != parsed.definitions.constEnd()) {
                layer.cells.append(LevelCell{column, row, found->subtype, found->lighting, textureOf(*found)});
            } else if (leftOut) {
                const QString shown = QString::fromUtf8(MapFormat::cleaned(value.left(40)));
                leftOut->append(leftOutCell(
                    grid.name, column, row,
                    QStringLiteral("the value \"%1\" has no definition line, so the cell is left out").arg(shown),
                    QStringLiteral("cells hold the value \"%1\", which has no definition line, and are left out")
                        .arg(shown)));
            }
        }
    }
    if (far > 0 && leftOut)
        leftOut->append(leftOutCell(grid.name, firstFar.first, firstFar.second,
                                    QStringLiteral("%1 from here on %2 beyond the largest map the editor "
                                                   "opens (%3 x %3) and %4 left out")
                                        .arg(cells(far), far == 1 ? QStringLiteral("lies") : QStringLiteral("lie"))
                                        .arg(MapLimits::extent)
                                        .arg(far == 1 ? QStringLiteral("is") : QStringLiteral("are"))));
    return layer;
}

// A light's definition holds its values where others name their image.
int ParsedSnapshot::textureOf(const MapDefinition &definition)
{
    if (!judge || definition.layer == LayerNames::Lightmap)
        return -1;
    const auto known = textureIndex.constFind(definition.attributes);
    if (known != textureIndex.constEnd())
        return *known;
    const TexturePath::Resolved resolved = judge(definition);
    snapshot.textures.append(LevelTexture{definition.attributes, resolved.verdict, resolved.reason});
    textureIndex.insert(definition.attributes, snapshot.textures.size() - 1);
    return snapshot.textures.size() - 1;
}
