#include "editorfixture.h"
#include "testfiles.h"

#include "app/tessel.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "document/mapfile.h"
#include "app/dialogs.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "properties/objectpropertiesform.h"
#include "view/loadprogress.h"
#include "view/mapview.h"

#include <QComboBox>
#include <QPoint>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QUndoStack>

#include <csignal>
#include <sys/resource.h>

namespace {

struct DialogLog
{
    QStringList captions;
    QStringList filters;
    QStringList warnings;
};

// Answers the file dialogs with the given names, in order; records what was asked.
void answerDialogs(DialogLog &log, QStringList saveNames, QStringList openNames = {})
{
    auto names = std::make_shared<QStringList>(saveNames);
    auto opens = std::make_shared<QStringList>(openNames);
    Dialogs::saveChooser = [&log, names](const QString &caption, const QString &filter) {
        log.captions << caption;
        log.filters << filter;
        return names->isEmpty() ? QString() : names->takeFirst();
    };
    Dialogs::openChooser = [&log, opens](const QString &caption, const QString &filter) {
        log.captions << caption;
        log.filters << filter;
        return opens->isEmpty() ? QString() : opens->takeFirst();
    };
    Dialogs::warning = [&log](const QString &title, const QString &text) { log.warnings << title + ": " + text; };
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// What a cell of a saved file stands for, resolved through the definitions.
struct CellMeaning
{
    QByteArray layer;
    QByteArray defLayer;
    QByteArray subtype;
    QByteArray attributes; // texture file (without the map folder) or light values
    bool operator==(const CellMeaning &o) const
    {
        return layer == o.layer && defLayer == o.defLayer && subtype == o.subtype && attributes == o.attributes;
    }
};

QMap<QString, CellMeaning> meaningOf(const QString &path)
{
    const MapFormat::Parsed parsed = MapFormat::parse(readFile(path), QByteArray("folder"));
    QMap<QString, CellMeaning> cells;
    for (const auto &grid : parsed.grids) {
        for (int r = 0; r < grid.rows.size(); ++r) {
            for (int c = 0; c < grid.rows[r].size(); ++c) {
                const QByteArray value = grid.rows[r][c];
                if (value == "0")
                    continue;
                const MapDefinition d = parsed.definitions.value(value);
                QByteArray attributes = QFileInfo(QString::fromUtf8(d.texturePath)).fileName().toUtf8();
                if (d.layer == "Lightmap")
                    attributes = QByteArray::number(d.lighting.emission) + ',' + QByteArray::number(d.lighting.emissionMin)
                        + ',' + QByteArray::number(d.lighting.emissionMax) + ',' + QByteArray::number(d.lighting.randomIntensity)
                        + ',' + QByteArray::number(d.lighting.blinkDelay);
                cells.insert(QString("%1 %2,%3").arg(QString(grid.name)).arg(c).arg(r),
                             CellMeaning{grid.name, d.layer, d.subtype, attributes});
            }
        }
    }
    return cells;
}

const QByteArray exampleMap =
    "#Ceil\r\n0,0,0,\r\n\r\n#Wall\r\n0,104,0,\r\n\r\n#Floor\r\n100,0,0,\r\n\r\n#Door\r\n0,0,0,\r\n\r\n"
    "#Actor\r\n0,0,0,\r\n\r\n#Sprite\r\n0,0,0,\r\n\r\n#Item\r\n0,0,0,\r\n\r\n#Lightmap\r\n0,0,111,\r\n\r\n"
    "#Definitions\r\n104,Wall,Solid,level1/brick.png\r\n100,Floor,,level1/stone.png\r\n"
    "111,Lightmap,Static,10,0,255,false,0.5\r\n";

} // namespace

class TestMapSaveLoad : public QObject
{
    Q_OBJECT

private slots:
    void firstSaveAsksThenSavesInPlace();
    void cancelledSaveChangesNothing();
    void savedTextMatchesTheMap();
    void roundTripKeepsEveryCell();
    void splitDefinitionsSurviveARoundTrip();
    void failedSaveKeepsTheOldFile();
    void failedMapWriteCopiesNoTexture();
    void refusedSaveWritesNothing_data();
    void refusedSaveWritesNothing();
    void saveAfterLoadWritesTheLoadedFile();
    void saveOfALoadedFileNamesTheWrittenOne_data();
    void saveOfALoadedFileNamesTheWrittenOne();
    void resavedMapKeepsItsSharing();
    void cancelledLoadMakesNothing_data();
    void cancelledLoadMakesNothing();
    void saveIntoMissingFolderIsReported();
    void mapNameDecidesTheTextureFolder_data();
    void mapNameDecidesTheTextureFolder();
    void textureCopiesStayCurrent();
    void savingALoadedMapInPlaceKeepsItsTextures();
    void missingTextureIsReported();
    void loadingTheExample();
    void loadingTwiceKeepsTheFileIdentifiers();
    void loadedSectorsAnswerClicks();
    void loadResetsViewEvenWhenCancelled();
    void unreadableOrForeignFileKeepsTheMap_data();
    void unreadableOrForeignFileKeepsTheMap();
    void undefinedCellsAreSkippedAndCounted();
    void emptyMapReplacesTheCurrentOne();
    void loadKeepsFillModeClickThrough();
    void loadedTableFollowsEditorOrder();
};

void TestMapSaveLoad::firstSaveAsksThenSavesInPlace()
{
    EditorFixture editor;
    DialogLog log;
    const QString path = editor.path("level1.map");
    answerDialogs(log, {path});
    editor.paint(0, 0);
    editor.clickButton("btnSaveMap");
    QCOMPARE(log.captions, QStringList{"Save Corvid Map"});
    QCOMPARE(log.filters, QStringList{"Corvid Map (*.map)"});
    QCOMPARE(editor.view->currentMapFileName(), path);
    QCOMPARE(editor.shownTitle(), "Editing: " + path + " - Tessel");
    QVERIFY(QFileInfo(editor.path("level1/brick.png")).isFile());
    editor.paint(1, 0);
    editor.clickButton("btnSaveMap");
    QCOMPARE(log.captions.size(), 1); // no second dialog
    QVERIFY(readFile(path).contains("104,104,"));
}

void TestMapSaveLoad::cancelledSaveChangesNothing()
{
    EditorFixture editor;
    DialogLog log;
    answerDialogs(log, {});
    editor.clickButton("btnSaveMap");
    QVERIFY(editor.view->currentMapFileName().isEmpty());
    QCOMPARE(editor.shownTitle(), QString("Tessel"));
    QCOMPARE(QDir(editor.dir.path()).entryList(QDir::Files).size(), 0);
}

void TestMapSaveLoad::savedTextMatchesTheMap()
{
    EditorFixture editor;
    DialogLog log;
    answerDialogs(log, {editor.path("m.map")});
    editor.setLayer("Floor");
    editor.paint(0, 0);
    editor.setLayer("Lightmap");
    Sector *light = editor.paint(1, 1);
    editor.clickButton("btnSaveMap");
    const QByteArray floorId = QByteArray::number(editor.sectorOn("Floor", 0, 0)->data->texture.id);
    const QByteArray lightId = QByteArray::number(light->data->texture.id);
    const QByteArray expected = "#Ceil\r\n0,0,\r\n0,0,\r\n\r\n#Wall\r\n0,0,\r\n0,0,\r\n\r\n#Floor\r\n" + floorId
        + ",0,\r\n0,0,\r\n\r\n#Door\r\n0,0,\r\n0,0,\r\n\r\n#Actor\r\n0,0,\r\n0,0,\r\n\r\n#Sprite\r\n0,0,\r\n0,0,\r\n\r\n"
          "#Item\r\n0,0,\r\n0,0,\r\n\r\n#Lightmap\r\n0,0,\r\n0," + lightId + ",\r\n\r\n#Definitions\r\n"
        + floorId + ",Floor,,m/floor_a.png\r\n" + lightId + ",Lightmap,Static,10,0,255,false,0.5\r\n";
    QCOMPARE(readFile(editor.path("m.map")), expected);
}

void TestMapSaveLoad::roundTripKeepsEveryCell()
{
    DialogLog log;
    QTemporaryDir out;
    const QString first = out.filePath("first.map");
    const QString second = out.filePath("second.map");
    {
        EditorFixture editor;
        answerDialogs(log, {first});
        editor.paint(0, 0);
        editor.paint(1, 0)->setSubtype("PiercedWall");
        editor.setLayer("Floor");
        editor.pickTexture(1);
        editor.paint(0, 1);
        editor.setLayer("Item");
        editor.paint(2, 2)->setSubtype("RedKey");
        editor.setLayer("Lightmap");
        Sector *light = editor.paint(3, 3);
        light->setSubtype("Dynamic");
        light->data->lighting.emission = 77;
        light->data->lighting.emissionMin = 5;
        light->data->lighting.emissionMax = 199;
        light->data->lighting.randomIntensity = 1;
        light->data->lighting.blinkDelay = 0.25;
        editor.clickButton("btnSaveMap");
    }
    {
        EditorFixture editor;
        answerDialogs(log, {second}, {first});
        editor.clickButton("btnLoadMap");
        QCOMPARE(editor.layers->layerTable().sectorCount(), 5);
        editor.view->saveMapAs();
    }
    QVERIFY(log.warnings.isEmpty());
    const auto before = meaningOf(first);
    const auto after = meaningOf(second);
    QCOMPARE(before.size(), 5);
    QCOMPARE(after.keys(), before.keys());
    for (const QString &key : before.keys())
        QVERIFY2(before.value(key) == after.value(key), qPrintable(key));
    QCOMPARE(readFile(out.filePath("second/brick.png")), readFile(out.filePath("first/brick.png")));
    QVERIFY(!readFile(out.filePath("second/floor_b.png")).isEmpty());
    QVERIFY(!readFile(out.filePath("second/health.png")).isEmpty());
}

void TestMapSaveLoad::splitDefinitionsSurviveARoundTrip()
{
    DialogLog log;
    QTemporaryDir out;
    {
        EditorFixture editor;
        answerDialogs(log, {out.filePath("a.map")});
        editor.paint(0, 0);
        editor.paint(1, 0)->setSubtype("SolidBounding"); // same texture, other subtype
        editor.clickButton("btnSaveMap");
    }
    EditorFixture editor;
    answerDialogs(log, {}, {out.filePath("a.map")});
    editor.clickButton("btnLoadMap");
    QCOMPARE(editor.sectorOn("Wall", 0, 0)->data->subtype, QByteArray("Solid"));
    QCOMPARE(editor.sectorOn("Wall", 1, 0)->data->subtype, QByteArray("SolidBounding"));
}

void TestMapSaveLoad::failedSaveKeepsTheOldFile()
{
    EditorFixture editor;
    DialogLog log;
    const QString path = editor.path("keep.map");
    answerDialogs(log, {path});
    editor.paint(0, 0);
    editor.clickButton("btnSaveMap");
    const QByteArray good = readFile(path);
    const QString title = editor.window->windowTitle().replace("[*]", "*");
    for (int x = 1; x < 12; ++x)
        editor.paint(x, 5);
    QFile::remove(editor.path("keep/brick.png"));
    // A disk that fills up mid-write: the file size limit cuts the write short,
    // for root as for anyone.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit tiny = old;
    tiny.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &tiny);
    editor.clickButton("btnSaveMap");
    setrlimit(RLIMIT_FSIZE, &old);
    QCOMPARE(readFile(path), good);
    QCOMPARE(log.warnings.size(), 1);
    QVERIFY(log.warnings.first().contains(path));
    QCOMPARE(editor.shownTitle(), title); // the same map, its work still unsaved
    QVERIFY(!QFile::exists(editor.path("keep/brick.png"))); // no texture copied either
}

