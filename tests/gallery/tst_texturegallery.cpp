#include "editorfixture.h"
#include "format/layernames.h"

#include "gallery/texturegallery.h"
#include "model/subtypetable.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

// Gallery tests run in a folder of their own with a bare list widget, so that
// every texture file (and so every identifier) is under the test's control.
class GalleryHost
{
public:
    explicit GalleryHost(const QStringList &files)
    {
        previous = QDir::currentPath();
        for (const QString &file : files) {
            if (file.endsWith('/'))
                QDir().mkpath(dir.filePath(file));
            else if (file.endsWith(".txt"))
                QFile(dir.filePath(file)).open(QIODevice::WriteOnly);
            else
                EditorFixture::writeImage(dir.filePath(file), Qt::red, 8);
        }
        QDir::setCurrent(dir.path());
        list = new QListWidget(&window);
        list->setObjectName("listViewTextures");
        gallery.reset(new TextureGallery(list, galleryScanOrder()));
    }
    ~GalleryHost() { QDir::setCurrent(previous); }

    QStringList shownNames() const
    {
        QStringList names;
        for (int row = 0; row < list->count(); ++row)
            names << list->item(row)->text();
        return names;
    }

    QTemporaryDir dir;
    QString previous;
    QWidget window;
    QListWidget *list = nullptr;
    std::unique_ptr<TextureGallery> gallery;
};

class TestTextureGallery : public QObject
{
    Q_OBJECT

private slots:
    void listsImagesByNameIgnoringCase();
    void identifiersFollowScanOrder();
    void lampIsTheOnlyLightmapTexture();
    void noImagesAnywhere();
    void startsOnCeilWithFirstTextureCurrent();
    void selectLayerMakesFirstItemCurrent();
    void emptyLayerKeepsPreviousTexture();
    void clickingAnItemMakesItCurrent();
    void reloadAdvancesCounterButKeepsLists();
    void findTextureIsCaseSensitive();
    void listWidgetIsAnIconView();
    void namesAMapCannotHoldAreLeftOut();
};

void TestTextureGallery::listsImagesByNameIgnoringCase()
{
    // "B.png" before "a.jpg" byte by byte; the gallery ignores case.
    GalleryHost host({"textures/Wall/B.png", "textures/Wall/a.jpg", "textures/Wall/c.PNG",
                      "textures/Wall/x.Png", "textures/Wall/notes.txt", "textures/Wall/sub/",
                      "textures/Wall/sub/deep.png"});
    const QList<TextureEntry> walls = host.gallery->texturesOf("Wall");
    QStringList names;
    for (const TextureEntry &entry : walls)
        names << QString::fromUtf8(entry.fileName);
    QCOMPARE(names, (QStringList{"a.jpg", "B.png", "c.PNG", "x.Png"}));
    QCOMPARE(walls[0].folder, QByteArray("textures/Wall/"));
    for (int i = 1; i < walls.size(); ++i)
        QCOMPARE(walls[i].id, walls[i - 1].id + 1);
}

void TestTextureGallery::identifiersFollowScanOrder()
{
    GalleryHost host({"textures/Ceil/a.png", "textures/Ceil/b.png", "textures/Ceil/c.png",
                      "textures/Wall/w.png", "textures/Floor/f.png"});
    const QList<TextureEntry> ceil = host.gallery->texturesOf("Ceil");
    QCOMPARE(ceil.size(), 3);
    QCOMPARE(ceil[0].id, 100);
    QCOMPARE(ceil[2].id, 102);
    // Floor is scanned before Wall.
    QCOMPARE(host.gallery->texturesOf("Floor").first().id, 103);
    QCOMPARE(host.gallery->texturesOf("Wall").first().id, 104);
    QCOMPARE(host.gallery->texturesOf("Lightmap").first().id, 105);
}

void TestTextureGallery::lampIsTheOnlyLightmapTexture()
{
    GalleryHost host({"textures/Lightmap/extra.png", "textures/Ceil/a.png"});
    host.gallery->selectLayer("Lightmap");
    QCOMPARE(host.shownNames(), QStringList{"lamp.png"});
    const TextureEntry lamp = host.gallery->currentTexture();
    QCOMPARE(lamp.folder, QByteArray("assets/"));
    QCOMPARE(lamp.id, 101);
}

void TestTextureGallery::noImagesAnywhere()
{
    GalleryHost host({});
    QCOMPARE(host.gallery->texturesOf("Lightmap").first().id, 100);
    QVERIFY(host.gallery->currentTexture().isEmpty());
    QCOMPARE(host.list->count(), 0);
    // The first handed-out number skips one: the counter moves before it is read.
    QCOMPARE(host.gallery->nextId(), 102);
    QCOMPARE(host.gallery->nextId(), 103);
}

