// Copy, cut and paste through the window's keys and the system clipboard.
#include "editorfixture.h"

#include "app/dialogs.h"
#include "app/tessel.h"
#include "format/mapformat.h"
#include "gallery/texturegallery.h"
#include "document/piecetext.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/mapview.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QLabel>
#include <QRadioButton>
#include <QShortcut>
#include <QTest>

namespace {

void key(EditorFixture &editor, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(editor.window.get(), k, modifiers);
}

// Select mode, a rectangle dragged over canvas cells, Ctrl+C.
void copyRect(EditorFixture &editor, const QRect &cells)
{
    QTest::mouseClick(editor.window->findChild<QRadioButton *>("radioSelect"), Qt::LeftButton);
    editor.press(cells.left(), cells.top());
    editor.drag(cells.right(), cells.bottom(), Qt::LeftButton);
    editor.release(cells.right(), cells.bottom());
    key(editor, Qt::Key_C, Qt::ControlModifier);
}

// Keys by name ("Ctrl+V", "R", "Escape"), "right" (a right click on (5, 5)),
// "click" on (5, 5) or "click X Y" (canvas cells), "pan X Y" by cells, or
// "copy square": the 2 x 2 cells at the top left, which only the top row fills.
void runSteps(EditorFixture &editor, const QStringList &steps)
{
    for (const QString &step : steps) {
        const QStringList words = step.split(' ');
        if (step == "copy square") {
            copyRect(editor, QRect(0, 0, 2, 2));
        } else if (words.first() == "pan") {
            editor.view->shiftOrigin(QPoint(words[1].toInt(), words[2].toInt()));
        } else if (words.first() == "click") {
            const QPoint at = words.size() == 3 ? QPoint(words[1].toInt(), words[2].toInt()) : QPoint(5, 5);
            editor.moveTo(at.x(), at.y());
            editor.click(at.x(), at.y());
        } else if (step == "right") {
            editor.click(5, 5, Qt::RightButton);
        } else {
            QTest::keySequence(editor.window.get(), QKeySequence(step));
        }
    }
}

QString status(EditorFixture &editor)
{
    return editor.window->findChild<QLabel *>("labelStatus")->text();
}

bool inRowOrder(const QPoint &a, const QPoint &b)
{
    return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
}

QList<QPoint> cellsOn(EditorFixture &editor, const QByteArray &layer)
{
    QList<QPoint> cells;
    for (const Sector *s : editor.view->mapModel()->sectorsOf(layer))
        cells << QPoint(s->data->mapX, s->data->mapY);
    std::sort(cells.begin(), cells.end(), inRowOrder);
    return cells;
}

// What a saved cell means: its layer, subtype, texture and light values.
QString meaning(const MapFormat::Parsed &map, const MapFormat::Grid &grid, int x, int y)
{
    const QByteArray value = grid.rows.value(y).value(x, "0");
    const MapDefinition d = map.definitions.value(value);
    return value == "0" || value.isEmpty() ? QString()
                                           : QString::fromUtf8(d.layer + ' ' + d.subtype + ' ' + d.texturePath + ' ')
            + QString::number(d.lighting.emission);
}

} // namespace

class TestClipboard : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Dialogs::restoreDefaults(); }
    void copiedRoomIsSavedTwice();
    void stampKeys_data();
    void stampKeys();
    void clipboardText_data();
    void clipboardText();
    void pieceOfASavedMapKeepsItsImages();
    void anotherWindowShowsThePiecesImages_data();
    void anotherWindowShowsThePiecesImages();
};

void TestClipboard::copiedRoomIsSavedTwice()
{
    EditorFixture editor;
    editor.setLayer("Wall");
    for (int x = 0; x < 3; ++x)
        editor.paint(x, 0);
    editor.setLayer("Floor");
    editor.paint(1, 1);
    editor.setLayer("Ceil");
    editor.paint(1, 1);
    editor.setLayer("Actor");
    editor.view->mapModel()->setProperties(editor.paint(0, 1), "Shotgunner", SectorLighting());
    editor.setLayer("Lightmap");
    SectorLighting light;
    light.emission = 77;
    editor.view->mapModel()->setProperties(editor.paint(2, 1), "Dynamic", light);

    copyRect(editor, QRect(QPoint(0, 0), QPoint(2, 1)));
    QCOMPARE(status(editor), QStringLiteral("7 cell(s) copied"));
    key(editor, Qt::Key_V, Qt::ControlModifier);
    editor.moveTo(5, 3);
    editor.click(5, 3);
    QCOMPARE(status(editor), QStringLiteral("7 cell(s) pasted"));

    const QString file = editor.path("room.map");
    Dialogs::saveChooser = [file](const QString &, const QString &) { return file; };
    Dialogs::warning = [](const QString &title, const QString &text) { QFAIL(qPrintable(title + text)); };
    editor.clickButton("btnSaveMap");
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const MapFormat::Parsed map = MapFormat::parse(saved.readAll(), editor.dir.path().toUtf8());
    int filled = 0;
    for (const MapFormat::Grid &grid : map.grids) {
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                const QString original = meaning(map, grid, x, y);
                QCOMPARE(meaning(map, grid, x + 5, y + 3), original);
                filled += original.isEmpty() ? 0 : 1;
            }
        }
    }
    QCOMPARE(filled, 7);
}