void TestMapSaveLoad::failedMapWriteCopiesNoTexture()
{
    EditorFixture editor;
    DialogLog log;
    QVERIFY(QDir().mkpath(editor.path("busy.map"))); // a folder where the map should go
    answerDialogs(log, {editor.path("busy.map")});
    editor.paint(0, 0);
    editor.clickButton("btnSaveMap");
    QCOMPARE(log.warnings.size(), 1);
    QVERIFY(editor.view->currentMapFileName().isEmpty());
    QVERIFY(!QFileInfo::exists(editor.path("busy/brick.png")));
}

void TestMapSaveLoad::refusedSaveWritesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<QString>("reason");
    QTest::newRow("comma in the name") << "a,b.map" << QPoint(0, 0) << "cannot contain";
    QTest::newRow("line feed in the name") << "a\nb.map" << QPoint(0, 0) << "cannot contain";
    QTest::newRow("cell beyond the extent") << "far.map" << QPoint(4096, 3) << "Map X 4096, Map Y 3 on the Wall layer";
}

void TestMapSaveLoad::refusedSaveWritesNothing()
{
    QFETCH(QString, name);
    QFETCH(QPoint, cell);
    QFETCH(QString, reason);
    EditorFixture editor;
    DialogLog log;
    answerDialogs(log, {editor.path(name)});
    editor.place(1, 1);
    editor.place(cell.x(), cell.y());
    const QStringList before = QDir(editor.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    editor.clickButton("btnSaveMap");
    QCOMPARE(QDir(editor.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(log.warnings.size(), 1);
    QVERIFY2(log.warnings.first().contains(reason), qPrintable(log.warnings.first()));
    QVERIFY(editor.view->currentMapFileName().isEmpty());
}

void TestMapSaveLoad::saveAfterLoadWritesTheLoadedFile()
{
    EditorFixture editor;
    DialogLog log;
    writeFile(editor.path("b.map"), exampleMap);
    answerDialogs(log, {editor.path("a.map")}, {editor.path("b.map")});
    editor.paint(3, 3);
    editor.clickButton("btnSaveMap");
    const QByteArray a = readFile(editor.path("a.map"));
    editor.clickButton("btnLoadMap");
    editor.paint(4, 4);
    QTest::keyClick(editor.window.get(), Qt::Key_S, Qt::ControlModifier);
    // The shortcut animates a click on Save, which lands a moment later.
    QTRY_VERIFY(readFile(editor.path("b.map")) != exampleMap);
    QCOMPARE(readFile(editor.path("a.map")), a);
    QCOMPARE(meaningOf(editor.path("b.map")).size(), 4);
    QCOMPARE(log.captions.size(), 2); // the first save's dialog and the load's
}

void TestMapSaveLoad::saveOfALoadedFileNamesTheWrittenOne_data()
{
    QTest::addColumn<QString>("loaded");
    QTest::addColumn<QString>("written");
    QTest::newRow("map") << "b.map" << "b.map";
    QTest::newRow("no extension") << "b" << "b.map";
    QTest::newRow("other extension") << "b.txt" << "b.txt.map";
}

// A save writes "<name>.map" (the copy folder takes the bare name); the window
// then edits, shows and stamps that file, not the one it loaded.
void TestMapSaveLoad::saveOfALoadedFileNamesTheWrittenOne()
{
    QFETCH(QString, loaded);
    QFETCH(QString, written);
    EditorFixture editor;
    DialogLog log;
    writeFile(editor.path(loaded), exampleMap);
    QVERIFY(editor.view->loadMapFile(editor.path(loaded)));
    answerDialogs(log, {});
    for (int x : {4, 5}) {
        editor.paint(x, 4);
        editor.clickButton("btnSaveMap");
        QCOMPARE(editor.view->currentMapFileName(), editor.path(written));
        QCOMPARE(editor.shownTitle(), "Editing: " + editor.path(written) + " - Tessel");
        QCOMPARE(meaningOf(editor.path(written)).size(), x == 4 ? 4 : 5);
    }
    QVERIFY(log.captions.isEmpty()); // no dialog: a save in place
    if (loaded != written)
        QCOMPARE(readFile(editor.path(loaded)), exampleMap);
}

void TestMapSaveLoad::resavedMapKeepsItsSharing()
{
    EditorFixture editor;
    DialogLog log;
    answerDialogs(log, {editor.path("a.map"), editor.path("b.map")}, {editor.path("a.map")});
    for (int x = 0; x < 6; ++x)
        editor.paint(x, 0);
    editor.paint(0, 1)->setSubtype("SolidBounding");
    editor.clickButton("btnSaveMap");
    editor.clickButton("btnLoadMap");
    // One identifier for the loaded row, none shared with the gallery's brick.
    const qint32 loaded = editor.sectorOn("Wall", 0, 0)->data->texture.id;
    QCOMPARE(editor.sectorOn("Wall", 5, 0)->data->texture.id, loaded);
    QVERIFY(loaded != editor.gallery->currentTexture().id);
    editor.view->saveMapAs();
    const auto lines = [&](const QString &name) { return readFile(editor.path(name)).split('\n').size(); };
    QCOMPARE(lines("b.map"), lines("a.map"));
    QCOMPARE(meaningOf(editor.path("b.map")).values(), meaningOf(editor.path("a.map")).values());
}

void TestMapSaveLoad::cancelledLoadMakesNothing_data()
{
    QTest::addColumn<int>("cancelIn");
    QTest::newRow("reading the file") << int(MapFile::Phase::Read);
    QTest::newRow("reading the map") << int(MapFile::Phase::Parse);
    QTest::newRow("making the cells") << int(MapFile::Phase::Sectors);
    QTest::newRow("placing the cells") << int(MapFile::Phase::Places);
    QTest::newRow("not cancelled") << -1;
}

// Cancel in the load's dialog, whichever phase the load is in, leaves the map,
// its history and its file name as they were.
void TestMapSaveLoad::cancelledLoadMakesNothing()
{
    QFETCH(int, cancelIn);
    EditorFixture editor;
    writeFile(editor.path("big.map"), "#Floor\n" + QByteArray("5,").repeated(600) + "\n\n#Definitions\n5,Floor,,x.png\n");
    DialogLog log;
    answerDialogs(log, {}, {editor.path("big.map")});
    Sector *kept = editor.paint(2, 2);
    const int buttons = editor.window->findChildren<QPushButton *>().size();
    QList<int> phases;
    LoadProgress::observer = [&phases, cancelIn](QProgressDialog *dialog, MapFile::Phase phase) {
        if (phases.isEmpty() || phases.last() != int(phase))
            phases << int(phase);
        if (int(phase) == cancelIn)
            dialog->cancel();
    };
    editor.clickButton("btnLoadMap");
    LoadProgress::observer = nullptr;
    editor.flushDeletes();

    const QList<int> all{0, 1, 2, 3};
    QCOMPARE(phases, all.mid(0, cancelIn < 0 ? 4 : cancelIn + 1));
    QCOMPARE(log.warnings, QStringList());
    if (cancelIn < 0) {
        QCOMPARE(editor.view->mapModel()->layers().sectorCount(), 600);
        QCOMPARE(editor.view->currentMapFileName(), editor.path("big.map"));
        return;
    }
    QCOMPARE(editor.view->mapModel()->layers().allSectors(), QList<Sector *>{kept});
    QCOMPARE(editor.window->findChildren<QPushButton *>().size(), buttons);
    QVERIFY(editor.view->undoStack()->canUndo());
    QCOMPARE(editor.view->currentMapFileName(), QString());
    QCOMPARE(editor.shownTitle(), QStringLiteral("Tessel*"));
}

void TestMapSaveLoad::saveIntoMissingFolderIsReported()
{
    EditorFixture editor;
    DialogLog log;
    const QString path = editor.path("no/such/folder/x.map");
    answerDialogs(log, {path});
    editor.paint(0, 0);
    editor.clickButton("btnSaveMap");
    QCOMPARE(log.warnings.size(), 1);
    QVERIFY(editor.view->currentMapFileName().isEmpty());
    QCOMPARE(editor.shownTitle(), QString("Tessel*"));
    // The next save asks again.
    answerDialogs(log, {editor.path("x.map")});
    editor.clickButton("btnSaveMap");
    QCOMPARE(editor.view->currentMapFileName(), editor.path("x.map"));
}

void TestMapSaveLoad::mapNameDecidesTheTextureFolder_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QByteArray>("attribute");
    QTest::newRow("plain") << "level1.map" << "level1.map" << "level1" << QByteArray("level1/brick.png");
    QTest::newRow("two dots") << "a.b.map" << "a.b.map" << "a.b" << QByteArray("a.b/brick.png");
    QTest::newRow("no extension") << "level1" << "level1.map" << "level1" << QByteArray("level1/brick.png");
    QTest::newRow("other extension") << "level1.txt" << "level1.txt.map" << "level1.txt"
                                     << QByteArray("level1.txt/brick.png");
}

void TestMapSaveLoad::mapNameDecidesTheTextureFolder()
{
    QFETCH(QString, chosen);
    QFETCH(QString, saved);
    QFETCH(QString, folder);
    QFETCH(QByteArray, attribute);
    EditorFixture editor;
    DialogLog log;
    answerDialogs(log, {editor.path(chosen)});
    editor.paint(0, 0);
    editor.clickButton("btnSaveMap");
    QCOMPARE(editor.view->currentMapFileName(), editor.path(saved));
    QVERIFY(readFile(editor.path(saved)).contains("," + attribute + "\r\n"));
    QVERIFY(QFileInfo(editor.path(folder + "/brick.png")).isFile());
    // And the reader finds the image there again.
    EditorFixture again;
    answerDialogs(log, {}, {editor.path(saved)});
    again.clickButton("btnLoadMap");
    QVERIFY(!again.sectorOn("Wall", 0, 0)->data->button->icon().isNull());
}

void TestMapSaveLoad::textureCopiesStayCurrent()
{
    EditorFixture editor;
    DialogLog log;
    answerDialogs(log, {editor.path("t.map")});
    editor.paint(0, 0);
    editor.clickButton("btnSaveMap");
    const QByteArray first = readFile(editor.path("t/brick.png"));
    // The artist changes the image under the same name. The old copy is left
    // as it was (loaded cells may show it); the map names a copy of the new one.
    EditorFixture::writeImage(editor.path("textures/Wall/brick.png"), Qt::green);
    editor.clickButton("btnSaveMap");
    QVERIFY(readFile(editor.path("t.map")).contains(",t/brick-Wall.png\r\n"));
    QCOMPARE(readFile(editor.path("t/brick-Wall.png")), readFile(editor.path("textures/Wall/brick.png")));
    QCOMPARE(readFile(editor.path("t/brick.png")), first);
    QVERIFY(log.warnings.isEmpty());
}

void TestMapSaveLoad::savingALoadedMapInPlaceKeepsItsTextures()
{
    DialogLog log;
    QTemporaryDir out;
    const QString path = out.filePath("same.map");
    {
        EditorFixture editor;
        answerDialogs(log, {path});
        editor.paint(0, 0);
        editor.clickButton("btnSaveMap");
    }
    const QByteArray image = readFile(out.filePath("same/brick.png"));
    QVERIFY(!image.isEmpty());
    EditorFixture editor;
    answerDialogs(log, {path}, {path});
    editor.clickButton("btnLoadMap");
    editor.clickButton("btnSaveMap");
    QCOMPARE(readFile(out.filePath("same/brick.png")), image);
    QVERIFY(log.warnings.isEmpty());
}

void TestMapSaveLoad::missingTextureIsReported()
{
    EditorFixture editor;
    DialogLog log;
    answerDialogs(log, {editor.path("gone.map")});
    editor.paint(0, 0);
    QFile::remove(editor.path("textures/Wall/brick.png"));
    editor.clickButton("btnSaveMap");
    QCOMPARE(editor.view->currentMapFileName(), editor.path("gone.map")); // the map itself is saved
    QCOMPARE(log.warnings.size(), 1);
    QVERIFY(log.warnings.first().contains("brick.png"));
}

void TestMapSaveLoad::loadingTheExample()
{
    EditorFixture editor;
    DialogLog log;
    QDir().mkpath(editor.path("maps/level1"));
    writeFile(editor.path("maps/level1.map"), exampleMap);
    EditorFixture::writeImage(editor.path("maps/level1/brick.png"), Qt::red);
    answerDialogs(log, {}, {editor.path("maps/level1.map")});
    editor.setLayer("Floor");
    editor.clickButton("btnLoadMap");
    QCOMPARE(log.captions, QStringList{"Open Corvid Map"});
    QCOMPARE(log.filters, QStringList{"Corvid Map (*.map)"});
    QCOMPARE(editor.layers->layerTable().sectorCount(), 3);
    Sector *wall = editor.sectorOn("Wall", 1, 0);
    QVERIFY(wall);
    QCOMPARE(wall->data->subtype, QByteArray("Solid"));
    QCOMPARE(wall->data->texture.fileName, QByteArray("brick.png"));
    QCOMPARE(wall->data->texture.folder, editor.path("maps/level1/").toUtf8());
    QVERIFY(!wall->data->button->icon().isNull());
    QCOMPARE(editor.placeOf(wall).topLeft(), QPoint(64, 0));
    Sector *light = editor.sectorOn("Lightmap", 2, 0);
    QCOMPARE(light->data->texture.folder, QByteArray("assets/"));
    QCOMPARE(light->data->subtype, QByteArray("Static"));
    QCOMPARE(light->data->lighting.emission, 10);
    QVERIFY(editor.sectorOn("Floor", 0, 0)->data->button->icon().isNull()); // stone.png is missing
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Wall"));
    QCOMPARE(editor.gallery->currentTexture().fileName, QByteArray("brick.png"));
    // The loaded file is the open one: Save writes back to it.
    QCOMPARE(editor.view->currentMapFileName(), editor.path("maps/level1.map"));
    QCOMPARE(editor.shownTitle(), "Editing: " + editor.path("maps/level1.map") + " - Tessel");
    QVERIFY(log.warnings.isEmpty());
}

void TestMapSaveLoad::loadingTwiceKeepsTheFileIdentifiers()
{
    EditorFixture editor;
    DialogLog log;
    writeFile(editor.path("level1.map"), exampleMap);
    answerDialogs(log, {}, {editor.path("level1.map"), editor.path("level1.map")});
    for (int load = 0; load < 2; ++load) {
        editor.clickButton("btnLoadMap");
        QCOMPARE(editor.sectorOn("Wall", 1, 0)->data->texture.id, 104);
        QCOMPARE(editor.layers->layerTable().sectorCount(), 3);
    }
    // The gallery's textures numbered 100, 104 and 111 moved aside: no two
    // images share a number, and new ones come from above.
    for (const QByteArray &layer : editor.layers->layerTable().names()) {
        for (const TextureEntry &texture : editor.gallery->texturesOf(layer))
            QVERIFY(texture.id != 100 && texture.id != 104 && texture.id != 111);
    }
    QVERIFY(editor.gallery->currentTexture().id > 111);
    QVERIFY(editor.gallery->nextId() > 111);
}

void TestMapSaveLoad::loadedSectorsAnswerClicks()
{
    EditorFixture editor;
    DialogLog log;
    writeFile(editor.path("level1.map"), exampleMap);
    answerDialogs(log, {}, {editor.path("level1.map")});
    editor.clickButton("btnLoadMap");
    editor.click(1, 0);
    QVERIFY(editor.view->openForm());
    QCOMPARE(editor.view->openForm()->property("objectName").toString(), QString("objectProperties"));
}

void TestMapSaveLoad::loadResetsViewEvenWhenCancelled()
{
    EditorFixture editor;
    DialogLog log;
    answerDialogs(log, {}, {});
    Sector *sector = editor.paint(2, 2);
    editor.press(0, 0, Qt::MiddleButton);
    editor.release(0, 0, Qt::MiddleButton);
    editor.drag(1, 0, Qt::MiddleButton);
    QCOMPARE(editor.view->origin(), QPoint(1, 0));
    QCOMPARE(editor.placeOf(sector).topLeft(), QPoint(192, 128));
    editor.clickButton("btnLoadMap");
    QCOMPARE(editor.view->origin(), QPoint(0, 0));
    QCOMPARE(editor.placeOf(sector).topLeft(), QPoint(128, 128));
    QCOMPARE(sector->data->worldX, 128.0);
    editor.window->findChild<QSlider *>("mapViewZoomSlider")->setValue(1);
    editor.clickButton("btnLoadMap");
    QCOMPARE(editor.view->cellSize(), 64);
    QCOMPARE(editor.layers->currentSectors(), QList<Sector *>{sector});
}

void TestMapSaveLoad::unreadableOrForeignFileKeepsTheMap_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing file") << QByteArray() << false;
    QTest::newRow("no definitions") << QByteArray("#Wall\n1,2,\n") << true;
    QTest::newRow("empty file") << QByteArray() << true;
}

void TestMapSaveLoad::unreadableOrForeignFileKeepsTheMap()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    EditorFixture editor;
    DialogLog log;
    if (exists)
        writeFile(editor.path("bad.map"), content);
    answerDialogs(log, {}, {editor.path("bad.map")});
    QPointer<Sector> sector = editor.paint(0, 0);
    editor.clickButton("btnLoadMap");
    QVERIFY(sector);
    QCOMPARE(editor.layers->currentSectors(), QList<Sector *>{sector.data()});
    // Save must not write over a file that did not load.
    QVERIFY(editor.view->currentMapFileName().isEmpty());
    QCOMPARE(editor.shownTitle(), QString("Tessel*")); // the painted cell is still unsaved
    QCOMPARE(log.warnings.size(), 1);
    QVERIFY(log.warnings.first().contains("bad.map"));
}

