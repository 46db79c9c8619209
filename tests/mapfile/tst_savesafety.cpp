#include "editorfixture.h"

#include "../check/levelpicture.h"

#include "app/dialogs.h"
#include "app/tessel.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "mapfile/mapfile.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/mapview.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTest>
#include <QUndoStack>

#include <fcntl.h>
#include <unistd.h>

// Saving never loses or breaks a file: neither the map, nor another
// program's version of it, nor anything in the copy folder.
class TestSaveSafety : public QObject
{
    Q_OBJECT

private slots:
    void unchangedMapSavesTheSameBytes_data();
    void unchangedMapSavesTheSameBytes();
    void fileChangedOnDiskIsNotOverwrittenSilently_data();
    void fileChangedOnDiskIsNotOverwrittenSilently();
    void copiesNeverReplaceOtherFiles_data();
    void copiesNeverReplaceOtherFiles();
    void loadedImagesOutliveAGalleryImageOfTheirName();
    void copiesExistBeforeTheMapIsReplaced();
    void saveDuringAStrokeWaitsForItsEnd();
    void fullDiskSaysSoAndKeepsTheOldFile_data();
    void fullDiskSaysSoAndKeepsTheOldFile();
    void linkedMapIsEditedBehindItsLink();
    void saveRefusesWhatTheLoadWouldRefuse_data();
    void saveRefusesWhatTheLoadWouldRefuse();
};

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QString testData = QStringLiteral(TESSEL_TEST_DATA);

struct Warnings
{
    QStringList said;
    Warnings()
    {
        Dialogs::warning = [this](const QString &title, const QString &text) { said << title + ": " + text; };
    }
    QString all() const { return said.join('\n'); }
};

void saveAs(EditorFixture &editor, const QString &name)
{
    Dialogs::saveChooser = [name](const QString &, const QString &) { return name; };
    editor.view->saveMapAs();
}

// A file on a disk that fills up after `room` bytes. The write that reaches
// the end is cut short without an error; then the file's descriptor is
// pointed at /dev/full, so the next write fails in the system as on a full disk.
class FullDisk : public QSaveFile
{
public:
    FullDisk(const QString &name, qint64 room) : QSaveFile(name), room(room) {}

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        if (room == 0) {
            const int full = ::open("/dev/full", O_WRONLY);
            ::dup2(full, handle());
            ::close(full);
            room = -1;
        }
        const qint64 part = room < 0 ? length : std::min(length, room);
        if (room > 0)
            room -= part;
        return QSaveFile::writeData(data, part);
    }

private:
    qint64 room;
};

} // namespace

void TestSaveSafety::unchangedMapSavesTheSameBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    // broken.map names an image outside its folder and a cell without a
    // definition: a save leaves both out on purpose.
    for (const QString &name : QDir(testData + "/maptool/data").entryList({"*.map"})) {
        if (name != "notmap.map" && name != "broken.map")
            QTest::newRow(qPrintable(name)) << readFile(testData + "/maptool/data/" + name) << name;
    }
    for (const QString &name : QDir(testData + "/check/levels").entryList({"*.txt"})) {
        const QByteArray level = readFile(testData + "/check/levels/" + name);
        QTest::newRow(qPrintable(name)) << LevelPicture::mapText(LevelPicture::pictureOf(level)) << "case.map";
    }
    QTest::newRow("the example") << readFile(testData + "/mapfile/example.map") << "level1.map";
}

// A designer's unchanged level must not show as changed in version control.
void TestSaveSafety::unchangedMapSavesTheSameBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QVERIFY(!bytes.isEmpty());
    EditorFixture editor;
    Warnings warnings;
    const QString path = editor.path(name);
    QVERIFY(writeFile(path, bytes));
    QVERIFY(editor.view->loadMapFile(path));
    editor.view->BtnSaveMapEvent();
    QCOMPARE(readFile(path), bytes);
}

