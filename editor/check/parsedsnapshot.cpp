#include "check/parsedsnapshot.h"

LevelSnapshot ParsedSnapshot::from(const MapFormat::Parsed &parsed, const QList<QByteArray> &order,
                                   QList<LevelProblem> *undefined)
{
    LevelSnapshot snapshot;
    for (const QByteArray &name : order) {
        for (const MapFormat::Grid &grid : parsed.grids) {
            if (grid.name == name)
                snapshot.layers.append(layerOf(parsed, grid, undefined));
        }
    }
    for (const MapFormat::Grid &grid : parsed.grids) {
        if (!order.contains(grid.name))
            snapshot.layers.append(layerOf(parsed, grid, undefined));
    }
    return snapshot;
}

LevelLayer ParsedSnapshot::layerOf(const MapFormat::Parsed &parsed, const MapFormat::Grid &grid,
                                   QList<LevelProblem> *undefined)
{
    LevelLayer layer;
    layer.name = grid.name;
    for (int row = 0; row < grid.rows.size(); ++row) {
        const QList<QByteArray> &values = grid.rows.at(row);
        for (int column = 0; column < values.size(); ++column) {
            const QByteArray &value = values.at(column);
            if (value == "0")
                continue;
            const auto found = parsed.definitions.constFind(value);
            if (found != parsed.definitions.constEnd()) {
                layer.cells.append(LevelCell{column, row, found->subtype, found->lighting});
            } else if (undefined) {
                LevelProblem problem;
                problem.severity = LevelProblem::Severity::Warning;
                problem.kind = "undefined-value";
                problem.layer = grid.name;
                problem.mapX = column;
                problem.mapY = row;
                problem.message = QStringLiteral("the value \"%1\" has no definition line, so the cell is empty")
                                      .arg(QString::fromUtf8(value.left(40)));
                undefined->append(problem);
            }
        }
    }
    return layer;
}