void TestClipboard::stampKeys_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<QPoint>>("walls");
    // Wall cells (0,0) and (1,0) are copied; clicks land on (5,5) unless named.
    const QPoint a(0, 0), b(1, 0), c(5, 5), d(6, 5);
    QTest::newRow("drop") << QStringList{"Ctrl+V", "click"} << QList<QPoint>{a, b, c, d};
    QTest::newRow("drop twice") << QStringList{"Ctrl+V", "click", "click 5 8"}
                                << QList<QPoint>{a, b, c, d, {5, 8}, {6, 8}};
    QTest::newRow("cut moves") << QStringList{"Ctrl+X", "Ctrl+V", "click"} << QList<QPoint>{c, d};
    QTest::newRow("R turns") << QStringList{"Ctrl+V", "R", "click"} << QList<QPoint>{a, b, c, {5, 6}};
    QTest::newRow("Shift+R turns back") << QStringList{"Ctrl+V", "R", "Shift+R", "click"} << QList<QPoint>{a, b, c, d};
    QTest::newRow("R turns clockwise") << QStringList{"copy square", "Ctrl+V", "R", "click"}
                                       << QList<QPoint>{a, b, d, {6, 6}};
    QTest::newRow("Shift+R turns counter-clockwise") << QStringList{"copy square", "Ctrl+V", "Shift+R", "click"}
                                                     << QList<QPoint>{a, b, c, {5, 6}};
    // The pointer rests on (1, 0) of 64 pixels: zooming out keeps its cell there
    // (origin 1, 0), the pan adds (2, 1); canvas cell (5, 5) is map cell (2, 4).
    QTest::newRow("drop after a zoom and a pan") << QStringList{"Ctrl+V", "Ctrl+-", "pan 2 1", "click"}
                                                 << QList<QPoint>{a, b, {2, 4}, {3, 4}};
    QTest::newRow("V mirrors a turned piece") << QStringList{"Ctrl+V", "R", "V", "click"}
                                              << QList<QPoint>{a, b, c, {5, 6}};
    QTest::newRow("Escape drops nothing") << QStringList{"Ctrl+V", "Escape", "click"} << QList<QPoint>{a, b};
    QTest::newRow("right click drops nothing") << QStringList{"Ctrl+V", "right", "click"} << QList<QPoint>{a, b};
    QTest::newRow("near column 0") << QStringList{"Ctrl+V", "H", "click 0 5"} << QList<QPoint>{a, b, {0, 5}, {1, 5}};
}

void TestClipboard::stampKeys()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<QPoint>, walls);
    EditorFixture editor;
    editor.setLayer("Wall");
    editor.paint(0, 0);
    editor.paint(1, 0);
    copyRect(editor, QRect(0, 0, 2, 1));
    // Another shortcut of the window on the stamp's keys must not take them.
    new QShortcut(QKeySequence(Qt::Key_Escape), editor.window.get());
    new QShortcut(QKeySequence(Qt::Key_R), editor.window.get());
    runSteps(editor, steps);
    std::sort(walls.begin(), walls.end(), inRowOrder);
    QCOMPARE(cellsOn(editor, "Wall"), walls);
    // An ended stamp lets its picture go: it may be as large as the map area.
    const auto *preview = editor.window->findChild<QLabel *>("stampPreview");
    if (preview && preview->isHidden())
        QVERIFY(preview->pixmap(Qt::ReturnByValue).isNull());
}

