#include "editorfixture.h"

#include "app/tessel.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/mappiece.h"
#include "model/sector.h"
#include "view/mapview.h"
#include "view/tools/stamptool.h"

#include <QLabel>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <QUndoStack>

inline uint qHash(const QPoint &cell, uint seed = 0)
{
    return qHash(qMakePair(cell.x(), cell.y()), seed);
}

namespace {

// Keys as a person presses them; a button's shortcut clicks it a moment later.
void pressKeys(EditorFixture &editor, const QString &keys)
{
    for (const QChar key : keys) {
        QTest::keyClick(editor.window.get(), Qt::Key(key.unicode()));
        for (auto *radio : editor.window->findChildren<QRadioButton *>()) {
            if (radio->shortcut() == QKeySequence(key))
                QVERIFY(QTest::qWaitFor([radio] { return !radio->isDown(); }));
        }
    }
}

void dragShape(EditorFixture &editor, const QPoint &from, const QPoint &to, Qt::MouseButton button = Qt::LeftButton)
{
    editor.press(from.x(), from.y(), button);
    editor.drag(to.x(), to.y(), button);
    editor.release(to.x(), to.y(), button);
}

QSet<QPoint> cellsOn(const EditorFixture &editor, const QByteArray &layer)
{
    QSet<QPoint> cells;
    for (const Sector *sector : editor.layers->layerTable().value(layer))
        cells.insert(QPoint(sector->data->mapX, sector->data->mapY));
    return cells;
}

} // namespace

class TestShapeTools : public QObject
{
    Q_OBJECT

private slots:
    void shapesPaintAndErase_data();
    void shapesPaintAndErase();
    void roomTakesEachLayersTexture();
    void dragShowsSizeAndEscapeCancels();
    void mapEdgesLeaveOutOrRefuse_data();
    void mapEdgesLeaveOutOrRefuse();
    void lightLineMakesFreshIdentifiers();
    void rTurnsAPastedStampNotTheTool();
};

void TestShapeTools::shapesPaintAndErase_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<bool>("prefilled"); // the Floor layer's cells (0, 0) to (5, 5)
    QTest::addColumn<int>("cellsAfter");
    QTest::addColumn<QString>("status");
    // A side step at every change of row: 4 + 2 + 1 cells.
    QTest::newRow("line") << "L" << false << QPoint(5, 3) << QPoint(1, 1) << false << 7 << "Line";
    QTest::newRow("line of one cell") << "L" << false << QPoint(2, 2) << QPoint(2, 2) << false << 1 << "Line";
    QTest::newRow("outline") << "R" << false << QPoint(1, 1) << QPoint(4, 3) << false << 10 << "Rectangle (outline)";
    QTest::newRow("filled") << "RR" << false << QPoint(4, 3) << QPoint(1, 1) << false << 12 << "Rectangle (filled)";
    QTest::newRow("filled and back") << "RRR" << false << QPoint(1, 1) << QPoint(4, 3) << false << 10
                                     << "Rectangle (outline)";
    // Only free cells are painted, as the Pencil paints: nothing changes.
    QTest::newRow("over filled cells") << "R" << false << QPoint(1, 1) << QPoint(4, 3) << true << 36
                                       << "Rectangle (outline)";
    // The outline form still erases the whole rectangle.
    QTest::newRow("right drag erases") << "R" << true << QPoint(1, 1) << QPoint(4, 3) << true << 36 - 12
                                       << "Rectangle (outline)";
    QTest::newRow("right drag line") << "L" << true << QPoint(0, 0) << QPoint(5, 0) << true << 36 - 6 << "Line";
    QTest::newRow("room ignores right") << "O" << true << QPoint(1, 1) << QPoint(4, 3) << true << 36 << "Room";
}

void TestShapeTools::shapesPaintAndErase()
{
    QFETCH(QString, keys);
    QFETCH(bool, right);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(bool, prefilled);
    QFETCH(int, cellsAfter);
    QFETCH(QString, status);
    EditorFixture editor;
    editor.setLayer("Floor");
    for (int cell = 0; prefilled && cell < 36; ++cell)
        editor.place(cell % 6, cell / 6);
    const QSet<QPoint> before = cellsOn(editor, "Floor");
    const int steps = editor.view->undoStack()->count();
    pressKeys(editor, keys);
    QCOMPARE(editor.view->statusText(), status);
    dragShape(editor, from, to, right ? Qt::RightButton : Qt::LeftButton);
    editor.flushDeletes();
    QCOMPARE(cellsOn(editor, "Floor").size(), cellsAfter);
    QCOMPARE(editor.view->statusText(), status);
    QVERIFY(editor.view->mapModel()->checkConsistency().isEmpty());
    // One step, whose undo gives back the map as it was.
    const bool changed = cellsAfter != before.size();
    QCOMPARE(editor.view->undoStack()->count(), steps + (changed ? 1 : 0));
    if (changed) {
        editor.view->undo();
        QCOMPARE(cellsOn(editor, "Floor"), before);
    }
}

