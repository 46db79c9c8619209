#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class LayerTable;

// A copy of unsaved work in the user's application data folder, written every
// two minutes while there are unsaved changes, never beside the user's map.
class RecoveryFile : public QObject
{
    Q_OBJECT

public:
    using Unsaved = std::function<bool()>;
    using Table = std::function<const LayerTable &()>;

    RecoveryFile(Unsaved unsaved, Table table, int intervalMs = 2 * 60 * 1000);

    static QString path();
    static bool exists();
    void setInterval(int intervalMs) { timer.setInterval(intervalMs); }
    // Writes the copy when there is unsaved work; true when a copy was written.
    bool writeNow();
    static void remove();

private:
    Unsaved unsaved;
    Table table;
    QTimer timer;
};
