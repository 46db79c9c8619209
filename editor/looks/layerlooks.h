#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>

// How a cell looks, and whether it is shown at all, while a layer is edited:
// the one set of rules the editor's map and the map tool's pictures share.
namespace LayerLooks {

// Cells of a shown layer other than the one being edited.
extern const QColor otherLayerTint;
// Selected cells, whatever their layer says.
extern const QColor selectedTint;
// The empty grid under the cells (the editor's grid tile draws the same).
extern const QColor gridCellColour;
extern const QColor gridLineColour;

// A light cell of the edited Lightmap layer: grey as bright as its emission.
QColor lightShade(qint32 emission);

// Walls are always shown, and so are layers this editor does not know; Ceil,
// Floor and Lightmap are each shown alone with the walls; the object layers
// are shown together.
bool shownWhileEditing(const QByteArray &layer, const QByteArray &current);

// The edited layer first, then the other layers shown with it, in layer order.
QList<QByteArray> layersShownWhileEditing(const QByteArray &current);

// The tint of a cell of `layer` while `current` is edited; invalid is plain.
QColor lookOf(const QByteArray &layer, const QByteArray &current, bool selected, qint32 emission);

} // namespace LayerLooks
