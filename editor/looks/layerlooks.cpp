#include "looks/layerlooks.h"

#include "format/layernames.h"

#include <algorithm>

namespace LayerLooks {

const QColor otherLayerTint(0, 0, 155, 255);
const QColor selectedTint(0, 155, 0, 255);
const QColor gridCellColour(24, 26, 30);
const QColor gridLineColour(78, 84, 96);

QColor lightShade(qint32 emission)
{
    const int e = std::clamp(int(emission), 0, 255);
    return QColor(e, e, e, 255);
}

bool shownWhileEditing(const QByteArray &layer, const QByteArray &current)
{
    using namespace LayerNames;
    static const QList<QByteArray> alone{Ceil, Floor, Lightmap};
    static const QList<QByteArray> objects{Door, Actor, Sprite, Item};
    if (layer == Wall || !(alone.contains(layer) || objects.contains(layer)))
        return true;
    if (alone.contains(current))
        return layer == current;
    return !alone.contains(layer);
}

QList<QByteArray> layersShownWhileEditing(const QByteArray &current)
{
    QList<QByteArray> shown{current};
    for (const QByteArray &layer : layerOrder()) {
        if (layer != current && shownWhileEditing(layer, current))
            shown.append(layer);
    }
    return shown;
}

QColor lookOf(const QByteArray &layer, const QByteArray &current, bool selected, qint32 emission)
{
    if (selected)
        return selectedTint;
    if (layer != current)
        return otherLayerTint;
    return layer == LayerNames::Lightmap ? lightShade(emission) : QColor();
}

} // namespace LayerLooks
