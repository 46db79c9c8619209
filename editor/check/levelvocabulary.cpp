#include "check/levelvocabulary.h"

#include "format/layernames.h"

namespace {

const char *const colourNames[LevelVocabulary::keyColours] = {"Blue", "Red", "Green", "Yellow"};

int colourWithSuffix(const QByteArray &subtype, const char *suffix)
{
    for (int colour = 0; colour < LevelVocabulary::keyColours; ++colour) {
        if (subtype == QByteArray(colourNames[colour]) + suffix)
            return colour;
    }
    return -1;
}

} // namespace

namespace LevelVocabulary {

int keyDoorColour(const QByteArray &doorSubtype)
{
    return colourWithSuffix(doorSubtype, "KeyDoor");
}

int keyColour(const QByteArray &itemSubtype)
{
    return colourWithSuffix(itemSubtype, "Key");
}

QByteArray keyDoorName(int colour)
{
    return QByteArray(colourNames[colour]) + "KeyDoor";
}

QByteArray keyName(int colour)
{
    return QByteArray(colourNames[colour]) + "Key";
}

bool isPlayer(const QByteArray &layer, const QByteArray &subtype)
{
    return layer == LayerNames::Actor && subtype == "Player";
}

bool isExit(const QByteArray &layer, const QByteArray &subtype)
{
    return layer == LayerNames::Item && subtype == "LevelEnd";
}

bool isSolidSprite(const QByteArray &layer, const QByteArray &subtype)
{
    return layer == LayerNames::Sprite && subtype == "Solid";
}

} // namespace LevelVocabulary
