#include "properties/objectpropertiesform.h"

#include "ui_objectpropertiesform.h"

#include "layers/layercontroller.h"
#include "model/emission.h"
#include "model/lightpoint.h"
#include "model/sector.h"
#include "model/subtypetable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

namespace {

// The form stays open while the map is edited, so any sector it holds may have
// been erased, cleared with its layer or replaced by a load in the meantime.
bool isGone(const QPointer<Sector> &sector)
{
    return !sector || sector->isRemoved();
}

bool isLightmap(const Sector *sector)
{
    return sector->data->layer == "Lightmap";
}

} // namespace

ObjectPropertiesForm::ObjectPropertiesForm(QWidget *parent)
    : QWidget(parent), ui(new Ui::objectProperties)
{
    ui->setupUi(this);

    buttonOK = findChild<QPushButton *>(QStringLiteral("buttonOK"));
    connect(buttonOK, &QPushButton::clicked, this, &ObjectPropertiesForm::ButtonOkEvent);
    comboSubtype = findChild<QComboBox *>(QStringLiteral("comboSubtype"));
    chkIsLightEmitter = findChild<QCheckBox *>(QStringLiteral("chkIsLightEmitter"));
    connect(chkIsLightEmitter, &QCheckBox::stateChanged, this, &ObjectPropertiesForm::IsLightEmitterChangedEvent);
    sliderEmissionRadius = findChild<QSlider *>(QStringLiteral("sliderEmissionRadius"));
    connect(sliderEmissionRadius, &QSlider::valueChanged, this, &ObjectPropertiesForm::SliderEmissionRadiusEvent);
    editEmissionRadius = findChild<QLineEdit *>(QStringLiteral("editEmissionRadius"));

    sliderEmissionRadius->setEnabled(false);
    editEmissionRadius->setEnabled(false);
}

ObjectPropertiesForm::~ObjectPropertiesForm() = default;

Sector *ObjectPropertiesForm::primary() const
{
    return isGone(primarySector) ? nullptr : primarySector.data();
}

QList<Sector *> ObjectPropertiesForm::editedSectors() const
{
    QList<Sector *> alive;
    if (!isMultiSelection) {
        if (Sector *sector = primary())
            alive.append(sector);
        return alive;
    }
    for (const QPointer<Sector> &sector : selection) {
        if (!isGone(sector))
            alive.append(sector.data());
    }
    return alive;
}

void ObjectPropertiesForm::editSector(Sector *sector, SectorPlacement newPlacement)
{
    isMultiSelection = false;
    selection.clear();
    takeOver(sector, newPlacement);
    showCoordinates();
    showSector();
}

void ObjectPropertiesForm::editSectors(QList<Sector *> sectors, SectorPlacement newPlacement)
{
    isMultiSelection = true;
    selection.clear();
    for (Sector *sector : qAsConst(sectors))
        selection.append(sector);
    takeOver(sectors.value(0), newPlacement);
    clearCoordinates();
    showSector();
}

void ObjectPropertiesForm::takeOver(Sector *sector, const SectorPlacement &newPlacement)
{
    primarySector = sector;
    placement = newPlacement;
    layers = newPlacement.layers;
}

// The part of opening the form that is the same for one sector and a selection.
void ObjectPropertiesForm::showSector()
{
    // Refilling the combo box must not count as the user choosing a subtype.
    disconnect(comboSubtype, &QComboBox::currentTextChanged, this, &ObjectPropertiesForm::ComboSubtypeChangedEvent);
    updateLightingGroup();
    fillSubtypes();
    if (Sector *sector = primary(); sector && isLightmap(sector))
        showLighting();
    connect(comboSubtype, &QComboBox::currentTextChanged, this, &ObjectPropertiesForm::ComboSubtypeChangedEvent);
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
    comboSubtype->clear();
    const Sector *sector = primary();
    if (!sector)
        return;
    const QList<QByteArray> names = SubtypeTable().subtypesOf(sector->data->layer);
    for (const QByteArray &name : names)
        comboSubtype->insertItem(comboSubtype->count(), QString::fromUtf8(name));
    // A stored name the layer does not list leaves the first entry current.
    if (!sector->data->subtype.isEmpty())
        comboSubtype->setCurrentText(QString::fromUtf8(sector->data->subtype));
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
    const QByteArray subtype = comboSubtype->currentText().toUtf8();
    if (isMultiSelection) {
        for (Sector *sector : editedSectors())
            sector->setSubtype(subtype);
    }
    first->setSubtype(subtype);
    updateLightingGroup();
}

void ObjectPropertiesForm::SliderEmissionRadiusEvent()
{
    editEmissionRadius->setText(QString::number(sliderEmissionRadius->value()));
}

void ObjectPropertiesForm::IsLightEmitterChangedEvent()
{
    const bool emitting = chkIsLightEmitter->isChecked();
    sliderEmissionRadius->setEnabled(emitting);
    editEmissionRadius->setEnabled(emitting);
}

int ObjectPropertiesForm::readIntField(const QString &objectName) const
{
    const auto *field = findChild<QLineEdit *>(objectName);
    return field ? field->text().toInt(nullptr, 10) : 0;
}

void ObjectPropertiesForm::applyLighting(Sector *sector)
{
    SectorLighting light;
    light.emissionRadius = 0;
    light.intensity = 255;
    light.blinkDelay = ui->edintLightingBlinkDelay->text().toDouble();
    light.emission = readIntField(QStringLiteral("editLightingEmission"));
    light.emissionMin = readIntField(QStringLiteral("editLightingEmissionMin"));
    light.emissionMax = readIntField(QStringLiteral("editLightingEmissionMax"));
    light.isDynamic = sector->data->subtype == "Dynamic" ? 1 : 0;
    light.randomIntensity = ui->checkLightingRandIntensity->checkState() == Qt::Checked ? 1 : 0;
    light.isLightEmitter = 0;
    sector->setLighting(light);
}

void ObjectPropertiesForm::ButtonOkEvent()
{
    if (Sector *first = primary()) {
        const QByteArray subtype = comboSubtype->currentText().toUtf8();
        if (isMultiSelection)
            applyToSelection(subtype);
        first->setSubtype(subtype);
        if (isLightmap(first))
            applyLighting(first);
        if (chkIsLightEmitter->isChecked())
            startEmission(first);
        else
            first->data->lighting.isLightEmitter = 0;
    }
    close();
}

void ObjectPropertiesForm::applyToSelection(const QByteArray &subtype)
{
    for (Sector *sector : editedSectors()) {
        sector->setSubtype(subtype);
        if (!isLightmap(sector))
            continue;
        applyLighting(sector);
        if (layers)
            layers->tintLightmapSector(sector);
    }
}

void ObjectPropertiesForm::startEmission(Sector *source)
{
    SectorLighting &light = source->data->lighting;
    const int level = light.isDynamic ? light.emissionMax : light.emission;
    const int radius = editEmissionRadius->text().toInt(nullptr, 10);
    light.intensity = level;
    light.emissionRadius = radius;
    light.isLightEmitter = 1;

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
    // The emission needs the layer controller the form was opened with.
    if (layers)
        emitPointLight(placement, point);
}