void TestMapSaveLoad::undefinedCellsAreSkippedAndCounted()
{
    EditorFixture editor;
    DialogLog log;
    writeFile(editor.path("holes.map"), "#Wall\n5,7,5,\n0,9,\n\n#Definitions\n5,Wall,Solid,holes/x.png\n");
    answerDialogs(log, {}, {editor.path("holes.map")});
    editor.clickButton("btnLoadMap");
    QCOMPARE(editor.layers->layerTable().sectorCount(), 2);
    QCOMPARE(editor.sectorOn("Wall", 2, 0)->data->subtype, QByteArray("Solid"));
    QCOMPARE(log.warnings.size(), 1);
    QVERIFY(log.warnings.first().startsWith("Cells skipped: 2 cell(s)"));
}

void TestMapSaveLoad::emptyMapReplacesTheCurrentOne()
{
    EditorFixture editor;
    DialogLog log;
    writeFile(editor.path("empty.map"), "#Ceil\r\n0,\r\n\r\n#Definitions\r\n");
    answerDialogs(log, {}, {editor.path("empty.map")});
    QPointer<Sector> sector = editor.paint(0, 0);
    editor.setLayer("Floor");
    editor.clickButton("btnLoadMap");
    QVERIFY(!sector);
    QCOMPARE(editor.layers->layerTable().sectorCount(), 0);
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Wall"));
    QVERIFY(log.warnings.isEmpty());
}

