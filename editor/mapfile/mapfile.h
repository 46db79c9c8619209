#pragma once

#include "mapfile/mapdefinition.h"
#include "mapfile/mapformat.h"
#include "model/layertable.h"
#include "view/sectorplacement.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

class Sector;

// One save or one load of a map file: turns the layer table into the text and
// the texture copies beside it, or a file back into new sectors.
class MapFile
{
public:
    // Saving. Returns the file name used, empty when no name was chosen.
    QString saveMap(LayerTable table, QString fileName);
    bool writeMap(const QString &fileName, const LayerTable &table);
    static QPair<int, int> mapExtent(const LayerTable &table);
    // The file name without its folder and without its final ".map".
    static QString mapName(const QString &fileName);
    static QString withMapExtension(const QString &fileName);
    void copyTextures(const QString &fileName);
    const QList<MapDefinition> &definitions() const { return writtenDefinitions; }

    // Loading. An empty table with loadFailed() false and a chosen file is an
    // empty map; with nothing chosen, nothing happens.
    LayerTable loadMap(QWidget *mapWidget, const SectorPlacement &placement);
    LayerTable loadMapFile(const QString &fileName, QWidget *mapWidget, const SectorPlacement &placement);
    static QByteArray readMapText(const QString &fileName, bool *readable = nullptr);
    LayerTable parseMap(const QByteArray &text, const SectorPlacement &placement);
    static QList<QList<QByteArray>> parseGrid(const QByteArray &body);
    QHash<QByteArray, MapDefinition> parseDefinitions(const QByteArray &body) const;
    LayerTable buildSectors(const MapFormat::Parsed &parsed, const SectorPlacement &placement);
    static void applyDefinition(const MapDefinition &definition, Sector *sector);
    // The known layers in their usual order, then any other names in file order.
    static LayerTable inEditorOrder(const LayerTable &loaded, bool withAllKnownLayers);

    QString chosenFileName() const { return fileName; }
    bool failed() const { return !problem.isEmpty(); }
    QString failure() const { return problem; }
    int skippedCells() const { return skipped; }
    QStringList failedCopies() const { return copyFailures; }

private:
    void fail(const QString &reason) { problem = reason; }
    bool copyTexture(const QString &source, const QString &target);

    QList<MapDefinition> writtenDefinitions;
    QPointer<QWidget> mapWidget;
    QString fileName;
    QString problem;
    int skipped = 0;
    QStringList copyFailures;
};