void TestTextureGallery::startsOnCeilWithFirstTextureCurrent()
{
    GalleryHost host({"textures/Ceil/b.png", "textures/Ceil/a.png", "textures/Wall/w.png"});
    QCOMPARE(host.shownNames(), (QStringList{"a.png", "b.png"}));
    QCOMPARE(host.gallery->currentTexture().fileName, QByteArray("a.png"));
}

void TestTextureGallery::selectLayerMakesFirstItemCurrent()
{
    GalleryHost host({"textures/Ceil/a.png", "textures/Wall/w1.png", "textures/Wall/w2.png"});
    host.gallery->selectLayer("Wall");
    QCOMPARE(host.shownNames(), (QStringList{"w1.png", "w2.png"}));
    QCOMPARE(host.gallery->currentTexture().fileName, QByteArray("w1.png"));
    QCOMPARE(host.list->currentRow(), 0);
    QVERIFY(host.list->item(0)->isSelected());
}

void TestTextureGallery::emptyLayerKeepsPreviousTexture()
{
    GalleryHost host({"textures/Wall/w1.png"});
    host.gallery->selectLayer("Wall");
    host.gallery->selectLayer("Door");
    QCOMPARE(host.list->count(), 0);
    QCOMPARE(host.gallery->currentTexture().fileName, QByteArray("w1.png"));
    host.gallery->selectLayer("Nowhere");
    QCOMPARE(host.gallery->currentTexture().fileName, QByteArray("w1.png"));
}

void TestTextureGallery::clickingAnItemMakesItCurrent()
{
    GalleryHost host({"textures/Door/d1.png", "textures/Door/d2.png", "textures/Door/d3.png"});
    host.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host.window));
    host.gallery->selectLayer("Door");
    const QRect third = host.list->visualItemRect(host.list->item(2));
    QTest::mouseClick(host.list->viewport(), Qt::LeftButton, Qt::NoModifier, third.center());
    const TextureEntry current = host.gallery->currentTexture();
    QCOMPARE(current.fileName, QByteArray("d3.png"));
    QCOMPARE(current.folder, QByteArray("textures/Door/"));
    QCOMPARE(current.id, host.gallery->texturesOf("Door").at(2).id);
}

void TestTextureGallery::reloadAdvancesCounterButKeepsLists()
{
    GalleryHost host({"textures/Ceil/a.png", "textures/Wall/w.png"});
    const QList<TextureEntry> wallsBefore = host.gallery->texturesOf("Wall");
    QCOMPARE(host.gallery->idCounter(), 103);
    // An image added while running is not picked up.
    EditorFixture::writeImage(host.dir.filePath("textures/Wall/new.png"), Qt::blue, 8);
    host.gallery->reloadTextures();
    QCOMPARE(host.gallery->idCounter(), 107);
    QCOMPARE(host.gallery->texturesOf("Wall").size(), wallsBefore.size());
    QCOMPARE(host.gallery->texturesOf("Wall").first().id, wallsBefore.first().id);
    QCOMPARE(host.shownNames(), QStringList{"a.png"});
    QCOMPARE(host.gallery->currentTexture().fileName, QByteArray("a.png"));
}

void TestTextureGallery::findTextureIsCaseSensitive()
{
    GalleryHost host({"textures/Ceil/Brick.png"});
    QCOMPARE(host.gallery->findTexture("Brick.png").fileName, QByteArray("Brick.png"));
    QVERIFY(host.gallery->findTexture("brick.png").isEmpty());
    QCOMPARE(host.gallery->findTexture("brick.png").id, -1);
}

void TestTextureGallery::listWidgetIsAnIconView()
{
    GalleryHost host({});
    QCOMPARE(host.list->viewMode(), QListView::IconMode);
    QCOMPARE(host.list->iconSize(), QSize(60, 60));
}

QTEST_MAIN(TestTextureGallery)
#include "tst_texturegallery.moc"

void TestTextureGallery::namesAMapCannotHoldAreLeftOut()
{
    GalleryHost host({"textures/Wall/a,b.png", "textures/Wall/line\nfeed.png", "textures/Wall/ok.png"});
    QCOMPARE(host.gallery->texturesOf("Wall").size(), 1);
    QCOMPARE(host.gallery->leftOutCount("Wall"), 2);
    host.gallery->selectLayer("Wall");
    // The elided caption aside, the tooltip names the whole file and its folder.
    QCOMPARE(host.list->item(0)->toolTip(), QString("ok.png\ntextures/Wall/"));
}
