// The document without any window: one undo step per user action, the clean
// state through save, load and recovery, and the recovery copy's timing.
#include "documentfixture.h"

#include "document/editingstate.h"
#include "document/packedchange.h"
#include "document/recoveryfile.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

#include <algorithm>

class TestMapDocument : public QObject
{
    Q_OBJECT

private slots:
    void oneStepPerAction_data();
    void oneStepPerAction();
    void cleanStateFollowsTheFile();
    void recoveryCopyWaitsAndReports();
    void heldLayerOutranksTheChosenOne();
    void historyHoldsAThousandSteps();
    void storedStepGivesBackEveryCell();
};

void TestMapDocument::oneStepPerAction_data()
{
    QTest::addColumn<QList<int>>("groups"); // cells painted per action; 0 opens an empty one
    QTest::addColumn<bool>("nested");
    QTest::addColumn<int>("steps");
    QTest::newRow("lone edits") << QList<int>{-1, -1, -1} << false << 3;
    QTest::newRow("one stroke") << QList<int>{5} << false << 1;
    QTest::newRow("nested stroke") << QList<int>{4} << true << 1;
    QTest::newRow("empty action") << QList<int>{0} << false << 0;
    QTest::newRow("two strokes") << QList<int>{2, 3} << false << 2;
}

// A negative count is one edit outside any action.
void TestMapDocument::oneStepPerAction()
{
    QFETCH(QList<int>, groups);
    QFETCH(bool, nested);
    QFETCH(int, steps);
    DocumentFixture fixture;
    MapDocument &doc = *fixture.document;
    QSignalSpy closed(&doc, &MapDocument::editClosed);
    int x = 0;
    for (int count : groups) {
        if (count < 0) {
            fixture.paint(x++, 0);
            continue;
        }
        doc.beginEdit("Stroke");
        if (nested)
            doc.beginEdit("Inner");
        for (int i = 0; i < count; ++i)
            fixture.paint(x++, 0);
        if (nested) {
            doc.endEdit();
            QVERIFY(doc.editOpen());
        }
        doc.endEdit();
        QVERIFY(!doc.editOpen());
    }
    doc.endEdit(); // one too many is harmless
    QCOMPARE(doc.undoStack()->count(), steps);
    QCOMPARE(closed.count(), int(std::count_if(groups.begin(), groups.end(), [](int c) { return c >= 0; })));
    while (doc.undoStack()->canUndo())
        doc.undoStack()->undo();
    QCOMPARE(fixture.cells(), 0);
    while (doc.undoStack()->canRedo())
        doc.undoStack()->redo();
    QCOMPARE(fixture.cells(), x);
}

void TestMapDocument::cleanStateFollowsTheFile()
{
    DocumentFixture fixture;
    MapDocument &doc = *fixture.document;
    QVERIFY(!doc.isModified());
    fixture.paint(0, 0);
    QVERIFY(doc.isModified());

    doc.markLoaded(EditedFile("/nowhere/loaded.map"), "hash", {"line"});
    QVERIFY(!doc.isModified());
    QVERIFY(!doc.undoStack()->canUndo());
    QCOMPARE(doc.file().chosenName(), QString("/nowhere/loaded.map"));
    QCOMPARE(doc.lineOrder(), QList<QByteArray>{"line"});

    fixture.paint(1, 0);
    doc.markSaved(EditedFile("/nowhere/saved.map"), "other", {});
    QVERIFY(!doc.isModified());
    QCOMPARE(doc.file().chosenName(), QString("/nowhere/saved.map"));
    doc.undoStack()->undo();
    QVERIFY(doc.isModified());

    doc.markRecovered();
    QVERIFY(doc.file().isEmpty());
    QVERIFY(doc.isModified());
}

void TestMapDocument::recoveryCopyWaitsAndReports()
{
    DocumentFixture fixture;
    MapDocument &doc = *fixture.document;
    RecoveryFile *recovery = doc.recoveryFile();
    QVERIFY(!recovery->writeNow()); // nothing unsaved, nothing written

    bool busy = true;
    doc.setBusyCheck([&busy]() { return busy; });
    fixture.paint(0, 0);
    QVERIFY(recovery->pending());
    QVERIFY(!recovery->writeWhenIdle()); // mid-gesture: it looks again later
    QVERIFY(recovery->pending());
    busy = false;
    QVERIFY(recovery->writeWhenIdle());
    QVERIFY(QFileInfo(recovery->mapPath()).isFile());

    QSignalSpy problems(&doc, &MapDocument::recoveryProblem);
    fixture.writerFailure = "disk full";
    QVERIFY(!recovery->writeNow());
    QVERIFY(!recovery->writeNow());
    QCOMPARE(problems.count(), 1);
    QVERIFY(problems.first().first().toString().contains("disk full"));

    fixture.writerFailure.clear();
    doc.markSaved(EditedFile("/nowhere/saved.map"), "hash", {});
    QVERIFY(!QFileInfo(recovery->mapPath()).exists());
}

