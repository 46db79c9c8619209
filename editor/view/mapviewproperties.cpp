// Opening the properties form for cells, finishing a light emission, and giving
// the selection a texture.
#include "view/mapview.h"

#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "properties/objectpropertiesform.h"

#include <QPushButton>

ObjectPropertiesForm *MapView::openForm() const
{
    return propertiesForm.data();
}

void MapView::SectorClickEvent()
{
    // Found by the cell under the pointer, not by the button that was clicked:
    // the button may belong to a layer that is only shown, not edited.
    const QPoint cell = canvasToMap(cursorCell());
    Sector *found = layers->sectorAt(cell.x(), cell.y());
    if (!found)
        return;
    QList<Sector *> sectors = layers->selection();
    if (sectors.isEmpty())
        sectors.append(found);
    openProperties(sectors);
}

void MapView::BtnEditSelectionEvent()
{
    openProperties(layers->selection());
}

void MapView::openProperties(const QList<Sector *> &sectors)
{
    if (sectors.isEmpty())
        return;
    if (propertiesForm) {
        propertiesForm->close();
        // A closed form is never shown again; let it go instead of piling up.
        propertiesForm->deleteLater();
    }
    propertiesForm = new ObjectPropertiesForm(nullptr);
    if (sectors.size() > 1)
        propertiesForm->editSectors(sectors, placement());
    else
        propertiesForm->editSector(sectors.first(), placement());
    connect(propertiesForm->okButton(), &QPushButton::clicked, this, &MapView::SectorPropertiesClosedEvent);
    connect(propertiesForm, &ObjectPropertiesForm::editBegun, this,
            [this] { beginEdit(QStringLiteral("Properties")); });
    connect(propertiesForm, &ObjectPropertiesForm::editDone, this, &MapView::endEdit);
    propertiesForm->show();
}

void MapView::SectorPropertiesClosedEvent()
{
    // Nothing is left to do at OK: every light cell's shade followed the
    // model's report of its new level, and new cells answer clicks already.
}

void MapView::SelObjectsChangeTexEvent()
{
    const QList<Sector *> sectors = layers->selection();
    if (sectors.size() < 2)
        return;
    model->retexture(sectors, gallery->currentTexture());
}