void TestMapSaveLoad::loadKeepsFillModeClickThrough()
{
    EditorFixture editor;
    DialogLog log;
    writeFile(editor.path("level1.map"), exampleMap);
    answerDialogs(log, {}, {editor.path("level1.map")});
    editor.clickButton("radioFloodFill");
    editor.clickButton("btnLoadMap");
    QVERIFY(editor.sectorOn("Wall", 1, 0)->data->button->testAttribute(Qt::WA_TransparentForMouseEvents));
}

void TestMapSaveLoad::loadedTableFollowsEditorOrder()
{
    EditorFixture editor;
    DialogLog log;
    writeFile(editor.path("odd.map"), "#Item\n5,\n\n#Roof\n5,\n\n#Ceil\n5,\n\n#Definitions\n5,Ceil,,odd/c.png\n");
    answerDialogs(log, {editor.path("odd2.map")}, {editor.path("odd.map")});
    editor.clickButton("btnLoadMap");
    QCOMPARE(editor.layers->layerTable().names(),
             (QList<QByteArray>{"Ceil", "Wall", "Floor", "Door", "Actor", "Sprite", "Item", "Lightmap", "Roof"}));
    editor.view->saveMapAs();
    const QByteArray saved = readFile(editor.path("odd2.map"));
    QVERIFY(saved.startsWith("#Ceil\r\n"));
    QVERIFY(saved.indexOf("#Lightmap") < saved.indexOf("#Roof"));
}

QTEST_MAIN(TestMapSaveLoad)
#include "tst_mapsaveload.moc"