void TestShapeTools::roomTakesEachLayersTexture()
{
    EditorFixture editor;
    // A texture picked on a layer is that layer's again when it comes back.
    editor.setLayer("Wall");
    editor.pickTexture(1); // stone
    editor.setLayer("Ceil");
    editor.pickTexture(1); // ceil_b
    editor.setLayer("Wall");
    QCOMPARE(editor.gallery->currentTexture().fileName, QByteArray("stone.png"));
    // A wall inside stays, a door on the outline keeps its doorway, a floor is replaced.
    editor.place(3, 2);
    editor.setLayer("Door");
    editor.place(1, 2);
    editor.setLayer("Floor");
    editor.place(2, 2);
    pressKeys(editor, "O");
    dragShape(editor, QPoint(1, 1), QPoint(5, 4));
    QCOMPARE(cellsOn(editor, "Wall").size(), 14);
    QVERIFY(cellsOn(editor, "Wall").contains(QPoint(3, 2)) && !cellsOn(editor, "Wall").contains(QPoint(1, 2)));
    QCOMPARE(editor.sectorOn("Wall", 5, 4)->data->texture.fileName, QByteArray("stone.png"));
    QCOMPARE(cellsOn(editor, "Floor").size(), 6);
    QCOMPARE(cellsOn(editor, "Ceil").size(), 6);
    QCOMPARE(editor.sectorOn("Floor", 2, 2)->data->texture.fileName, QByteArray("floor_a.png"));
    QCOMPARE(editor.sectorOn("Ceil", 4, 3)->data->texture.fileName, QByteArray("ceil_b.png"));
    editor.view->undo();
    QCOMPARE(cellsOn(editor, "Ceil").size(), 0);
    QCOMPARE(cellsOn(editor, "Wall"), QSet<QPoint>{QPoint(3, 2)});
}

void TestShapeTools::dragShowsSizeAndEscapeCancels()
{
    EditorFixture editor;
    pressKeys(editor, "R");
    editor.press(1, 1);
    editor.drag(3, 2, Qt::LeftButton);
    editor.drag(6, 4, Qt::LeftButton);
    QCOMPARE(editor.view->statusText(), QString("Rectangle (outline): 6 x 4"));
    auto *preview = editor.window->findChild<QLabel *>("shapePreview");
    QVERIFY(preview && preview->isVisible());
    const int size = editor.view->cellSize();
    QCOMPARE(preview->geometry(), QRect(QPoint(1, 1) * size, QSize(6, 4) * size));
    QTest::keyClick(editor.window.get(), Qt::Key_Escape);
    QVERIFY(!preview->isVisible());
    editor.release(6, 4);
    QVERIFY(cellsOn(editor, "Wall").isEmpty());
    QCOMPARE(editor.view->undoStack()->count(), 0);
    QCOMPARE(editor.view->statusText(), QString("Rectangle (outline): cancelled"));
    // Leaving for the Pencil takes the tool's word away.
    QTest::mouseClick(editor.window->findChild<QRadioButton *>("radioPencil"), Qt::LeftButton);
    QCOMPARE(editor.view->statusText(), QString());
}

void TestShapeTools::mapEdgesLeaveOutOrRefuse_data()
{
    QTest::addColumn<QPoint>("origin");
    QTest::addColumn<int>("cells");
    QTest::addColumn<QString>("status");
    // From canvas cell (0, 0) to (3, 3), the pan offset placing it on the map.
    QTest::newRow("all on the map") << QPoint(0, 0) << 12 << "Rectangle (outline)";
    // Map X -2 to 1, Map Y -1 to 2: the right column and two of the bottom row.
    QTest::newRow("corner above and left") << QPoint(2, 1) << 4
        << "Rectangle (outline): 8 cell(s) left of column 0 or above row 0 left out";
    QTest::newRow("past the last column") << QPoint(-4094, 0) << 0
        << "Rectangle (outline): The shape reaches Map X 4097, Map Y 3, beyond the largest map the game reads (4,096 columns and rows).";
}

void TestShapeTools::mapEdgesLeaveOutOrRefuse()
{
    QFETCH(QPoint, origin);
    QFETCH(int, cells);
    QFETCH(QString, status);
    EditorFixture editor;
    editor.view->shiftOrigin(origin);
    pressKeys(editor, "R");
    dragShape(editor, QPoint(0, 0), QPoint(3, 3));
    QCOMPARE(cellsOn(editor, "Wall").size(), cells);
    QCOMPARE(editor.view->statusText(), status);
    QVERIFY(editor.view->mapModel()->checkConsistency().isEmpty());
}

void TestShapeTools::lightLineMakesFreshIdentifiers()
{
    EditorFixture editor;
    editor.setLayer("Lightmap");
    const qint32 lampId = editor.gallery->currentTexture().id;
    pressKeys(editor, "L");
    dragShape(editor, QPoint(0, 0), QPoint(3, 0));
    QSet<qint32> ids;
    for (const Sector *sector : editor.layers->layerTable().value("Lightmap")) {
        QVERIFY(sector->data->texture.id > lampId);
        ids.insert(sector->data->texture.id);
    }
    QCOMPARE(ids.size(), 4);
}

void TestShapeTools::rTurnsAPastedStampNotTheTool()
{
    EditorFixture editor;
    pressKeys(editor, "R");
    editor.place(0, 0);
    editor.place(1, 0);
    editor.view->stamp()->start(MapPiece::copy(*editor.view->mapModel(), QRect(0, 0, 2, 1)), QPoint(3, 3));
    pressKeys(editor, "R");
    QCOMPARE(editor.view->stamp()->piece().size(), QSize(1, 2));
    QVERIFY(!editor.view->editingState()->rectangleFilled());
    QTest::keyClick(editor.window.get(), Qt::Key_Escape);
    pressKeys(editor, "R");
    QVERIFY(editor.view->editingState()->rectangleFilled());
}

QTEST_MAIN(TestShapeTools)
#include "tst_shapetools.moc"
