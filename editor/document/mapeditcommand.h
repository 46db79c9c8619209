#pragma once

#include "document/packedchange.h"
#include "model/mapchange.h"

#include <QVector>
#include <QPointer>
#include <QUndoCommand>

class MapModel;

// One undo step: the changes of one user action, already made when the command
// is pushed. Undo reverts them newest first, redo makes them again in order.
class MapEditCommand : public QUndoCommand
{
public:
    MapEditCommand(MapModel *model, const QString &text);

    void add(const MapChange &change);
    bool isEmpty() const { return changes.isEmpty(); }
    int cellCount() const;

    void undo() override;
    void redo() override;

private:
    QPointer<MapModel> model;
    QVector<PackedChange> changes;
    // The first redo comes from the push, after the edit was made already.
    bool pushed = false;
};
