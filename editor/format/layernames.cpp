#include "format/layernames.h"

using namespace LayerNames;

const QList<QByteArray> &layerOrder()
{
    static const QList<QByteArray> order{Ceil, Wall, Floor, Door, Actor, Sprite, Item, Lightmap};
    return order;
}

const QList<QByteArray> &galleryScanOrder()
{
    static const QList<QByteArray> order{Ceil, Floor, Wall, Door, Actor, Sprite, Item, Lightmap};
    return order;
}
