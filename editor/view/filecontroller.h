#pragma once

#include "document/mapfile.h"
#include "model/layertable.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include <optional>

class LoadProgress;
class MapView;
class QWidget;

// The window's file work: save, Save As, load, a recovery copy opened, the
// unsaved-work question and the window title. It asks the questions through
// the prompts and shows what MapFile's results say; the map file itself
// neither asks nor shows anything.
class FileController : public QObject
{
    Q_OBJECT

public:
    FileController(MapView &view, QWidget *window);

    void save() { saveMap(false); }
    // Always asks for a name, then saves there and makes it the open file.
    void saveAs() { saveMap(true); }
    // Load Map: the unsaved question, the file chooser, then the load.
    void load();
    // Loads the named map as Load Map does after its dialog; false when the
    // current map stayed (a failure, already reported, or a cancel).
    bool loadMapFile(const QString &fileName);
    // Opens a recovery copy as an unsaved map without a name.
    bool recoverFrom(const QString &fileName);
    // Save, Discard or Cancel when there is unsaved work; false means stay.
    bool settleUnsaved();
    // A save asked for during a stroke, made when the stroke ends.
    bool saveWaiting() const { return waitingSave.has_value(); }

private:
    void followHistory();
    bool saveMap(bool alwaysAsk);
    bool mayOverwrite(bool *saveAs);
    void runWaitingSave();
    void showNotices(const MapFile::Result &result);
    void setWindowTitleFor(const QString &fileName);
    bool readMap(MapFile &file, const QString &fileName, LayerTable *loaded);
    bool placeCells(const LayerTable &loaded, LoadProgress &progress);
    void installLoadedMap(LayerTable loaded);
    void makeWayFor(const QSet<qint32> &keptIds);

    MapView &view;
    QPointer<QWidget> window;
    // Save (false) or Save As (true), asked for while a stroke was open.
    std::optional<bool> waitingSave;
};
