#include "properties/objectpropertiesform.h"

#include "format/layernames.h"
#include "ui_objectpropertiesform.h"

#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/lightpoint.h"
#include "model/mapmodel.h"
#include "view/sectorcanvas.h"
#include "model/sector.h"
#include "model/subtypetable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include <algorithm>

namespace {

bool isLightmap(const Sector *sector)
{
    return sector->layer() == LayerNames::Lightmap;
}

} // namespace

ObjectPropertiesForm::ObjectPropertiesForm(QWidget *parent)
    : QWidget(parent), ui(new Ui::objectProperties)
{
    ui->setupUi(this);
    connect(ui->buttonOK, &QPushButton::clicked, this, &ObjectPropertiesForm::ButtonOkEvent);
    connect(ui->chkIsLightEmitter, &QCheckBox::stateChanged, this, &ObjectPropertiesForm::IsLightEmitterChangedEvent);
    connect(ui->sliderEmissionRadius, &QSlider::valueChanged, this, &ObjectPropertiesForm::SliderEmissionRadiusEvent);
    ui->sliderEmissionRadius->setEnabled(false);
    ui->editEmissionRadius->setEnabled(false);
}

ObjectPropertiesForm::~ObjectPropertiesForm() = default;

QPushButton *ObjectPropertiesForm::okButton() const
{
    return ui->buttonOK;
}

Sector *ObjectPropertiesForm::primary() const
{
    return primarySector;
}

QList<Sector *> ObjectPropertiesForm::editedSectors() const
{
    if (!isMultiSelection)
        return primarySector ? QList<Sector *>{primarySector} : QList<Sector *>();
    return selection;
}

// The form stays open while the map is edited: a sector it holds may be erased,
// cleared with its layer or replaced by a load in the meantime.
void ObjectPropertiesForm::dropSector(Sector *sector)
{
    if (primarySector == sector)
        primarySector = nullptr;
    selection.removeAll(sector);
}

void ObjectPropertiesForm::editSector(Sector *sector, const ToolContext &newContext)
{
    isMultiSelection = false;
    selection.clear();
    takeOver(sector, newContext);
    showCoordinates();
    showSector();
}

void ObjectPropertiesForm::editSectors(QList<Sector *> sectors, const ToolContext &newContext)
{
    isMultiSelection = true;
    selection = sectors;
    takeOver(sectors.value(0), newContext);
    clearCoordinates();
    showSector();
}

void ObjectPropertiesForm::takeOver(Sector *sector, const ToolContext &newContext)
{
    primarySector = sector;
    context = newContext;
    if (model)
        disconnect(model, nullptr, this, nullptr);
    model = newContext.layers ? newContext.layers->mapModel() : nullptr;
    if (model) {
        connect(model, &MapModel::sectorRemoved, this, &ObjectPropertiesForm::dropSector);
        connect(model, &QObject::destroyed, this, [this] {
            primarySector = nullptr;
            selection.clear();
        });
    }
}

// The part of opening the form that is the same for one sector and a selection.
void ObjectPropertiesForm::showSector()
{
    // Refilling the combo box must not count as the user choosing a subtype.
    disconnect(ui->comboSubtype, &QComboBox::currentTextChanged, this, &ObjectPropertiesForm::ComboSubtypeChangedEvent);
    updateLightingGroup();
    fillSubtypes();
    if (Sector *sector = primary(); sector && isLightmap(sector))
        showLighting();
    connect(ui->comboSubtype, &QComboBox::currentTextChanged, this, &ObjectPropertiesForm::ComboSubtypeChangedEvent);
}

void ObjectPropertiesForm::showCoordinates()
{
    const Sector *sector = primary();
    if (!sector)
        return clearCoordinates();
    const SectorData *d = sector->data;
    ui->textMapX->setText(QString::number(d->mapX));
    ui->textMapY->setText(QString::number(d->mapY));
    ui->textWorldX->setText(QString::number(d->worldX, 'g', 6));
    ui->textWorldY->setText(QString::number(d->worldY, 'g', 6));
}

void ObjectPropertiesForm::clearCoordinates()
{
    const QString unknown = QStringLiteral("-/-");
    for (QLineEdit *field : {ui->textMapX, ui->textMapY, ui->textWorldX, ui->textWorldY})
        field->setText(unknown);
}

void ObjectPropertiesForm::updateLightingGroup()
{
    const Sector *sector = primary();
    if (!sector || !isLightmap(sector)) {
        ui->groupLighting->setVisible(false);
        return;
    }
    // A static light has one constant emission; a dynamic one varies between
    // min and max, blinking, optionally at random.
    const bool isStatic = sector->data->subtype == "Static";
    ui->editLightingEmission->setEnabled(isStatic);
    const QList<QWidget *> dynamicOnly{ui->labelLightingMin, ui->editLightingEmissionMin,
                                       ui->labelLightingMax, ui->editLightingEmissionMax,
                                       ui->labelLightBlinkDelay, ui->edintLightingBlinkDelay,
                                       ui->checkLightingRandIntensity};
    for (QWidget *widget : dynamicOnly)
        widget->setEnabled(!isStatic);
    ui->groupLighting->setVisible(true);
}

void ObjectPropertiesForm::fillSubtypes()
{
    ui->comboSubtype->clear();
    const Sector *sector = primary();
    if (!sector)
        return;
    const QList<QByteArray> names = subtypesOf(sector->layer());
    for (const QByteArray &name : names)
        ui->comboSubtype->insertItem(ui->comboSubtype->count(), QString::fromUtf8(name));
    // A stored name the layer does not list leaves the first entry current.
    if (!sector->data->subtype.isEmpty())
        ui->comboSubtype->setCurrentText(QString::fromUtf8(sector->data->subtype));
}