void TestSaveSafety::fileChangedOnDiskIsNotOverwrittenSilently_data()
{
    QTest::addColumn<QByteArray>("theirs");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("keptTheirs");
    const QByteArray generated = "#Wall\r\n104,\r\n\r\n#Definitions\r\n104,Wall,Solid,a/brick.png\r\n";
    QTest::newRow("overwrite") << generated << int(QMessageBox::Yes) << true << false;
    QTest::newRow("save as") << generated << int(QMessageBox::Save) << true << true;
    QTest::newRow("cancel") << generated << int(QMessageBox::Cancel) << true << true;
    QTest::newRow("same size, other bytes") << QByteArray() << int(QMessageBox::Cancel) << true << true;
    QTest::newRow("touched, same bytes") << QByteArray("same") << int(QMessageBox::Cancel) << false << false;
}

void TestSaveSafety::fileChangedOnDiskIsNotOverwrittenSilently()
{
    QFETCH(QByteArray, theirs);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, keptTheirs);
    EditorFixture editor;
    const QString path = editor.path("a.map");
    editor.paint(0, 0);
    saveAs(editor, path);
    // Another program writes the file: a generator, a checkout, a colleague.
    const QByteArray saved = readFile(path);
    if (theirs.isEmpty())
        theirs = QByteArray(saved).replace("Solid", "Solix");
    else if (theirs == "same")
        theirs = saved;
    QVERIFY(writeFile(path, theirs));
    QFile(path).setFileTime(QFileInfo(path).lastModified().addSecs(10), QFileDevice::FileModificationTime);
    editor.paint(1, 0);
    int questions = 0;
    Dialogs::overwriteChoice = [&](const QString &, const QString &text) {
        ++questions;
        return text.contains(path) ? QMessageBox::StandardButton(answer) : QMessageBox::Cancel;
    };
    Dialogs::saveChooser = [&](const QString &, const QString &) { return editor.path("b.map"); };
    editor.view->BtnSaveMapEvent();
    QCOMPARE(questions, asked ? 1 : 0);
    QCOMPARE(readFile(path) == theirs, keptTheirs);
    QCOMPARE(QFile::exists(editor.path("b.map")), answer == QMessageBox::Save);
    QCOMPARE(editor.view->isModified(), answer == QMessageBox::Cancel && asked);
}

void TestSaveSafety::copiesNeverReplaceOtherFiles_data()
{
    QTest::addColumn<QString>("occupant");
    QTest::addColumn<QByteArray>("copyName");
    QTest::newRow("another image") << "image" << QByteArray("brick-Wall.png");
    QTest::newRow("the same image") << "same" << QByteArray("brick.png");
    QTest::newRow("a link") << "link" << QByteArray("brick-Wall.png");
    QTest::newRow("a folder") << "folder" << QByteArray("brick-Wall.png");
}

// Save As photos.map beside the user's own photos/ folder.
void TestSaveSafety::copiesNeverReplaceOtherFiles()
{
    QFETCH(QString, occupant);
    QFETCH(QByteArray, copyName);
    EditorFixture editor;
    Warnings warnings;
    const QString taken = editor.path("photos/brick.png");
    QVERIFY(QDir().mkpath(editor.path("photos")));
    if (occupant == "image")
        EditorFixture::writeImage(taken, Qt::blue);
    else if (occupant == "same")
        QVERIFY(QFile::copy(editor.path("textures/Wall/brick.png"), taken));
    else if (occupant == "link")
        QVERIFY(writeFile(editor.path("secret.txt"), "secret") && QFile::link(editor.path("secret.txt"), taken));
    else
        QVERIFY(QDir().mkpath(taken));
    const QFileInfo before(taken);
    const QByteArray occupantBytes = readFile(taken);
    editor.paint(0, 0);
    saveAs(editor, editor.path("photos.map"));
    QVERIFY2(warnings.said.isEmpty(), qPrintable(warnings.all()));
    QVERIFY(readFile(editor.path("photos.map")).contains(",photos/" + copyName + "\r\n"));
    QCOMPARE(readFile(editor.path("photos/" + copyName)), readFile(editor.path("textures/Wall/brick.png")));
    const QFileInfo after(taken);
    QCOMPARE(after.isSymLink(), before.isSymLink());
    QCOMPARE(after.isDir(), before.isDir());
    QCOMPARE(readFile(taken), occupantBytes);
}

