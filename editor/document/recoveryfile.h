#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class QLockFile;

// The copy of one editor's unsaved work, in the user's application data
// folder, never beside the user's map. Each running editor keeps its own in a
// folder of its own (a map and the copies of its images, so that a recovered
// map shows them and its next save copies them), held by a lock file beside
// the folder. The copy is written a few seconds after the last change, never
// during a drag; a normal exit removes it. A folder whose lock is stale (its
// editor died) is an orphan, offered at the next start.
class RecoveryFile : public QObject
{
    Q_OBJECT

public:
    struct Hooks
    {
        std::function<bool()> unsaved;
        // A gesture is in progress: the map is half-way through an edit.
        std::function<bool()> busy;
        // The map file being edited, for the next start's question.
        std::function<QString()> mapName;
        // Writes the map at the path given, keeping its file's line order;
        // returns why it failed, empty when written.
        std::function<QString(const QString &path)> write;
        // Told once when a copy cannot be written, until one can again.
        std::function<void(const QString &problem)> report;
    };

    // An orphaned copy, locked by this process while it is being decided on.
    struct Orphan
    {
        QString folder;
        // The map file the work belonged to; empty for one never saved.
        QString mapName;
        QDateTime written;
        std::shared_ptr<QLockFile> lock;
        QString mapPath() const;
    };

    explicit RecoveryFile(Hooks hooks, int delayMs = 3000);
    // A normal end: the copy goes, and with it the folder and the lock.
    ~RecoveryFile() override;

    // Where every editor keeps its copies.
    static QString rootFolder();
    // The copies whose editors have ended without removing them, newest first.
    static std::vector<Orphan> orphans();
    static void discard(Orphan &orphan);

    // After any change of the map: writes a copy after the delay, counted
    // from the last change.
    void schedule();
    bool pending() const { return timer.isActive(); }
    void setDelay(int ms) { delayMs = ms; }
    // What the delay's end does: writeNow, unless a gesture is in progress;
    // then it looks again a moment later.
    bool writeWhenIdle();
    // Writes the copy when there is unsaved work, or drops it when there is
    // none; true when a copy was written.
    bool writeNow();
    // Makes the orphan this editor's own copy; the map loaded from it keeps
    // its images where they are. The copy it had before goes.
    void adopt(Orphan &orphan);
    // This editor's folder; empty before its first copy.
    QString folder() const { return ownFolder; }
    QString mapPath() const;
    int delay() const { return delayMs; }

private:
    bool makeFolder();
    void removeOwn();
    void reportOnce(const QString &problem);

    Hooks hooks;
    int delayMs;
    QTimer timer;
    QString ownFolder;
    std::shared_ptr<QLockFile> lock;
    bool problemShown = false;
};
