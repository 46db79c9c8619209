#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A temporary working folder laid out like the editor's: assets/ with grid
// tiles, cursors and the lamp, and textures/<Layer>/ with small solid images.
// It is the working directory while it lives; the previous one comes back after.
class SampleWorkspace
{
public:
    // textures: "Layer/name.png" entries to create.
    explicit SampleWorkspace(const QStringList &textures);
    ~SampleWorkspace();
    SampleWorkspace(const SampleWorkspace &) = delete;
    SampleWorkspace &operator=(const SampleWorkspace &) = delete;

    static void writeImage(const QString &path, const QColor &color, int size = 64);

    QString path(const QString &relative) const { return dir.filePath(relative); }

    QTemporaryDir dir;

private:
    QString previousDir;
};
