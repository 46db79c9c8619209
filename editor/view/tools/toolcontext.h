#pragma once

#include <QPoint>

class EditingState;
class LayerController;
class MapDocument;
class TextureGallery;
class QWidget;

// What a tool (or the properties form) works on, handed over once: the
// document (the model and its history), the editing state, the layer display,
// the gallery's current texture and the surface the map is drawn on. The view
// gives it out (MapView::toolContext); every pointer lives as long as the view.
struct ToolContext
{
    MapDocument *document = nullptr;
    EditingState *state = nullptr;
    LayerController *layers = nullptr;
    TextureGallery *gallery = nullptr;
    QWidget *mapSurface = nullptr;
};

// Where an event happened, worked out by the view from the event itself: the
// cell as seen on the canvas, the map cell under it and the point on screen.
struct ToolPoint
{
    QPoint canvasCell;
    QPoint mapCell;
    QPoint global;
};
