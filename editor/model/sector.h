#pragma once

#include "model/sectordata.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>

class QPushButton;

// One filled cell of one layer. Owns its record and, while the editor shows
// its cell, the flat button that shows it (a cell long out of sight has none).
class Sector : public QObject
{
    Q_OBJECT

public:
    // The sector starts with these values; a button in them passes to it.
    explicit Sector(const SectorData &values = SectorData(), QObject *parent = nullptr);
    ~Sector() override;

    // The record lives inside the sector: a walk over a layer touches one
    // object per cell instead of two.
    SectorData *const data = &record;

    // The layer whose list holds the sector, empty while it is in no map. Only
    // the map model sets it, as it puts the sector into that list: a cell can
    // never claim a layer other than the one it is listed in.
    const QByteArray &layer() const { return listedIn; }

    void setLighting(const SectorLighting &lighting);
    void setMouseTransparent(bool transparent);
    void setSubtype(const QByteArray &subtype);
    void setTexture(const TextureEntry &texture);
    // With a valid size the button takes that size in the same step.
    void setWorldPosition(double x, double y, const QSize &buttonSize = QSize());

    // Ownership of the button passes to the sector.
    void attachButton(QPushButton *button);
    // Destroys the button; the record keeps the cell.
    void releaseButton();
    // Gives the button up to the caller (null when there is none).
    QPushButton *takeButton();
    bool hasButton() const { return data->button; }

    // The image that stands for the cell (a loaded cell keeps its file's path).
    QString imagePath() const { return image; }
    void setImagePath(const QString &path) { image = path; }
    // The tint the button shows the image with; invalid is the plain look.
    QColor look() const { return tint; }
    void setLookColour(const QColor &colour) { tint = colour; }
    // Whether the editor means its button to be seen now (its layer shown and
    // its cell in view); a button not meant to be seen is not redrawn.
    bool inSight() const { return sighted; }
    void setInSight(bool seen) { sighted = seen; }

private:
    friend class MapModel;

    SectorData record;
    QByteArray listedIn;
    // The button may already be gone with its window when a deferred delete runs.
    QPointer<QPushButton> ownedButton;
    QString image;
    QColor tint;
    bool sighted = false;
};
