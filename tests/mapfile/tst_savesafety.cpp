#include "editorfixture.h"
#include "testfiles.h"

#include "../check/levelpicture.h"

#include "app/dialogs.h"
#include "app/tessel.h"
#include "layers/layercontroller.h"
#include "document/mapfile.h"
#include "model/sector.h"
#include "view/filecontroller.h"
#include "view/mapview.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

// Saving never loses or breaks a file: neither the map, nor another
// program's version of it, nor anything in the copy folder.
class TestSaveSafety : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void unchangedMapSavesTheSameBytes_data();
    void unchangedMapSavesTheSameBytes();
    void fileChangedOnDiskIsNotOverwrittenSilently_data();
    void fileChangedOnDiskIsNotOverwrittenSilently();
    void copiesNeverReplaceOtherFiles_data();
    void copiesNeverReplaceOtherFiles();
    void saveDuringAStrokeWaitsForItsEnd();
    void copiesExistBeforeTheMapIsReplaced();
    void fullDiskSaysSoAndKeepsTheOldFile_data();
    void fullDiskSaysSoAndKeepsTheOldFile();
    void linkedMapIsEditedBehindItsLink();
    void saveRefusesWhatTheLoadWouldRefuse_data();
    void saveRefusesWhatTheLoadWouldRefuse();

private:
    QStringList warnings;
};

namespace {

const QString testData = QStringLiteral(TESSEL_TEST_DATA);

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void saveAs(EditorFixture &editor, const QString &name)
{
    Dialogs::saveChooser = [name](const QString &, const QString &) { return name; };
    editor.view->saveMapAs();
}

// A wall saved as a.map; returns the file's bytes.
QByteArray savedWall(EditorFixture &editor)
{
    editor.paint(0, 0);
    saveAs(editor, editor.path("a.map"));
    return readFile(editor.path("a.map"));
}

// A file on a disk that fills up after `room` bytes: the write that reaches
// the end is cut short without an error, then the descriptor is pointed at
// /dev/full, so the next write fails in the system as on a full disk.
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
        }
        const qint64 part = room > 0 ? std::min(length, room) : length;
        room = room > 0 ? room - part : -1;
        return QSaveFile::writeData(data, part);
    }

private:
    qint64 room;
};

} // namespace

void TestSaveSafety::init()
{
    warnings.clear();
    Dialogs::warning = [this](const QString &title, const QString &text) { warnings << title + ": " + text; };
}

void TestSaveSafety::unchangedMapSavesTheSameBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    // broken.map names an image outside its folder and a cell without a
    // definition: a save leaves both out on purpose.
    for (const char *name : {"fine.map", "warned.map", "level1.map"})
        QTest::newRow(name) << readFile(testData + "/maptool/data/" + name) << QString(name);
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
    EditorFixture editor;
    QVERIFY(!bytes.isEmpty() && writeFile(editor.path(name), bytes));
    QVERIFY(editor.view->loadMapFile(editor.path(name)));
    editor.view->BtnSaveMapEvent();
    QCOMPARE(readFile(editor.path(name)), bytes);
}

void TestSaveSafety::fileChangedOnDiskIsNotOverwrittenSilently_data()
{
    QTest::addColumn<bool>("sameBytes");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("keptTheirs");
    QTest::newRow("overwrite") << false << int(QMessageBox::Yes) << false;
    QTest::newRow("save as") << false << int(QMessageBox::Save) << true;
    QTest::newRow("cancel") << false << int(QMessageBox::Cancel) << true;
    QTest::newRow("touched only: no question") << true << -1 << false;
}

// Another program (a generator, a checkout, a colleague) rewrote the file.
void TestSaveSafety::fileChangedOnDiskIsNotOverwrittenSilently()
{
    QFETCH(bool, sameBytes);
    QFETCH(int, answer);
    QFETCH(bool, keptTheirs);
    EditorFixture editor;
    const QString path = editor.path("a.map");
    // Same size, other bytes, so that only the content tells.
    const QByteArray theirs = sameBytes ? savedWall(editor) : savedWall(editor).replace("Solid", "Solix");
    QVERIFY(writeFile(path, theirs));
    // Later than the save for sure: the system's clock for file times is
    // coarse, and a time can only be set on an open file.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QFileInfo(path).lastModified().addSecs(10), QFileDevice::FileModificationTime));
    file.close();
    editor.paint(1, 0);
    int asked = 0;
    Dialogs::overwriteChoice = [&](const QString &, const QString &) { return ++asked, QMessageBox::StandardButton(answer); };
    Dialogs::saveChooser = [&](const QString &, const QString &) { return editor.path("b.map"); };
    editor.view->BtnSaveMapEvent();
    QCOMPARE(asked, answer < 0 ? 0 : 1);
    QCOMPARE(readFile(path) == theirs, keptTheirs);
    QCOMPARE(QFile::exists(editor.path("b.map")), answer == QMessageBox::Save);
    QCOMPARE(editor.view->isModified(), answer == QMessageBox::Cancel);
}

void TestSaveSafety::copiesNeverReplaceOtherFiles_data()
{
    QTest::addColumn<QString>("occupant");
    QTest::addColumn<QByteArray>("copyName");
    QTest::newRow("another image") << "image" << QByteArray("brick-Wall.png");
    QTest::newRow("the same image") << "same" << QByteArray("brick.png");
    QTest::newRow("a link") << "link" << QByteArray("brick-Wall.png");
}