// A loaded map's own image keeps its bytes although the gallery offers
// another image of its name, and cells that come back by undo still show it.
void TestSaveSafety::loadedImagesOutliveAGalleryImageOfTheirName()
{
    EditorFixture editor;
    Warnings warnings;
    const QString own = editor.path("A/brick.png");
    EditorFixture::writeImage(own, Qt::blue);
    const QByteArray blue = readFile(own);
    QVERIFY(writeFile(editor.path("A.map"), "#Wall\r\n7,7,\r\n\r\n#Definitions\r\n7,Wall,Solid,A/brick.png\r\n"));
    QVERIFY(editor.view->loadMapFile(editor.path("A.map")));
    editor.click(0, 0, Qt::RightButton);
    editor.click(1, 0, Qt::RightButton);
    editor.flushDeletes();
    editor.setLayer("Wall");
    editor.pickTexture(0); // the gallery's brick.png
    editor.paint(2, 0);
    editor.view->BtnSaveMapEvent();
    QVERIFY2(warnings.said.isEmpty(), qPrintable(warnings.all()));
    QCOMPARE(readFile(own), blue);
    while (editor.view->undoStack()->canUndo())
        editor.view->undo();
    QCOMPARE(editor.sectorOn("Wall", 0, 0)->data->texture.folder + "brick.png",
             QFileInfo(own).canonicalFilePath().toUtf8());
    editor.view->BtnSaveMapEvent();
    QCOMPARE(readFile(own), blue);
    QVERIFY(readFile(editor.path("A.map")).contains("7,7,"));
}

// At the last moment before the map is replaced (where a kill would stop
// the save) the old map is whole and the new map's images are all there.
void TestSaveSafety::copiesExistBeforeTheMapIsReplaced()
{
    EditorFixture editor;
    const QString path = editor.path("a.map");
    editor.paint(0, 0);
    saveAs(editor, path);
    const QByteArray old = readFile(path);
    editor.pickTexture(1); // stone.png, not copied yet
    editor.paint(1, 0);
    int seen = 0;
    MapFile::beforeReplace = [&](const QString &name) {
        ++seen;
        QCOMPARE(name, path);
        QCOMPARE(readFile(path), old);
        QVERIFY(QFileInfo(editor.path("a/stone.png")).isFile());
    };
    editor.view->BtnSaveMapEvent();
    MapFile::beforeReplace = nullptr;
    QCOMPARE(seen, 1);
    QVERIFY(readFile(path).contains("a/stone.png"));
}

// Ctrl+S in the middle of a stroke saves the whole stroke once it ends, so
// that the file and the unsaved mark always agree.
void TestSaveSafety::saveDuringAStrokeWaitsForItsEnd()
{
    EditorFixture editor;
    const QString path = editor.path("a.map");
    editor.paint(0, 0);
    saveAs(editor, path);
    const QByteArray before = readFile(path);
    editor.press(0, 1);
    editor.drag(1, 1, Qt::LeftButton);
    QTest::keyClick(editor.window.get(), Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY(editor.view->saveWaiting());
    QCOMPARE(readFile(path), before);
    editor.drag(2, 1, Qt::LeftButton);
    editor.release(2, 1);
    QTRY_VERIFY(!editor.view->saveWaiting() && readFile(path) != before);
    QVERIFY(!editor.view->isModified());
    for (const MapFormat::Grid &grid : MapFormat::parse(readFile(path), "a").grids) {
        if (grid.name == editor.layers->currentLayer())
            QCOMPARE(grid.rows.value(1).count(grid.rows.at(0).at(0)), 3); // the whole stroke
    }
    editor.view->undo();
    QCOMPARE(editor.shownTitle(), "Editing: " + path + "* - Tessel");
}

void TestSaveSafety::fullDiskSaysSoAndKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("full");
    QTest::addColumn<qint64>("room");
    QTest::newRow("while writing the map") << "a.map" << qint64(300);
    QTest::newRow("at the map's first byte") << "a.map" << qint64(0);
    QTest::newRow("while copying a texture") << "stone.png" << qint64(100);
}

