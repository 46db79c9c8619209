// Textures follow their folders while the editor runs: what appears, changes
// or goes on disk reaches the gallery, the map's cells and the status bar,
// and numbers already given never change.
#include "editorfixture.h"

#include "app/tessel.h"
#include "gallery/texturegallery.h"
#include "model/sector.h"
#include "view/mapview.h"
#include "view/texturefoldercontroller.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

enum class OnDisk { Add, Change, Remove };

QColor iconColour(const QIcon &icon)
{
    return icon.pixmap(16, 16).toImage().pixelColor(8, 8);
}

QHash<QByteArray, qint32> idsOf(const TextureGallery &gallery, const QByteArray &layer)
{
    QHash<QByteArray, qint32> ids;
    for (const TextureEntry &texture : gallery.texturesOf(layer))
        ids.insert(texture.fileName, texture.id);
    return ids;
}

} // namespace

Q_DECLARE_METATYPE(OnDisk)

class TestTextureFolders : public QObject
{
    Q_OBJECT

private slots:
    void followsTheFolder_data();
    void followsTheFolder();
    void aBurstIsOneLook();
};

void TestTextureFolders::followsTheFolder_data()
{
    QTest::addColumn<OnDisk>("change");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("new image") << OnDisk::Add << "New texture: moss.png"
                               << QStringList{"brick.png", "moss.png", "stone.png", "wood.png"};
    QTest::newRow("changed image") << OnDisk::Change << "Texture changed on disk: brick.png"
                                   << QStringList{"brick.png", "stone.png", "wood.png"};
    QTest::newRow("removed image") << OnDisk::Remove
                                   << "Texture removed from its folder: brick.png (its cells keep it)"
                                   << QStringList{"stone.png", "wood.png"};
}

void TestTextureFolders::followsTheFolder()
{
    QFETCH(OnDisk, change);
    QFETCH(QString, status);
    QFETCH(QStringList, listed);
    EditorFixture editor;
    editor.setLayer("Wall");
    editor.pickTexture(0);
    Sector *cell = editor.paint(1, 1);
    QVERIFY(cell);
    const QColor before = iconColour(cell->data->button->icon());
    const QHash<QByteArray, qint32> idsBefore = idsOf(*editor.gallery, "Wall");

    const QString brick = editor.path("textures/Wall/brick.png");
    if (change == OnDisk::Add)
        EditorFixture::writeImage(editor.path("textures/Wall/moss.png"), Qt::green);
    else if (change == OnDisk::Change)
        EditorFixture::writeImage(brick, Qt::blue);
    else
        QVERIFY(QFile::remove(brick));
    QTRY_COMPARE(editor.view->statusText(), status);

    QStringList shown;
    for (int row = 0; row < editor.gallery->listWidget()->count(); ++row)
        shown << editor.gallery->listWidget()->item(row)->text();
    QCOMPARE(shown, listed);
    if (change == OnDisk::Change)
        QCOMPARE(iconColour(editor.gallery->listWidget()->item(0)->icon()), QColor(Qt::blue));
    // Numbers already given stay; a new image's comes after all of them.
    const QHash<QByteArray, qint32> idsAfter = idsOf(*editor.gallery, "Wall");
    for (auto it = idsAfter.cbegin(); it != idsAfter.cend(); ++it) {
        if (idsBefore.contains(it.key()))
            QCOMPARE(it.value(), idsBefore.value(it.key()));
        else
            QVERIFY(it.value() > *std::max_element(idsBefore.cbegin(), idsBefore.cend()));
    }
    // The painted cell stays, drawn anew only when its image changed.
    QCOMPARE(editor.sectorOn("Wall", 1, 1), cell);
    const QColor after = iconColour(cell->data->button->icon());
    QCOMPARE(after, change == OnDisk::Change ? QColor(Qt::blue) : before);
}

void TestTextureFolders::aBurstIsOneLook()
{
    EditorFixture editor;
    QSignalSpy looks(editor.window->textureFolders()->folderWatch(), &TextureFolderWatch::settled);
    // Written before control returns to the event loop, as a copy of many files arrives.
    for (int i = 0; i < 12; ++i)
        EditorFixture::writeImage(editor.path(QStringLiteral("textures/Floor/new%1.png").arg(i, 2, 10, QLatin1Char('0'))), Qt::gray);
    EditorFixture::writeImage(editor.path("textures/Floor/floor_a.png"), Qt::yellow);
    QTRY_COMPARE(looks.count(), 1);
    QTest::qWait(3 * TextureFolderWatch::quietMs);
    QCOMPARE(looks.count(), 1);
    QCOMPARE(editor.gallery->texturesOf("Floor").size(), 14);
}

QTEST_MAIN(TestTextureFolders)
#include "tst_texturefolders.moc"
