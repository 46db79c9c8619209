#include "model/subtypetable.h"

#include "format/layernames.h"

using namespace LayerNames;

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
