#include "check/parsedsnapshot.h"

#include "format/maplimits.h"

namespace {

LevelProblem leftOutCell(const QByteArray &layer, int x, int y, const QString &message)
{
    LevelProblem problem;
    problem.severity = LevelProblem::Severity::Warning;
    problem.kind = "left-out";
    problem.layer = layer;
    problem.mapX = x;
    problem.mapY = y;
    problem.message = message;
    return problem;
}

} // namespace

LevelSnapshot ParsedSnapshot::from(const MapFormat::Parsed &parsed, const QList<QByteArray> &order,
                                   QList<LevelProblem> *leftOut)
{
    LevelSnapshot snapshot;
    for (const QByteArray &name : order) {
        for (const MapFormat::Grid &grid : parsed.grids) {
            if (grid.name == name)
                snapshot.layers.append(layerOf(parsed, grid, leftOut));
        }
    }
    for (const MapFormat::Grid &grid : parsed.grids) {
        if (!order.contains(grid.name))
            snapshot.layers.append(layerOf(parsed, grid, leftOut));
    }
    for (const MapFormat::Duplicate &duplicate : parsed.duplicateSections) {
        if (leftOut)
            leftOut->append(leftOutCell(duplicate.name, -1, -1,
                                        QStringLiteral("a second \"#%1\" section is left out with its %2 cell(s); "
                                                       "only the first section of a name is read")
                                            .arg(QString::fromUtf8(duplicate.name.left(40)))
                                            .arg(duplicate.filledCells)));
    }
    return snapshot;
}

LevelLayer ParsedSnapshot::layerOf(const MapFormat::Parsed &parsed, const MapFormat::Grid &grid,
                                   QList<LevelProblem> *leftOut)
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
            if (found != parsed.definitions.constEnd())
                layer.cells.append(LevelCell{column, row, found->subtype, found->lighting});
            else if (leftOut)
                leftOut->append(leftOutCell(grid.name, column, row,
                                            QStringLiteral("the value \"%1\" has no definition line, so the "
                                                           "cell is left out")
                                                .arg(QString::fromUtf8(MapFormat::cleaned(value.left(40))))));
        }
    }
    if (far > 0 && leftOut)
        leftOut->append(leftOutCell(grid.name, firstFar.first, firstFar.second,
                                    QStringLiteral("%1 cell(s) from here on lie beyond the largest map the editor "
                                                   "opens (%2 x %2) and are left out")
                                        .arg(far).arg(MapLimits::extent)));
    return layer;
}
