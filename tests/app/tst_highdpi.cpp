// The editor on a screen of twice the density: ctest runs this program with
// QT_SCALE_FACTOR=2, offscreen, and the application set up as the editor's is.
#include "editorfixture.h"

#include "app/highdpi.h"
#include "app/tessel.h"
#include "view/iconcache.h"
#include "view/mapview.h"

#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include <cstdlib>

class TestHighDpi : public QObject
{
    Q_OBJECT

private slots:
    void imageForRatio_data();
    void imageForRatio();
    void cursorAndStampAtTheScreensDensity();
    void cellIconsDoubledPixelByPixel();
};

void TestHighDpi::imageForRatio_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("doubled");   // a "@2x" file lies beside the image
    QTest::addColumn<int>("pixels");     // the result's width in device pixels
    QTest::addColumn<QColor>("colour");  // which file it came from

    QTest::newRow("plain screen") << 1.0 << true << 32 << QColor(Qt::red);
    QTest::newRow("twice the density") << 2.0 << true << 64 << QColor(Qt::blue);
    QTest::newRow("twice, no @2x file") << 2.0 << false << 64 << QColor(Qt::red);
    QTest::newRow("one and a half") << 1.5 << true << 48 << QColor(Qt::blue);
    QTest::newRow("three times") << 3.0 << true << 96 << QColor(Qt::blue);
}

void TestHighDpi::imageForRatio()
{
    QFETCH(qreal, ratio);
    QFETCH(bool, doubled);
    QFETCH(int, pixels);
    QFETCH(QColor, colour);
    QTemporaryDir dir;
    EditorFixture::writeImage(dir.filePath("pencil.png"), Qt::red, 32);
    if (doubled)
        EditorFixture::writeImage(dir.filePath("pencil@2x.png"), Qt::blue, 64);

    const QPixmap image = HighDpi::pixmap(dir.filePath("pencil.png"), ratio);
    QCOMPARE(image.width(), pixels);
    QCOMPARE(image.devicePixelRatio(), ratio);
    // Smooth scaling may shift a solid colour by a step or two.
    const QColor middle = image.toImage().pixelColor(pixels / 2, pixels / 2);
    QVERIFY2(std::abs(middle.red() - colour.red()) < 8 && std::abs(middle.blue() - colour.blue()) < 8,
             qPrintable(middle.name()));
    QVERIFY(HighDpi::pixmap(dir.filePath("missing.png"), ratio).isNull());
}

void TestHighDpi::cursorAndStampAtTheScreensDensity()
{
    EditorFixture editor;
    QCOMPARE(editor.map->devicePixelRatioF(), 2.0);
    // The tool cursors: the denser image, its hot spot the middle in the image's pixels.
    EditorFixture::writeImage(editor.path("assets/bucket@2x.png"), Qt::magenta, 64);
    QTest::mouseClick(editor.window->findChild<QRadioButton *>("radioFloodFill"), Qt::LeftButton);
    const QCursor cursor = editor.view->currentToolCursor();
    QCOMPARE(cursor.pixmap().size(), QSize(64, 64));
    QCOMPARE(cursor.pixmap().devicePixelRatio(), 2.0);
    QCOMPARE(cursor.hotSpot(), QPoint(32, 32));

    // The paste stamp: one cell of 64 logical pixels is 128 of the screen's.
    QTest::mouseClick(editor.window->findChild<QRadioButton *>("radioPencil"), Qt::LeftButton);
    editor.setLayer("Wall");
    editor.paint(0, 0);
    editor.paint(1, 0);
    QTest::mouseClick(editor.window->findChild<QRadioButton *>("radioSelect"), Qt::LeftButton);
    editor.press(0, 0);
    editor.drag(1, 0, Qt::LeftButton);
    editor.release(1, 0);
    QTest::keyClick(editor.window.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(editor.window->findChild<QLabel *>("labelStatus")->text(), QString("2 cell(s) copied"));
    QTest::keyClick(editor.window.get(), Qt::Key_V, Qt::ControlModifier);
    editor.moveTo(3, 3);
    auto *stamp = editor.window->findChild<QLabel *>("stampPreview");
    QVERIFY(stamp && stamp->isVisible());
    const QPixmap picture = stamp->pixmap(Qt::ReturnByValue);
    QCOMPARE(stamp->size(), QSize(128, 64));
    QCOMPARE(picture.size(), QSize(256, 128));
    QCOMPARE(picture.devicePixelRatio(), 2.0);
    // Drawn whole: the second cell's texture reaches its far corner.
    QVERIFY(qAlpha(picture.toImage().pixel(250, 120)) > 0);
}

void TestHighDpi::cellIconsDoubledPixelByPixel()
{
    QTemporaryDir dir;
    QImage texture(64, 64, QImage::Format_RGB32);
    texture.fill(Qt::black);
    texture.setPixel(0, 0, qRgb(255, 255, 255));
    QVERIFY(texture.save(dir.filePath("dot.png")));
    // A 64 pixel cell and the gallery's 60 pixel items on this screen.
    const QImage cell = IconCache::icon(dir.filePath("dot.png")).pixmap(QSize(64, 64)).toImage();
    QCOMPARE(cell.size(), QSize(128, 128));
    for (const QPoint &at : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
        QCOMPARE(cell.pixel(at), qRgb(255, 255, 255));
    QCOMPARE(cell.pixel(2, 2), qRgb(0, 0, 0));
    QCOMPARE(IconCache::icon(dir.filePath("dot.png")).pixmap(QSize(60, 60)).size(), QSize(120, 120));
}

int main(int argc, char *argv[])
{
    HighDpi::prepareApplication();
    QApplication app(argc, argv);
    TestHighDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdpi.moc"
