#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class MapModel;
class Sector;

// What the Find window looks for. A sector matches when it meets every
// criterion given; a query that gives none matches every sector of the map.
struct FindQuery
{
    // One layer by name; empty for every layer.
    QByteArray layer;
    // A part of the texture's file name (not its folder), in any letter case.
    QString fileNamePart;
    // The subtype, whole and exact ("Stat" does not find "Static").
    QByteArray subtype;
    // Light values, each equal to the cell's when given. Only Lightmap cells
    // are lights: giving any of these leaves out every other layer, whose
    // cells merely carry the default values.
    std::optional<qint32> emission;
    std::optional<qint32> emissionMin;
    std::optional<qint32> emissionMax;
    std::optional<double> blinkDelay; // equal to a millionth
    std::optional<bool> randomIntensity;

    bool asksForLight() const
    {
        return emission || emissionMin || emissionMax || blinkDelay || randomIntensity;
    }
};

// The sectors that match, in a stable order: layer by layer in the map's layer
// order, each layer's by Map Y, then Map X (two sectors on one cell of a loaded
// map in their list order). One pass over the layers asked for.
QList<Sector *> findSectors(const MapModel &model, const FindQuery &query);

// Every sector of `layer` showing the same image as `sector` (the same texture
// folder and file name, whatever the identifier: each light cell has its own)
// with the same subtype, `sector` itself included, in the order above. Empty
// for no sector.
QList<Sector *> alikeOf(const MapModel &model, const QByteArray &layer, const Sector *sector);
