#pragma once

#include "document/editedfile.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class LayerTable;
class MapEditCommand;
class MapModel;
class QUndoStack;
class RecoveryFile;
struct MapChange;

// The map being edited, without any widget: the model, the undo history with
// its grouping of one user action, the file it belongs to (with the order of
// its definition lines, which saves keep), the clean state and the recovery
// copy of unsaved work. The view asks the questions and shows the answers.
class MapDocument : public QObject
{
    Q_OBJECT

public:
    // Writes `table` as a map file at `path`, keeping `lines` in their order;
    // returns why it failed, empty when it was written.
    using Writer = std::function<QString(const QString &path, const LayerTable &table,
                                         const QList<QByteArray> &lines)>;

    explicit MapDocument(Writer recoveryWriter);
    ~MapDocument() override;

    MapModel *model() const { return map.get(); }
    QUndoStack *undoStack() const { return history.get(); }
    RecoveryFile *recoveryFile() const { return recovery.get(); }

    // Every model edit is recorded: alone it is one undo step; between
    // beginEdit and the matching endEdit all are one.
    void beginEdit(const QString &text);
    void endEdit();
    bool editOpen() const { return editDepth > 0; }
    bool isModified() const;

    // The file as the user named it and the real one behind it.
    const EditedFile &file() const { return openFile; }
    QList<QByteArray> lineOrder() const { return fileLines; }
    // The map was just written to `file` as bytes hashed `hash`: it is clean,
    // and the recovery copy goes.
    void markSaved(const EditedFile &file, const QByteArray &hash, const QList<QByteArray> &lines);
    // The map was just read from `file`: a history of its own, clean.
    void markLoaded(const EditedFile &file, const QByteArray &hash, const QList<QByteArray> &lines);
    // The map came from a recovery copy: no file of its own, and unsaved.
    void markRecovered();

    // A gesture is half-way through an edit: the recovery copy waits for it.
    void setBusyCheck(std::function<bool()> busy) { busyCheck = std::move(busy); }

signals:
    // The outermost endEdit has recorded its step (or nothing).
    void editClosed();
    // The recovery copy could not be written; told once until it can again.
    void recoveryProblem(const QString &problem);

private:
    void recordEdit(const MapChange &change);
    void followRecovery(Writer writer);

    std::unique_ptr<MapModel> map;
    std::unique_ptr<QUndoStack> history;
    std::unique_ptr<MapEditCommand> openEdit;
    int editDepth = 0;
    EditedFile openFile;
    QList<QByteArray> fileLines;
    std::function<bool()> busyCheck;
    std::unique_ptr<RecoveryFile> recovery;
};
