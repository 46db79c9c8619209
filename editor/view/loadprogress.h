#pragma once

#include "document/mapfile.h"

#include <QString>

#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

// The progress of one map load: a window-modal dialog that shows only when the
// load takes longer than half a second. One bar runs across every phase of the
// load, so a load made of several short phases still shows; Cancel stops it
// in whichever phase it is.
class LoadProgress
{
public:
    LoadProgress(QWidget *window, const QString &fileName);
    ~LoadProgress();
    LoadProgress(const LoadProgress &) = delete;
    LoadProgress &operator=(const LoadProgress &) = delete;

    // False once the load is cancelled.
    bool report(MapFile::Phase phase, qint64 done, qint64 total);
    MapFile::Progress callback();

    // Sees every report before the dialog does: tests cancel through the
    // dialog in a phase of their choice, without waiting for it to show.
    static std::function<void(QProgressDialog *dialog, MapFile::Phase phase)> observer;

private:
    std::unique_ptr<QProgressDialog> dialog;
    QString fileName;
    int shownPhase = -1;
};
