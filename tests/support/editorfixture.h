#pragma once

#include <QByteArray>
#include <QList>
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "sampleworkspace.h"

#include <memory>

class LayerController;
class MapView;
class Sector;
class Tessel;
class TextureGallery;
class QObject;
class QWidget;

// A real editor window, shown offscreen, working in a temporary folder that holds
// its own small assets and textures. The working directory is restored afterwards.
class EditorFixture
{
public:
    // textures: "Layer/name.png" entries to create (solid colours); empty = a default set.
    explicit EditorFixture(const QStringList &textures = QStringList());
    ~EditorFixture();

    static QStringList defaultTextures();
    static void writeImage(const QString &path, const QColor &color, int size = 64)
    {
        SampleWorkspace::writeImage(path, color, size);
    }

    QString path(const QString &relative) const { return workspace.path(relative); }

    void setLayer(const QString &layer);      // through the combo box, as a user would
    void clickButton(const char *objectName) const; // a mouse click on a named window button
    void pickTexture(int row);                 // clicks the gallery item
    QPoint cellCenter(int cx, int cy) const;   // map widget pixel of a canvas cell's centre
    void moveTo(int cx, int cy) const;         // puts the pointer over a canvas cell
    // Press and release at a canvas cell on whatever widget is there (a sector's
    // button or the map surface), with the pointer moved there first.
    void click(int cx, int cy, Qt::MouseButton button = Qt::LeftButton) const;
    void press(int cx, int cy, Qt::MouseButton button = Qt::LeftButton) const;
    void release(int cx, int cy, Qt::MouseButton button = Qt::LeftButton) const;
    void drag(int cx, int cy, Qt::MouseButtons buttons) const; // a move with buttons held
    Sector *paint(int cx, int cy);             // Pencil click on a canvas cell; the new sector or null
    // A sector made and added on the current layer without the mouse, for big set-ups.
    Sector *place(int mapX, int mapY);
    Sector *sectorOn(const QByteArray &layer, int mapX, int mapY) const;
    // Where the sector's button lies on the map widget.
    QRect placeOf(const Sector *sector) const;
    // Whether the sector's cell shows on the map (a cell out of sight may have no button).
    bool shown(const Sector *sector) const;
    static QList<QPoint> cellsOf(const QList<Sector *> &sectors);
    void flushDeletes() const;                 // runs deferred deletions
    // The title as the window shows it: "*" for the marker while modified.
    QString shownTitle() const;

    SampleWorkspace workspace;
    // Fails the test at once when a dialog would wait for a person.
    std::unique_ptr<QObject> dialogGuard;
    QTemporaryDir &dir = workspace.dir;
    std::unique_ptr<Tessel> window;
    MapView *view = nullptr;
    LayerController *layers = nullptr;
    TextureGallery *gallery = nullptr;
    QWidget *map = nullptr;

private:
    QWidget *targetAt(const QPoint &mapPixel) const;
};
