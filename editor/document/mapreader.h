#pragma once

#include "format/mapdefinition.h"
#include "format/mapformat.h"
#include "model/layertable.h"
#include "document/textureids.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

class Sector;

// The reading side of a MapFile: map text, from a file or the clipboard, into
// new sectors under the load's limits.
class MapReader
{
public:
    // The parts of a load, in order; the view adds the buttons.
    enum class Phase { Read, Parse, Sectors, Places };
    // Told how far a load is in a phase; returns false to cancel it.
    using Progress = std::function<bool(Phase phase, qint64 done, qint64 total)>;

    // What a load and a save of one MapFile both tell, kept in one place by
    // the MapFile: the reader writes into it.
    struct Shared
    {
        QString fileName;
        QString problem;
        bool cancelled = false;
        QList<QPair<QString, QString>> notes;
        int skipped = 0;
        QByteArray hash;
        QList<QByteArray> definitionLines;
    };

    explicit MapReader(Shared &shared) : shared(shared) {}
    MapReader(const MapReader &) = delete;
    MapReader &operator=(const MapReader &) = delete;

    // The file's new sectors, owned by the caller; empty when it failed.
    LayerTable load(const QString &fileName, const TextureIds &ids);
    void setProgress(Progress progress) { reportProgress = std::move(progress); }
    LayerTable parseMap(const QByteArray &text, const TextureIds &ids);
    LayerTable parseText(const QByteArray &text, const QString &folder, const TextureIds &ids,
                         const QHash<QByteArray, QString> &images);
    LayerTable buildSectors(const MapFormat::Parsed &parsed, const TextureIds &ids);
    static void applyDefinition(const MapDefinition &definition, Sector *sector);
    static void copyDefinition(const Sector &from, Sector *sector);
    static LayerTable inEditorOrder(const LayerTable &loaded, bool withAllKnownLayers);
    QSet<qint32> keptIdentifiers() const { return keptIds; }

private:
    void fail(const QString &reason) { shared.problem = reason; }
    void note(const QString &title, const QString &text) { shared.notes.append({title, text}); }
    bool countCells(const MapFormat::Parsed &parsed);
    void chooseIdentifiers(const MapFormat::Parsed &parsed, const TextureIds &ids);
    MapDefinition resolved(const QByteArray &key, const MapDefinition &definition,
                           const TextureIds &ids);
    void noteLeftOut();
    QString imageOf(const MapDefinition &definition);
    void noteSectionsLeftOut(const MapFormat::Parsed &parsed);
    std::function<bool(qint64, qint64)> progressOf(Phase phase) const;
    QString mapFolder() const;
    LayerTable dropAll(LayerTable &table);

    Shared &shared;
    Progress reportProgress;
    int farCells = 0;
    int expectedCells = 0;
    // Per definition key: the identifier its cells share and its resolved texture.
    QHash<QByteArray, MapDefinition> resolvedDefinitions;
    // A load of a file keeps the file's identifiers; clipboard text takes fresh ones.
    bool keepFileIds = false;
    QHash<QByteArray, qint32> fileIds;
    QSet<qint32> keptIds;
    QStringList refusedPaths;
    // Set by parseText: where texture paths are resolved, and whether that is known.
    QString textFolder;
    bool folderUnknown = false;
    bool readingText = false;
    QHash<QByteArray, QString> sentImages;
    int imagesLeftOut = 0;
};
