#pragma once

#include "document/mapreader.h"
#include "format/mapdefinition.h"
#include "format/mapformat.h"
#include "model/layertable.h"
#include "document/textureids.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QSaveFile;
class Sector;

// One save or one load of a map file: turns the layer table into the text and
// the texture copies beside it, or a file back into new sectors. Files come
// from anyone: every limit and path rule is enforced here.
class MapFile
{
public:
    using Phase = MapReader::Phase;
    using Progress = MapReader::Progress;

    MapFile() = default;
    // The reader writes into this file's shared state.
    MapFile(const MapFile &) = delete;
    MapFile &operator=(const MapFile &) = delete;

    static QString dialogCaption();
    static QString openDialogCaption();
    static QString dialogFilter();

    // What a save or a load did, for the window to tell the user: nothing
    // here asks a question or shows anything.
    struct Result
    {
        // Refused: a save the load would refuse, nothing written.
        enum class Outcome { Done, Refused, Cancelled, Failed };
        Outcome outcome = Outcome::Done;
        // Why it was refused or failed.
        QString problem;
        // What was left out or refused along the way, one warning each: title, text.
        QList<QPair<QString, QString>> notices;
        // Textures a save could not copy beside the map.
        QStringList failedCopies;
        // Cells a load left empty: they name no definition.
        int skippedCells = 0;
        bool done() const { return outcome == Outcome::Done; }
    };

    // Saves to the chosen name (".map" added when missing); the name used is
    // savedName().
    Result save(const QString &fileName, const LayerTable &table);
    // Writes the map and its texture copies, the file behind any link. The
    // copies are made before the map is replaced; a save the load would refuse,
    // or that fails anywhere, leaves the old file as it was.
    bool writeMap(const QString &fileName, const LayerTable &table);
    // Writes a copy of the map (the recovery copy) keeping `lines` in their
    // order; returns why it failed, empty when written.
    static QString writeRecoveryCopy(const QString &fileName, const LayerTable &table,
                                     const QList<QByteArray> &lines);
    // SHA-1 of the bytes the last save wrote or the last load read.
    QByteArray contentHash() const { return shared.hash; }
    // The definition lines of the file as the last load read them or the last
    // save wrote them. Given to a save, lines it writes again keep this order,
    // so that an unchanged map is the same file and an edit changes few lines.
    QList<QByteArray> lineOrder() const { return shared.definitionLines; }
    void setLineOrder(const QList<QByteArray> &lines) { shared.definitionLines = lines; }
    // The file name without its folder and without its final ".map".
    static QString mapName(const QString &fileName);
    static QString withMapExtension(const QString &fileName);
    // The folder beside the map that receives the texture copies.
    static QString copyFolderOf(const QString &fileName);
    const QList<MapDefinition> &definitions() const { return writtenDefinitions; }

    // Test seams, empty in the program: `openTarget` makes the file a save
    // writes into (a QSaveFile of the name otherwise), `beforeReplace` is told
    // when the map is about to be replaced, its texture copies made.
    static std::function<std::unique_ptr<QSaveFile>(const QString &fileName)> openTarget;
    static std::function<void(const QString &fileName)> beforeReplace;

    // Loading. An empty table of a done load is an empty map; `loaded` gets the
    // new sectors, owned by the caller.
    Result load(const QString &fileName, const TextureIds &ids, LayerTable *loaded);
    void setProgress(Progress progress) { reader.setProgress(std::move(progress)); }
    LayerTable parseMap(const QByteArray &text, const TextureIds &ids) { return reader.parseMap(text, ids); }
    // Map text from elsewhere (the clipboard), under the load's limits; texture
    // paths are resolved against `folder`, or left without an image when the
    // folder is not known (empty). `images` may name the image a field 4 stood
    // for where the text came from; a usable one is shown instead.
    LayerTable parseText(const QByteArray &text, const QString &folder, const TextureIds &ids,
                         const QHash<QByteArray, QString> &images = {})
    {
        return reader.parseText(text, folder, ids, images);
    }
    LayerTable buildSectors(const MapFormat::Parsed &parsed, const TextureIds &ids)
    {
        return reader.buildSectors(parsed, ids);
    }
    static void applyDefinition(const MapDefinition &definition, Sector *sector)
    {
        MapReader::applyDefinition(definition, sector);
    }
    // What applyDefinition gave another cell of the same definition.
    static void copyDefinition(const Sector &from, Sector *sector) { MapReader::copyDefinition(from, sector); }
    // The known layers in their usual order, then any other names in file order.
    static LayerTable inEditorOrder(const LayerTable &loaded, bool withAllKnownLayers)
    {
        return MapReader::inEditorOrder(loaded, withAllKnownLayers);
    }

    QString savedName() const { return shared.fileName; }
    Result result() const;
    // The identifiers a load took over from the file's lines, which nothing
    // else in the editor may use for another image from now on.
    QSet<qint32> keptIdentifiers() const { return reader.keptIdentifiers(); }
    bool failed() const { return !shared.problem.isEmpty(); }
    QString failure() const { return shared.problem; }

private:
    void fail(const QString &reason) { shared.problem = reason; }
    void refuse(const QString &reason) { shared.problem = reason; wasRefused = true; }
    void note(const QString &title, const QString &text) { shared.notes.append({title, text}); }
    bool nameIsWritable(const QString &name);
    bool isWithinLimits(const MapFormat::Plan &plan);
    bool writePlanned(const QString &name, const MapFormat::Plan &plan);
    bool copyTextures(const QString &name);
    enum class Copy { Made, SourceUnusable, WriteFailed };
    Copy copyTexture(const QString &source, const QString &target, QString *writeError);
    static std::unique_ptr<QSaveFile> target(const QString &name);

    MapReader::Shared shared;
    MapReader reader{shared};
    QList<MapDefinition> writtenDefinitions;
    QList<MapFormat::Copy> writtenCopies;
    bool wasRefused = false;
    QStringList copyFailures;
};
