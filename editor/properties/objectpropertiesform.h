#pragma once

#include "format/sectorlighting.h"
#include "model/textureentry.h"
#include "view/tools/toolcontext.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <memory>

class QLineEdit;
class QPushButton;
class MapModel;
class Sector;

namespace Ui {
class objectProperties;
}

// The window that shows one sector or a selection, sets their subtype and light
// values, and can start a point light around the first sector.
class ObjectPropertiesForm : public QWidget
{
    Q_OBJECT

public:
    explicit ObjectPropertiesForm(QWidget *parent = nullptr);
    ~ObjectPropertiesForm() override;

    // The context gives the edited layer, the gallery's lamp and the map
    // surface that an emission's new cells appear on.
    void editSector(Sector *sector, const ToolContext &context);
    void editSectors(QList<Sector *> sectors, const ToolContext &context);

    QPushButton *okButton() const;
    // The sectors still in the map that the form edits (a removed sector drops out).
    Sector *primary() const;
    QList<Sector *> editedSectors() const;
    bool multiSelection() const { return isMultiSelection; }

signals:
    // Around the edits of one OK (properties, and the emission it starts).
    void editBegun();
    void editDone();

public slots:
    void ButtonOkEvent();
    void ComboSubtypeChangedEvent();
    void SliderEmissionRadiusEvent();
    void IsLightEmitterChangedEvent();

private:
    void takeOver(Sector *sector, const ToolContext &newContext);
    void showSector();
    void showCoordinates();
    void clearCoordinates();
    void updateLightingGroup();
    void fillSubtypes();
    void showLighting();
    SectorLighting lightingFromFields(const Sector *sector, const QByteArray &subtype) const;
    void store(Sector *sector, const QByteArray &subtype, const SectorLighting &lighting);
    void applyToSelection(const QByteArray &subtype);
    static int readIntField(const QLineEdit *field);
    void startEmission(Sector *source);
    void dropSector(Sector *sector);
    TextureEntry newLightTexture() const;

    std::unique_ptr<Ui::objectProperties> ui;
    bool isMultiSelection = false;
    // Not owned; the model tells the form when one of them leaves the map.
    Sector *primarySector = nullptr;
    QList<Sector *> selection;
    QPointer<MapModel> model;
    ToolContext context;
};
