#include "document/mapdocument.h"

#include "document/mapeditcommand.h"
#include "document/recoveryfile.h"
#include "model/mapmodel.h"

#include <QUndoStack>

namespace {

// Far more than the 200 steps asked for; a step is a list of cell records.
const int historyLimit = 1000;

} // namespace

MapDocument::MapDocument(Writer recoveryWriter)
    : map(std::make_unique<MapModel>()), history(std::make_unique<QUndoStack>())
{
    history->setUndoLimit(historyLimit);
    connect(map.get(), &MapModel::edited, this, &MapDocument::recordEdit);
    followRecovery(std::move(recoveryWriter));
}

MapDocument::~MapDocument()
{
    // The sectors go first, while those who follow them (the history's
    // steps hold the model weakly) are all still there.
    map.reset();
}

void MapDocument::beginEdit(const QString &text)
{
    if (editDepth++ == 0)
        openEdit = std::make_unique<MapEditCommand>(map.get(), text);
}

void MapDocument::endEdit()
{
    if (editDepth == 0 || --editDepth > 0)
        return;
    std::unique_ptr<MapEditCommand> step = std::move(openEdit);
    if (!step->isEmpty())
        history->push(step.release());
    emit editClosed();
}

void MapDocument::recordEdit(const MapChange &change)
{
    if (editDepth > 0) {
        openEdit->add(change);
        return;
    }
    auto *step = new MapEditCommand(map.get(), QStringLiteral("Edit"));
    step->add(change);
    history->push(step);
}

bool MapDocument::isModified() const
{
    return !history->isClean();
}

void MapDocument::markSaved(const EditedFile &file, const QByteArray &hash, const QList<QByteArray> &lines)
{
    openFile = file;
    openFile.stamp(hash);
    fileLines = lines;
    history->setClean();
    recovery->writeNow();
}

void MapDocument::markLoaded(const EditedFile &file, const QByteArray &hash, const QList<QByteArray> &lines)
{
    history->clear();
    history->setClean();
    openFile = file;
    openFile.stamp(hash);
    fileLines = lines;
}

void MapDocument::markRecovered()
{
    // The copy is not the user's file: Save asks for a name.
    openFile = EditedFile();
    history->resetClean();
}

void MapDocument::followRecovery(Writer writer)
{
    RecoveryFile::Hooks hooks;
    hooks.unsaved = [this]() { return isModified(); };
    hooks.busy = [this]() { return busyCheck ? busyCheck() : editOpen(); };
    hooks.mapName = [this]() { return openFile.chosenName(); };
    hooks.write = [this, writer](const QString &path) { return writer(path, map->layers(), fileLines); };
    hooks.report = [this](const QString &problem) { emit recoveryProblem(problem); };
    recovery = std::make_unique<RecoveryFile>(std::move(hooks));
    connect(map.get(), &MapModel::edited, recovery.get(), &RecoveryFile::schedule);
    connect(history.get(), &QUndoStack::indexChanged, recovery.get(), &RecoveryFile::schedule);
}