// Shift/Ctrl hold a layer for a moment; a choice made meanwhile shows once
// the key is let go, and only real changes are announced.
void TestMapDocument::heldLayerOutranksTheChosenOne()
{
    EditingState state(LayerNames::Floor);
    QSignalSpy changed(&state, &EditingState::currentLayerChanged);
    state.holdLayer(LayerNames::Wall);
    state.setChosenLayer(LayerNames::Ceil);
    QCOMPARE(state.currentLayer(), QByteArray(LayerNames::Wall));
    QVERIFY(state.temporaryLayerActive());
    state.releaseLayer();
    QCOMPARE(state.currentLayer(), QByteArray(LayerNames::Ceil));
    state.setChosenLayer(LayerNames::Ceil);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.last().first().toByteArray(), QByteArray(LayerNames::Ceil));
}

void TestMapDocument::historyHoldsAThousandSteps()
{
    DocumentFixture fixture;
    MapModel *model = fixture.model();
    for (int i = 0; i <= 1000; ++i)
        fixture.paint(i % 50, i / 50);
    int undone = 0;
    for (; fixture.document->undoStack()->canUndo(); ++undone)
        fixture.document->undoStack()->undo();
    QCOMPARE(undone, 1000);
    // The oldest step fell out of the history; its cell stays.
    QCOMPARE(model->sectorsOf("Wall").size(), 1);
    QVERIFY(model->hasSectorAt("Wall", 0, 0));
}

// A step keeps each state once; what it gives back to undo and redo must be
// every record as it was, in its order, whichever states the cells share.
void TestMapDocument::storedStepGivesBackEveryCell()
{
    const auto state = [](const char *file, int emission) {
        SectorState made;
        made.texture = TextureEntry{file, "Wall/", 7};
        made.subtype = "Solid";
        made.lighting.emission = emission;
        made.image = QStringLiteral("textures/Wall/") + QLatin1String(file);
        return made;
    };
    const SectorState brick = state("brick.png", 10), stone = state("stone.png", 10), lit = state("brick.png", 12);
    SectorState dimmer = brick;
    dimmer.lighting.intensity = 100; // alike in all but a value the hash leaves out
    const auto givesBack = [](const MapChange &change, int states) {
        const PackedChange packed(change);
        QCOMPARE(packed.stateCount(), states);
        const MapChange back = packed.unpacked();
        QCOMPARE(back.size(), change.size());
        for (int i = 0; i < change.size(); ++i) {
            const CellChange &was = change.cells.at(i), &is = back.cells.at(i);
            QVERIFY2(is.layer == was.layer && is.mapX == was.mapX && is.mapY == was.mapY
                         && is.position == was.position && is.before == was.before && is.after == was.after,
                     qPrintable(QString::number(i)));
        }
    };
    MapChange change;
    const QList<std::pair<std::optional<SectorState>, std::optional<SectorState>>> sides{
        {std::nullopt, brick}, {brick, std::nullopt}, {brick, stone}, {stone, lit}, {lit, brick}, {std::nullopt, brick}};
    for (int i = 0; i < sides.size(); ++i)
        change.cells.append({i % 2 ? QByteArray("Floor") : QByteArray("Wall"), i - 2, 3 * i, sides.at(i).first,
                             sides.at(i).second, i == 3 ? -1 : 10 - i});
    givesBack(change, 3);
    // A long step in a seeded random order of states, empty cells among them.
    const QList<std::optional<SectorState>> pool{std::nullopt, brick, stone, lit, dimmer};
    QRandomGenerator random(25);
    change.cells.clear();
    for (int i = 0; i < 400; ++i)
        change.cells.append({random.bounded(2) ? QByteArray("Floor") : QByteArray("Lightmap"), i, -i,
                             pool.at(random.bounded(pool.size())), pool.at(random.bounded(pool.size())), i});
    givesBack(change, 4);
}

QTEST_GUILESS_MAIN(TestMapDocument)
#include "tst_mapdocument.moc"
