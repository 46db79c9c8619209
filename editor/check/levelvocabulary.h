#pragma once

#include <QByteArray>
#include <QList>

// The game's meaning of the layer and subtype names that decide whether a
// level can be finished.
namespace LevelVocabulary {

const int keyColours = 4;

// 0..3 for BlueKeyDoor .. YellowKeyDoor, -1 for any other door.
int keyDoorColour(const QByteArray &doorSubtype);
// 0..3 for BlueKey .. YellowKey, -1 for any other item.
int keyColour(const QByteArray &itemSubtype);
QByteArray keyDoorName(int colour);
QByteArray keyName(int colour);

bool isPlayer(const QByteArray &layer, const QByteArray &subtype);
bool isExit(const QByteArray &layer, const QByteArray &subtype);
bool isSolidSprite(const QByteArray &layer, const QByteArray &subtype);

} // namespace LevelVocabulary
