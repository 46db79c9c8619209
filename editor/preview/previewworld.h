#pragma once

#include "format/sectorlighting.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>
#include <QVector>

// What the first-person preview needs of a map, laid out for a raycaster: a
// dense grid of cells with texture indices and light, and the billboards.
// Built from plain records, so any model (or a map file) can feed it.
class PreviewWorld
{
public:
    // One filled cell of one layer.
    struct Record
    {
        QByteArray layer;
        int mapX = 0;
        int mapY = 0;
        QString imagePath;
        QByteArray subtype;
        SectorLighting lighting;
    };

    struct Light
    {
        bool present = false;
        bool dynamic = false;
        bool random = false;
        quint8 level = 0;
        quint8 minimum = 0;
        quint8 maximum = 0;
        float blinkDelay = 0.5f;
    };

    enum class DoorAxis : quint8 { AcrossX, AcrossY };

    struct Cell
    {
        qint16 wall = -1;
        qint16 door = -1;
        qint16 floor = -1;
        qint16 ceil = -1;
        DoorAxis doorAxis = DoorAxis::AcrossY;
        bool solidSprite = false;
        Light light;
    };

    struct Billboard
    {
        float x = 0;
        float y = 0;
        qint16 texture = -1;
    };

    static constexpr int textureSize = 64;

    // Replaces the whole world; textures loaded before stay cached by path.
    void rebuild(const QVector<Record> &records);
    // Images changed on disk: the next rebuild reads every texture again.
    void forgetTextures();

    int width() const { return columns; }
    int height() const { return rows; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < columns && y < rows; }
    const Cell &cellAt(int x, int y) const { return cells[y * columns + x]; }
    // What stops the camera: walls, solid sprites and everything off the map.
    bool blocks(int x, int y) const;
    const QVector<Billboard> &billboards() const { return sprites; }
    // Texels of a texture, textureSize x textureSize, 0xAARRGGBB; a fully
    // transparent texel is 0.
    const quint32 *texels(int index) const { return textures.at(index).constData(); }
    // The light level (0..255) of a cell at a moment, blinking and flickering included.
    int lightAt(int x, int y, double seconds) const;
    // Whether anything changes with time (so frames must keep coming).
    bool hasAnimatedLights() const { return animated; }
    // The cell the camera should start in, facing the first open direction:
    // the player start, or false when the map has none.
    bool playerStart(int *x, int *y) const;

    static constexpr int baseLight = 56;

private:
    qint16 textureFor(const QString &path);
    void placeDoors();

    int columns = 0;
    int rows = 0;
    QVector<Cell> cells;
    QVector<Billboard> sprites;
    QVector<QVector<quint32>> textures;
    QHash<QString, qint16> textureIndex;
    bool animated = false;
    int playerX = -1;
    int playerY = -1;
};
