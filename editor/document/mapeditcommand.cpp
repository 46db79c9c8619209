#include "document/mapeditcommand.h"

#include "model/mapmodel.h"

MapEditCommand::MapEditCommand(MapModel *mapModel, const QString &text)
    : QUndoCommand(text), model(mapModel)
{
}

void MapEditCommand::add(const MapChange &change)
{
    if (!change.isEmpty())
        changes.append(PackedChange(change));
}

int MapEditCommand::cellCount() const
{
    int count = 0;
    for (const PackedChange &change : changes)
        count += change.size();
    return count;
}

void MapEditCommand::undo()
{
    if (!model)
        return;
    for (auto change = changes.crbegin(); change != changes.crend(); ++change)
        model->revert(change->unpacked());
}

void MapEditCommand::redo()
{
    if (!pushed) {
        pushed = true;
        return;
    }
    if (!model)
        return;
    for (const PackedChange &change : changes)
        model->reapply(change.unpacked());
}