void TestSaveSafety::fullDiskSaysSoAndKeepsTheOldFile()
{
    QFETCH(QString, full);
    QFETCH(qint64, room);
    EditorFixture editor;
    const QString path = editor.path("a.map");
    editor.paint(0, 0);
    saveAs(editor, path);
    const QByteArray old = readFile(path);
    editor.pickTexture(1);
    for (int x = 1; x < 20; ++x)
        editor.paint(x, 1);
    Warnings warnings;
    MapFile::openTarget = [&](const QString &name) -> std::unique_ptr<QSaveFile> {
        if (QFileInfo(name).fileName() == full)
            return std::make_unique<FullDisk>(name, room);
        return std::make_unique<QSaveFile>(name);
    };
    editor.view->BtnSaveMapEvent();
    MapFile::openTarget = nullptr;
    QCOMPARE(warnings.said.size(), 1);
    QVERIFY2(warnings.all().contains(path) && warnings.all().contains("No space left on device"),
             qPrintable(warnings.all()));
    QCOMPARE(readFile(path), old);
    QVERIFY(editor.view->isModified());
    QDirIterator left(editor.dir.path(), QDir::Files | QDir::Hidden);
    while (left.hasNext())
        QVERIFY2(!left.next().contains(".a.map") && !left.filePath().endsWith(".new"), qPrintable(left.filePath()));
}

// A map opened through a symbolic link: its lines and copies belong to the
// real file; the title and the link stay as the user made them.
void TestSaveSafety::linkedMapIsEditedBehindItsLink()
{
    EditorFixture editor;
    Warnings warnings; // the example's images are not there
    QVERIFY(QDir().mkpath(editor.path("real")) && QDir().mkpath(editor.path("links")));
    const QString real = editor.path("real/level1.map");
    const QString link = editor.path("links/alias.map");
    QVERIFY(writeFile(real, readFile(testData + "/mapfile/example.map")));
    QVERIFY(QFile::link(real, link));
    QVERIFY(editor.view->loadMapFile(link));
    editor.setLayer("Wall");
    editor.pickTexture(1);
    editor.paint(3, 0);
    editor.view->BtnSaveMapEvent();
    QVERIFY(editor.window->windowTitle().contains(link));
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(readFile(real).contains(",level1/stone.png\r\n"));
    QVERIFY(QFileInfo(editor.path("real/level1/stone.png")).isFile());
    QVERIFY(!QFileInfo::exists(editor.path("links/alias")));
}

void TestSaveSafety::saveRefusesWhatTheLoadWouldRefuse_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<QPoint>("far");
    QTest::addColumn<QString>("reason");
    QTest::newRow("one far cell makes every layer too large")
        << 1 << QPoint(2100, 2100) << "67.4 MB, larger than the 64 MB the editor opens: every layer is written as "
                                      "a grid of 2,101 columns and 2,101 rows, out to the cell at Map X 2100, "
                                      "Map Y 2100 on the Wall layer";
    QTest::newRow("more cells than a load makes")
        << 500 << QPoint(0, 500) << "The map has 250,001 filled cells, more than the 250,000 the editor opens";
}

void TestSaveSafety::saveRefusesWhatTheLoadWouldRefuse()
{
    QFETCH(int, side);
    QFETCH(QPoint, far);
    QFETCH(QString, reason);
    LayerTable table(LevelPicture::editorLayers);
    auto add = [&table](int x, int y) {
        auto *data = new SectorData;
        data->mapX = x;
        data->mapY = y;
        data->texture = TextureEntry{"brick.png", "textures/Wall/", 104};
        table["Wall"].append(new Sector(data));
    };
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x)
            add(x, y);
    }
    add(far.x(), far.y());
    QTemporaryDir dir;
    MapFile file;
    QVERIFY(!file.writeMap(dir.filePath("big.map"), table));
    qDeleteAll(table.allSectors());
    QVERIFY2(file.failure().contains(reason), qPrintable(file.failure()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

QTEST_MAIN(TestSaveSafety)
#include "tst_savesafety.moc"