void TestClipboard::clipboardText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("said");
    QTest::addColumn<int>("pasted");
    QTest::newRow("a piece from another map")
        << QByteArray("#Wall\r\n0,1,\r\n1,0,\r\n\r\n#Definitions\r\n1,Wall,,level/brick.png\r\n")
        << "have no image" << 2;
    QTest::newRow("plain words") << QByteArray("hello") << "Nothing pasted: The clipboard holds no map piece." << 0;
    QTest::newRow("binary bytes") << QByteArray("\xff\xfe#Definitions\n\x01,\x02\n", 18)
                                  << "Nothing pasted: The clipboard holds no map piece." << 0;
    QTest::newRow("cells naming no line") << QByteArray("\xff\n#Definitions\n\x01,\x02\n#Wall\n7,\n\n", 30)
                                          << "Nothing pasted: The map piece on the clipboard has no cells." << 0;
    QByteArray huge = "#Wall\n";
    const QByteArray row = QByteArray("1,").repeated(501) + '\n';
    huge += row.repeated(500);
    huge += "\n#Definitions\n1,Wall,,x.png\n";
    QTest::newRow("more cells than a load takes") << huge << "the editor opens at most 250,000" << 0;
}

void TestClipboard::clipboardText()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, said);
    QFETCH(int, pasted);
    EditorFixture editor;
    // In Select mode a click that drops nothing paints nothing either.
    QTest::mouseClick(editor.window->findChild<QRadioButton *>("radioSelect"), Qt::LeftButton);
    QApplication::clipboard()->setText(QString::fromUtf8(text));
    key(editor, Qt::Key_V, Qt::ControlModifier);
    QVERIFY2(status(editor).contains(said), qPrintable(status(editor)));
    editor.moveTo(4, 4);
    editor.click(4, 4);
    QCOMPARE(editor.view->mapModel()->layers().sectorCount(), pasted);
}

// Another window reads the piece with the folder of the map it came from, so
// its texture paths resolve to the copies beside that map.
void TestClipboard::pieceOfASavedMapKeepsItsImages()
{
    EditorFixture editor;
    editor.setLayer("Wall");
    editor.paint(0, 0);
    const QString file = editor.path("a.map");
    Dialogs::saveChooser = [file](const QString &, const QString &) { return file; };
    editor.clickButton("btnSaveMap");
    copyRect(editor, QRect(0, 0, 1, 1));
    const PieceText::Read read = PieceText::fromMimeData(QApplication::clipboard()->mimeData(),
                                                         editor.view->textureGallery()->textureIds());
    QVERIFY2(read.problem.isEmpty() && read.notices.isEmpty(), qPrintable(read.problem + read.notices.join(' ')));
    const QString image = read.piece.layers().value(0).cells.value(0).state.image;
    QVERIFY2(image.startsWith(editor.path("a/")) && QFile::exists(image), qPrintable(image));
}

void TestClipboard::anotherWindowShowsThePiecesImages_data()
{
    QTest::addColumn<QString>("change"); // to the image or to what the clipboard says of it
    QTest::addColumn<bool>("shown");
    QTest::newRow("image there") << QString() << true;
    QTest::newRow("image deleted") << "delete" << false;
    QTest::newRow("clipboard names a file that is no image") << "forge" << false;
}

// A piece of a map never saved, pasted into another window: its images come
// along by their paths; what cannot be shown is said.
void TestClipboard::anotherWindowShowsThePiecesImages()
{
    QFETCH(QString, change);
    QFETCH(bool, shown);
    EditorFixture source;
    source.setLayer("Wall");
    const QString image = QFileInfo(source.paint(0, 0)->imagePath()).canonicalFilePath();
    copyRect(source, QRect(0, 0, 1, 1));
    if (change == "delete") {
        QVERIFY(QFile::remove(image));
    } else if (change == "forge") {
        QFile text(source.path("notes.txt"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not an image\n") > 0);
        text.close();
        const QString type = QString::fromLatin1(PieceText::mimeType);
        QByteArray payload = QApplication::clipboard()->mimeData()->data(type);
        payload.replace(image.toUtf8(), text.fileName().toUtf8());
        auto *forged = new QMimeData;
        forged->setData(type, payload);
        QApplication::clipboard()->setMimeData(forged);
    }

    EditorFixture target;
    key(target, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(status(target).contains("have no image"), !shown);
    target.moveTo(3, 3);
    target.click(3, 3);
    const Sector *pasted = target.sectorOn("Wall", 3, 3);
    QVERIFY(pasted);
    QCOMPARE(pasted->imagePath(), shown ? image : QString());
}

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
