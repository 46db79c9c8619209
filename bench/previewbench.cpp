// The first-person preview's share of the benchmark: a frame of a generated
// level of rooms, as many sectors as the editor's map of the same side,
// drawn at the preview's own resolution while the camera turns.
#include "benchcommon.h"

#include "preview/previewcamera.h"
#include "preview/previewworld.h"
#include "preview/raycaster.h"

#include <QDir>
#include <QElapsedTimer>

namespace {

QString firstImageIn(const QString &folder)
{
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.png"), QStringLiteral("*.jpg")}, QDir::Files);
    return names.isEmpty() ? QString() : folder + QLatin1Char('/') + names.first();
}

// Rooms of 8 x 8 cells with doorways, floor, ceiling and light everywhere,
// a barrel in each room: every kind of surface the raycaster draws.
QVector<PreviewWorld::Record> roomsOf(int side, const QString &textures)
{
    const QString wall = firstImageIn(textures + QStringLiteral("/Wall"));
    const QString floor = firstImageIn(textures + QStringLiteral("/Floor"));
    const QString ceil = firstImageIn(textures + QStringLiteral("/Ceil"));
    const QString door = firstImageIn(textures + QStringLiteral("/Door"));
    const QString sprite = firstImageIn(textures + QStringLiteral("/Sprite"));
    QVector<PreviewWorld::Record> records;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const bool outer = x == 0 || y == 0 || x == side - 1 || y == side - 1;
            const bool doorway = !outer && ((x % 8 == 0 && y % 8 == 4) || (y % 8 == 0 && x % 8 == 4));
            SectorLighting light;
            light.emission = (x * 37 + y * 11) % 256;
            records.append({"Lightmap", x, y, QString(), "Static", light});
            if ((outer || x % 8 == 0 || y % 8 == 0) && !doorway) {
                records.append({"Wall", x, y, wall, "Solid", {}});
                continue;
            }
            records.append({"Floor", x, y, floor, {}, {}});
            records.append({"Ceil", x, y, ceil, {}, {}});
            if (doorway)
                records.append({"Door", x, y, door, "Solid", {}});
            if (x % 8 == 3 && y % 8 == 5)
                records.append({"Sprite", x, y, sprite, "No Collision", {}});
        }
    }
    return records;
}

} // namespace

void runPreviewPhase(int side, int runs)
{
    Report report;
    Workspace workspace; // the sample textures, as the editor's phases use them
    const QVector<PreviewWorld::Record> records = roomsOf(side, workspace.path(QStringLiteral("textures")));
    PreviewWorld world;
    world.rebuild(records);
    report.note("preview", QStringLiteral("the preview's level: %1 sectors on %2 x %2 cells, frames of 640 x 400")
                               .arg(records.size()).arg(side));
    PreviewCamera camera = PreviewCamera::standingIn(world, 4, 4);
    QImage image(640, 400, QImage::Format_RGB32);
    Raycaster raycaster;
    const int frames = 30;
    for (int run = 0; run < runs; ++run) {
        const double cpuStart = Stopwatch::cpuMs();
        QElapsedTimer timer;
        timer.start();
        for (int frame = 0; frame < frames; ++frame) {
            camera.turn(0.05);
            raycaster.render(world, camera, frame / 60.0, image);
        }
        report.add("preview", elapsedMs(timer) / frames);
        report.add("cpu:preview", (Stopwatch::cpuMs() - cpuStart) / frames);
    }
    report.print();
}
