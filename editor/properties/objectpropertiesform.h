#pragma once

#include "model/sectorplacement.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;
class LayerController;
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

    void editSector(Sector *sector, SectorPlacement placement);
    void editSectors(QList<Sector *> sectors, SectorPlacement placement);

    // The view was zoomed or panned while the form was open: an emission must
    // place its new cells where the map is now.
    void updatePlacement(const SectorPlacement &current) { placement = current; }

    QPushButton *okButton() const { return buttonOK; }
    // The sectors still alive that the form edits (a removed sector drops out).
    Sector *primary() const;
    QList<Sector *> editedSectors() const;
    bool multiSelection() const { return isMultiSelection; }

public slots:
    void ButtonOkEvent();
    void ComboSubtypeChangedEvent();
    void SliderEmissionRadiusEvent();
    void IsLightEmitterChangedEvent();

private:
    void takeOver(Sector *sector, const SectorPlacement &newPlacement);
    void showSector();
    void showCoordinates();
    void clearCoordinates();
    void updateLightingGroup();
    void fillSubtypes();
    void showLighting();
    void applyLighting(Sector *sector);
    void applyToSelection(const QByteArray &subtype);
    int readIntField(const QString &objectName) const;
    void startEmission(Sector *source);

    std::unique_ptr<Ui::objectProperties> ui;
    bool isMultiSelection = false;
    QPointer<Sector> primarySector;
    QList<QPointer<Sector>> selection;
    QPushButton *buttonOK = nullptr;
    QCheckBox *chkIsLightEmitter = nullptr;
    QSlider *sliderEmissionRadius = nullptr;
    QLineEdit *editEmissionRadius = nullptr;
    QComboBox *comboSubtype = nullptr;
    QPointer<LayerController> layers;
    SectorPlacement placement;
};
