#include "view/tools/cellshapetool.h"

#include "document/editingstate.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/shapecells.h"
#include "view/mapview.h"
#include "view/sectorcanvas.h"

#include <QPointer>

#include <algorithm>

QString CellShapeTool::name() const
{
    if (shape == Shape::Line)
        return QStringLiteral("Line");
    return view.editingState()->rectangleFilled() ? QStringLiteral("Rectangle (filled)")
                                                  : QStringLiteral("Rectangle (outline)");
}

CellShapeTool::Draft CellShapeTool::draft(const QPoint &from, const QPoint &to, bool erasing) const
{
    ShapeCells::Form form = ShapeCells::Form::Line;
    if (shape == Shape::Rectangle)
        form = erasing || view.editingState()->rectangleFilled() ? ShapeCells::Form::Filled : ShapeCells::Form::Outline;
    const ShapeCells shapeCells(form, from, to);
    Draft plan;
    plan.refusal = shapeCells.refusal();
    plan.leftOut = shapeCells.leftOut();
    if (shape == Shape::Rectangle)
        plan.outline = QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                             QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y())));
    const MapModel &model = *view.mapModel();
    const QByteArray layer = view.layerController()->currentLayer();
    const TextureEntry texture = view.textureGallery()->currentTexture();
    // What changes: the empty cells a paint fills, the held ones an erase clears.
    QList<QPoint> changed;
    for (const QPoint &cell : shapeCells.cells()) {
        if (model.hasSectorAt(layer, cell.x(), cell.y()) == erasing) {
            changed.append(cell);
            plan.marks.append(ShapePreview::Mark{cell, erasing ? QString() : texture.imagePath()});
        }
    }
    if (changed.isEmpty())
        return plan;
    QPointer<QWidget> surface = view.mapSurface();
    plan.make = [layer, changed, texture, erasing, surface](MapModel &target) {
        if (erasing) {
            target.removeCells(layer, changed);
            return;
        }
        // New buttons are shown in one go, as a flood fill's are.
        SectorCanvas::Batch batch(SectorCanvas::forMap(surface));
        target.placeCells(layer, changed, texture);
    };
    return plan;
}
