#include "model/subtypetable.h"

#include "model/layernames.h"

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

SubtypeTable::SubtypeTable()
{
    table = {
        {Wall, {"Solid", "PiercedWall", "SolidBounding"}},
        {Door, {"Solid", "BlueKeyDoor", "RedKeyDoor", "GreenKeyDoor", "YellowKeyDoor"}},
        {Actor, {"Soldier", "Shotgunner", "Machinegunner", "Player"}},
        {Sprite, {"No Collision", "Solid"}},
        {Item, {"Healthpack", "Explosive", "Teleport", "Armor", "ArmorMini", "Machinegun",
                  "Shotgun", "RocketLauncher", "Plasma", "BlueKey", "RedKey", "GreenKey",
                  "YellowKey", "LevelEnd"}},
        {Lightmap, {"Static", "Dynamic"}},
        {Floor, {QByteArray()}},
        {Ceil, {QByteArray()}},
    };
}

QList<QByteArray> SubtypeTable::subtypesOf(const QByteArray &layer) const
{
    for (const auto &entry : table) {
        if (entry.first == layer)
            return entry.second;
    }
    return {};
}

QList<QByteArray> subtypesOf(const QByteArray &layer)
{
    static const SubtypeTable table;
    return table.subtypesOf(layer);
}
