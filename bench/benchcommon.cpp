#include "benchcommon.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <ctime>

Workspace::Workspace()
    : folder({"Ceil/ceil_a.png", "Ceil/ceil_b.png", "Floor/floor_a.png", "Floor/floor_b.png", "Wall/brick.png",
              "Wall/stone.png", "Door/door_a.png", "Actor/soldier.png", "Sprite/barrel.png", "Item/health.png"})
{
}

QString Workspace::mapFile(int side)
{
    const QString name = QStringLiteral("recipe%1").arg(side);
    const QString file = folder.path(name + ".map");
    if (QFileInfo::exists(file))
        return file;
    // The texture copies a saved map keeps beside itself.
    QDir().mkpath(folder.path(name));
    for (const char *layerAndFile : {"Ceil/ceil_a.png", "Floor/floor_a.png", "Wall/brick.png"}) {
        const QString source = folder.path(QStringLiteral("textures/") + layerAndFile);
        QFile::copy(source, folder.path(name + "/" + QFileInfo(source).fileName()));
    }

    const int ceilId = 100, wallId = 101, floorId = 102;
    const int firstLightId = 1000;
    QByteArray text;
    text.reserve(side * side * 20);
    const QList<QByteArray> layers{"Ceil", "Wall", "Floor", "Door", "Actor", "Sprite", "Item", "Lightmap"};
    QList<QByteArray> lightLines;
    for (const QByteArray &layer : layers) {
        text += '#' + layer + "\r\n";
        int lightId = firstLightId;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                int id = 0;
                if (layer == "Ceil")
                    id = ceilId;
                else if (layer == "Wall")
                    id = wallId;
                else if (layer == "Floor")
                    id = floorId;
                else if (layer == "Lightmap" && Recipe::hasLight(x, y)) {
                    id = lightId++;
                    lightLines.append(QByteArray::number(id) + ",Lightmap,Static,10,0,255,false,0.5");
                }
                text += QByteArray::number(id) + ',';
            }
            text += "\r\n";
        }
        text += "\r\n";
    }
    text += "#Definitions\r\n";
    const QByteArray map = name.toUtf8();
    text += QByteArray::number(ceilId) + ",Ceil,," + map + '/' + Workspace::ceilTexture() + "\r\n";
    text += QByteArray::number(wallId) + ",Wall,Solid," + map + '/' + Workspace::wallTexture() + "\r\n";
    text += QByteArray::number(floorId) + ",Floor,," + map + '/' + Workspace::floorTexture() + "\r\n";
    for (const QByteArray &line : lightLines)
        text += line + "\r\n";
    QFile out(file);
    if (out.open(QIODevice::WriteOnly))
        out.write(text);
    return file;
}

void Report::note(const QByteArray &key, const QString &text)
{
    std::printf("NOTE %s %s\n", key.constData(), text.toUtf8().constData());
    std::fflush(stdout);
}

void Report::print() const
{
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        QByteArray line = "RESULT " + it.key();
        for (double value : it.value())
            line += ' ' + QByteArray::number(value, 'f', 3);
        std::printf("%s\n", line.constData());
    }
    std::fflush(stdout);
}

bool PaintCounter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        ++paints;
    return QObject::eventFilter(watched, event);
}

double Stopwatch::cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

void settle()
{
    for (int pass = 0; pass < 4; ++pass)
        QCoreApplication::processEvents();
}

double peakMemoryMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() >= 2)
                return parts.at(1).toDouble() / 1024.0;
        }
    }
    return 0;
}
