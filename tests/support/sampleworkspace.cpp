#include "sampleworkspace.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

void SampleWorkspace::writeImage(const QString &path, const QColor &color, int size)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(color);
    QPainter painter(&image);
    painter.fillRect(0, 0, size / 2, size / 2, color.darker(150));
    painter.end();
    image.save(path);
}

SampleWorkspace::SampleWorkspace(const QStringList &textures)
    : previousDir(QDir::currentPath())
{
    int hue = 0;
    for (const QString &texture : textures) {
        writeImage(dir.filePath("textures/" + texture), QColor::fromHsv(hue, 200, 220));
        hue = (hue + 37) % 360;
    }
    for (int size : {16, 32, 48, 64})
        writeImage(dir.filePath(QString("assets/bg%1x%1.jpg").arg(size)), Qt::darkGray, size);
    writeImage(dir.filePath("assets/pencil.png"), Qt::yellow, 32);
    writeImage(dir.filePath("assets/bucket.png"), Qt::cyan, 32);
    writeImage(dir.filePath("assets/lamp.png"), Qt::white, 64);
    QDir::setCurrent(dir.path());
}

SampleWorkspace::~SampleWorkspace()
{
    QDir::setCurrent(previousDir);
}