// Save As photos.map beside the user's own photos/ folder.
void TestSaveSafety::copiesNeverReplaceOtherFiles()
{
    QFETCH(QString, occupant);
    QFETCH(QByteArray, copyName);
    EditorFixture editor;
    const QString taken = editor.path("photos/brick.png");
    const QString brick = editor.path("textures/Wall/brick.png");
    QVERIFY(QDir().mkpath(editor.path("photos")));
    if (occupant == "image")
        EditorFixture::writeImage(taken, Qt::blue);
    else
        QVERIFY(occupant == "same" ? QFile::copy(brick, taken) : QFile::link(editor.path("assets/lamp.png"), taken));
    const QByteArray before = readFile(taken);
    editor.setLayer("Wall");
    editor.paint(0, 0);
    saveAs(editor, editor.path("photos.map"));
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
    QVERIFY(readFile(editor.path("photos.map")).contains(",photos/" + copyName + "\r\n"));
    QCOMPARE(readFile(editor.path("photos/" + copyName)), readFile(brick));
    QCOMPARE(readFile(taken), before);
    QCOMPARE(QFileInfo(taken).isSymLink(), occupant == "link");
}

// Ctrl+S in the middle of a stroke saves the whole stroke once it ends, so
// that the file and the unsaved mark always agree.
void TestSaveSafety::saveDuringAStrokeWaitsForItsEnd()
{
    EditorFixture editor;
    const QString path = editor.path("a.map");
    const QByteArray before = savedWall(editor);
    editor.press(0, 1);
    QTest::keyClick(editor.window.get(), Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY(editor.view->fileController()->saveWaiting());
    QCOMPARE(readFile(path), before);
    editor.drag(1, 1, Qt::LeftButton);
    editor.release(1, 1);
    QTRY_VERIFY(!editor.view->fileController()->saveWaiting() && !editor.view->isModified());
    const QByteArray id = QByteArray::number(editor.sectorOn("Wall", 0, 0)->data->texture.id);
    QVERIFY(readFile(path).contains("#Wall\r\n" + id + ",0,\r\n" + id + ',' + id + ",\r\n")); // the whole stroke
    editor.view->undo();
    QCOMPARE(editor.shownTitle(), "Editing: " + path + "* - Tessel");
}

// At the last moment before the map is replaced (where a kill would stop the
// save) the old map is whole and the new map's images are all there.
void TestSaveSafety::copiesExistBeforeTheMapIsReplaced()
{
    EditorFixture editor;
    const QString path = editor.path("a.map");
    const QByteArray old = savedWall(editor);
    editor.pickTexture(1);
    editor.paint(1, 0);
    QStringList seen;
    MapFile::beforeReplace = [&](const QString &name) {
        if (readFile(name) == old && QDir(QFileInfo(name).path() + "/a").entryList(QDir::Files).size() == 2)
            seen << name;
    };
    editor.view->BtnSaveMapEvent();
    MapFile::beforeReplace = nullptr;
    QCOMPARE(seen, QStringList{path});
    QVERIFY(readFile(path) != old);
}

void TestSaveSafety::fullDiskSaysSoAndKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("full");
    QTest::addColumn<qint64>("room");
    QTest::newRow("while writing the map") << "a.map" << qint64(300);
    QTest::newRow("while copying a texture") << "stone.png" << qint64(100);
}

void TestSaveSafety::fullDiskSaysSoAndKeepsTheOldFile()
{
    QFETCH(QString, full);
    QFETCH(qint64, room);
    EditorFixture editor;
    const QString path = editor.path("a.map");
    const QByteArray old = savedWall(editor);
    editor.pickTexture(1);
    for (int x = 1; x < 20; ++x)
        editor.paint(x, 1);
    MapFile::openTarget = [&](const QString &name) -> std::unique_ptr<QSaveFile> {
        return QFileInfo(name).fileName() == full ? std::make_unique<FullDisk>(name, room)
                                                  : std::make_unique<QSaveFile>(name);
    };
    editor.view->BtnSaveMapEvent();
    MapFile::openTarget = nullptr;
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings.first().contains(path) && warnings.first().contains("No space left on device"),
             qPrintable(warnings.first()));
    QCOMPARE(readFile(path), old);
    QVERIFY(editor.view->isModified());
}

// A map opened through a symbolic link: its lines and copies belong to the
// real file; the title and the link stay as the user made them.
void TestSaveSafety::linkedMapIsEditedBehindItsLink()
{
    EditorFixture editor;
    const QString real = editor.path("real/level1.map");
    const QString link = editor.path("links/alias.map");
    QVERIFY(QDir().mkpath(editor.path("real")) && QDir().mkpath(editor.path("links")));
    QVERIFY(writeFile(real, readFile(testData + "/mapfile/example.map")) && QFile::link(real, link));
    QVERIFY(editor.view->loadMapFile(link));
    editor.pickTexture(1);
    editor.paint(3, 0);
    editor.view->BtnSaveMapEvent();
    QVERIFY(editor.window->windowTitle().contains(link) && QFileInfo(link).isSymLink());
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
    for (int i = 0; i <= side * side; ++i) {
        SectorData values;
        values.mapX = i < side * side ? i % side : far.x();
        values.mapY = i < side * side ? i / side : far.y();
        values.texture = TextureEntry{"brick.png", "textures/Wall/", 104};
        table["Wall"].append(new Sector(values));
    }
    QTemporaryDir dir;
    MapFile file;
    QVERIFY(!file.writeMap(dir.filePath("big.map"), table));
    qDeleteAll(table.allSectors());
    QVERIFY2(file.failure().contains(reason), qPrintable(file.failure()));
    QCOMPARE(file.result().outcome, MapFile::Result::Outcome::Refused);
    QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

QTEST_MAIN(TestSaveSafety)
#include "tst_savesafety.moc"