void ObjectPropertiesForm::showLighting()
{
    const SectorLighting &light = primary()->data->lighting;
    ui->editLightingEmission->setText(QString::number(light.emission));
    ui->editLightingEmissionMin->setText(QString::number(light.emissionMin));
    ui->editLightingEmissionMax->setText(QString::number(light.emissionMax));
    ui->edintLightingBlinkDelay->setText(QString::number(light.blinkDelay, 'g', 6));
    ui->checkLightingRandIntensity->setCheckState(light.randomIntensity ? Qt::Checked : Qt::Unchecked);
}

void ObjectPropertiesForm::ComboSubtypeChangedEvent()
{
    // Without its primary sector the form shows a cell that no longer exists.
    Sector *first = primary();
    if (!first)
        return;
    const QByteArray subtype = ui->comboSubtype->currentText().toUtf8();
    if (isMultiSelection) {
        for (Sector *sector : editedSectors())
            store(sector, subtype, sector->data->lighting);
    }
    store(first, subtype, first->data->lighting);
    updateLightingGroup();
}

void ObjectPropertiesForm::SliderEmissionRadiusEvent()
{
    ui->editEmissionRadius->setText(QString::number(ui->sliderEmissionRadius->value()));
}

void ObjectPropertiesForm::IsLightEmitterChangedEvent()
{
    const bool emitting = ui->chkIsLightEmitter->isChecked();
    ui->sliderEmissionRadius->setEnabled(emitting);
    ui->editEmissionRadius->setEnabled(emitting);
}

int ObjectPropertiesForm::readIntField(const QLineEdit *field)
{
    return field->text().trimmed().toInt(nullptr, 10);
}

void ObjectPropertiesForm::store(Sector *sector, const QByteArray &subtype, const SectorLighting &lighting)
{
    if (model) {
        model->setProperties(sector, subtype, lighting);
        return;
    }
    sector->setSubtype(subtype);
    sector->setLighting(lighting);
}

SectorLighting ObjectPropertiesForm::lightingFromFields(const Sector *sector, const QByteArray &subtype) const
{
    if (!isLightmap(sector))
        return sector->data->lighting;
    SectorLighting light;
    light.emissionRadius = 0;
    light.intensity = 255;
    light.blinkDelay = ui->edintLightingBlinkDelay->text().trimmed().toDouble();
    light.emission = readIntField(ui->editLightingEmission);
    light.emissionMin = readIntField(ui->editLightingEmissionMin);
    light.emissionMax = readIntField(ui->editLightingEmissionMax);
    light.isDynamic = subtype == "Dynamic" ? 1 : 0;
    light.randomIntensity = ui->checkLightingRandIntensity->checkState() == Qt::Checked ? 1 : 0;
    light.isLightEmitter = 0;
    return light;
}

void ObjectPropertiesForm::ButtonOkEvent()
{
    if (Sector *first = primary()) {
        emit editBegun();
        const QByteArray subtype = ui->comboSubtype->currentText().toUtf8();
        if (isMultiSelection)
            applyToSelection(subtype);
        SectorLighting light = lightingFromFields(first, subtype);
        if (ui->chkIsLightEmitter->isChecked()) {
            store(first, subtype, light);
            startEmission(first);
        } else {
            light.isLightEmitter = 0;
            store(first, subtype, light);
        }
        emit editDone();
    }
    close();
}

void ObjectPropertiesForm::applyToSelection(const QByteArray &subtype)
{
    // The layer controller shades light cells as the model reports their new levels.
    for (Sector *sector : editedSectors())
        store(sector, subtype, lightingFromFields(sector, subtype));
}

// The light cells a new emission makes show the lamp, even when another layer is
// being edited (the form is not modal).
TextureEntry ObjectPropertiesForm::newLightTexture() const
{
    if (!context.gallery)
        return TextureEntry();
    if (context.layers && context.layers->currentLayer() == LayerNames::Lightmap)
        return context.gallery->currentTexture();
    TextureEntry lamp = context.gallery->texturesOf(LayerNames::Lightmap).value(0);
    lamp.id = -1;
    return lamp;
}

void ObjectPropertiesForm::startEmission(Sector *source)
{
    SectorLighting light = source->data->lighting;
    const int level = light.isDynamic ? light.emissionMax : light.emission;
    const int radius = ui->editEmissionRadius->text().trimmed().toInt(nullptr, 10);
    light.intensity = level;
    light.emissionRadius = radius;
    light.isLightEmitter = 1;
    store(source, source->data->subtype, light);

    // The cells get their own levels; everything else is the source's, including
    // the blink delay the user just typed (a default here would overwrite it on
    // the source cell itself).
    LightPoint point;
    point.lighting.blinkDelay = light.blinkDelay;
    point.lighting.emissionMin = light.emissionMin;
    point.lighting.emissionMax = light.emissionMax;
    point.lighting.isDynamic = light.isDynamic;
    point.lighting.randomIntensity = light.randomIntensity;
    point.mapX = source->data->mapX;
    point.mapY = source->data->mapY;
    point.intensity = level;
    point.radius = radius;
    if (!model)
        return;
    // The new cells' buttons are shown and polished together, not one by one.
    SectorCanvas::Batch batch(SectorCanvas::forMap(context.mapSurface));
    model->emitPointLight(point, newLightTexture());
}
