#include "view/propertiescontroller.h"

#include "layers/layercontroller.h"
#include "model/sector.h"
#include "properties/objectpropertiesform.h"
#include "view/mapview.h"

#include <QPushButton>

PropertiesController::PropertiesController(MapView &view) : view(view)
{
}

PropertiesController::~PropertiesController()
{
    delete form.data();
}

void PropertiesController::openForCellUnderPointer()
{
    // Found by the cell under the pointer, not by the button that was clicked:
    // the button may belong to a layer that is only shown, not edited.
    const QPoint cell = view.canvasToMap(view.cursorCell());
    Sector *found = view.layerController()->sectorAt(cell.x(), cell.y());
    if (!found)
        return;
    QList<Sector *> sectors = view.layerController()->selection();
    if (sectors.isEmpty())
        sectors.append(found);
    openProperties(sectors);
}

void PropertiesController::openForSelection()
{
    openProperties(view.layerController()->selection());
}

void PropertiesController::openProperties(const QList<Sector *> &sectors)
{
    if (sectors.isEmpty())
        return;
    if (form) {
        form->close();
        // A closed form is never shown again; let it go instead of piling up.
        form->deleteLater();
    }
    form = new ObjectPropertiesForm(nullptr);
    if (sectors.size() > 1)
        form->editSectors(sectors, view.toolContext());
    else
        form->editSector(sectors.first(), view.toolContext());
    connect(form->okButton(), &QPushButton::clicked, &view, &MapView::SectorPropertiesClosedEvent);
    connect(form, &ObjectPropertiesForm::editBegun, this,
            [this] { view.mapDocument()->beginEdit(QStringLiteral("Properties")); });
    connect(form, &ObjectPropertiesForm::editDone, this, [this] { view.mapDocument()->endEdit(); });
    form->show();
}

ObjectPropertiesForm *PropertiesController::openForm() const
{
    return form;
}

void PropertiesController::closeForm()
{
    if (form)
        form->close();
}
