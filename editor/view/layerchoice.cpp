#include "view/layerchoice.h"

#include "document/editingstate.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "view/mapview.h"
#include "view/tools/selecttool.h"
#include "view/tools/toolbox.h"

#include <QComboBox>
#include <QSignalBlocker>

LayerChoice::LayerChoice(MapView &view, QComboBox *combo) : view(view), combo(combo)
{
    // The combo box, the selection and the gallery follow the chosen layer,
    // before the layer controller gives the cells their looks for it.
    connect(view.editingState(), &EditingState::chosenLayerChanged, this, &LayerChoice::follow);
    // Once a layer is picked, keys are meant for the map again: left on the
    // combo box, an arrow key or a letter would switch the layer unseen.
    connect(combo, QOverload<int>::of(&QComboBox::activated), this, [this]() {
        if (QWidget *map = this->view.mapSurface())
            map->setFocus(Qt::OtherFocusReason);
    });
}

void LayerChoice::takeComboText()
{
    view.editingState()->setChosenLayer(combo->currentText().toUtf8());
}

void LayerChoice::follow(const QByteArray &layer)
{
    if (combo) {
        const QSignalBlocker mirroring(combo);
        combo->setCurrentText(QString::fromUtf8(layer));
    }
    view.tools()->select().reset();
    view.layerController()->clearSelection();
    TextureGallery *gallery = view.textureGallery();
    gallery->selectLayer(layer);
    const int leftOut = gallery->leftOutCount(layer);
    if (leftOut > 0)
        view.setStatusText(QStringLiteral("%1 texture file(s) left out: their names contain \",\" or a line break")
                               .arg(leftOut));
}

void LayerChoice::hold(const QByteArray &name, const QString &text)
{
    EditingState *editing = view.editingState();
    if (editing->chosenLayer() == name)
        return;
    editing->holdLayer(name);
    view.setStatusText(text);
    holdText = text;
}

void LayerChoice::release()
{
    view.editingState()->releaseLayer();
    // What a Ctrl key did meanwhile (copy, paste) keeps its word.
    if (view.statusText() == holdText)
        view.clearStatusText();
}
