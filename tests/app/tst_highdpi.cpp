// The editor on a screen of twice the density: ctest runs this program with
// QT_SCALE_FACTOR=2, offscreen, and the application set up as the editor's is.
#include "buttonlooks.h"
#include "editorfixture.h"

#include "view/highdpi.h"
#include "app/tessel.h"
#include "view/iconcache.h"
#include "view/mapview.h"

#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

class TestHighDpi : public QObject
{
    Q_OBJECT

private slots:
    void imageForRatio_data();
    void imageForRatio();
    void drawnAtTwiceThePixels();
};

void TestHighDpi::imageForRatio_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("doubled");  // a "@2x" file (blue) lies beside the red image
    QTest::addColumn<int>("blue");
    QTest::newRow("plain screen") << 1.0 << true << 0;
    QTest::newRow("twice the density") << 2.0 << true << 255;
    QTest::newRow("twice, no @2x file") << 2.0 << false << 0;
    QTest::newRow("one and a half") << 1.5 << true << 255;
}

void TestHighDpi::imageForRatio()
{
    QFETCH(qreal, ratio);
    QFETCH(bool, doubled);
    QFETCH(int, blue);
    QTemporaryDir dir;
    EditorFixture::writeImage(dir.filePath("pencil.png"), Qt::red, 32);
    if (doubled)
        EditorFixture::writeImage(dir.filePath("pencil@2x.png"), Qt::blue, 64);
    const QPixmap image = HighDpi::pixmap(dir.filePath("pencil.png"), ratio);
    QCOMPARE(image.width(), qRound(32 * ratio));
    QCOMPARE(image.devicePixelRatio(), ratio);
    QVERIFY(qAbs(image.toImage().pixelColor(image.width() / 2, image.width() / 2).blue() - blue) < 8);
    QVERIFY(HighDpi::pixmap(dir.filePath("missing.png"), ratio).isNull());
}

void TestHighDpi::drawnAtTwiceThePixels()
{
    EditorFixture editor;
    // The tool cursor: the denser image, its hot spot the middle of its pixels as X takes it.
    EditorFixture::writeImage(editor.path("assets/bucket@2x.png"), Qt::magenta, 64);
    editor.clickButton("radioFloodFill");
    const QCursor cursor = editor.view->currentToolCursor();
    QCOMPARE(cursor.pixmap().size(), QSize(64, 64));
    QCOMPARE(cursor.pixmap().devicePixelRatio(), 2.0);
    QCOMPARE(cursor.hotSpot(), QPoint(32, 32));

    // A cell's icon doubled pixel by pixel, not stretched smoothly.
    QImage dot(64, 64, QImage::Format_RGB32);
    dot.fill(Qt::black);
    dot.setPixel(0, 0, qRgb(255, 255, 255));
    QVERIFY(dot.save(editor.path("dot.png")));
    const QImage icon = IconCache::icon(editor.path("dot.png")).pixmap(QSize(64, 64)).toImage();
    QCOMPARE(icon.size(), QSize(128, 128));
    QCOMPARE(icon.pixel(1, 1), qRgb(255, 255, 255));
    QCOMPARE(icon.pixel(2, 2), qRgb(0, 0, 0));
    // A cell button draws that copy as the style would, at rest and pressed.
    for (bool down : {false, true}) {
        const auto drawn = drawnByCellAndStyle(IconCache::icon(editor.path("dot.png")), 48, down, true);
        QCOMPARE(drawn.first, drawn.second);
    }

    // The paste stamp of two cells: 128 x 64 logical pixels, 256 x 128 of the screen's.
    editor.clickButton("radioPencil");
    editor.paint(0, 0);
    editor.paint(1, 0);
    editor.clickButton("radioSelect");
    editor.press(0, 0);
    editor.drag(1, 0, Qt::LeftButton);
    editor.release(1, 0);
    QTest::keyClick(editor.window.get(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(editor.window.get(), Qt::Key_V, Qt::ControlModifier);
    editor.moveTo(3, 3);
    auto *stamp = editor.window->findChild<QLabel *>("stampPreview");
    QVERIFY(stamp && stamp->isVisible());
    const QPixmap picture = stamp->pixmap(Qt::ReturnByValue);
    QCOMPARE(stamp->size(), QSize(128, 64));
    QCOMPARE(picture.size(), QSize(256, 128));
    QVERIFY(qAlpha(picture.toImage().pixel(250, 120)) > 0);
}

int main(int argc, char *argv[])
{
    HighDpi::prepareApplication();
    QApplication app(argc, argv);
    TestHighDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdpi.moc"
