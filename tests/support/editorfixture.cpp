#include "editorfixture.h"

#include "app/tessel.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "app/dialogs.h"
#include "view/iconcache.h"
#include "view/loadprogress.h"
#include "model/sector.h"
#include "model/mapmodel.h"
#include "view/mapview.h"

#include "document/editingstate.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

namespace {

// The plain message boxes and file dialogs behind Dialogs wait for a person;
// offscreen nobody answers, and a test that meets one (a hook it forgot, or
// code that asks where it should not) hung until its time ran out. This
// fails the test at once with what the dialog says, and closes the dialog.
class DialogGuard : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        auto *box = qobject_cast<QMessageBox *>(watched);
        auto *dialog = box ? static_cast<QDialog *>(box) : qobject_cast<QFileDialog *>(watched);
        if (!dialog)
            return false;
        const QString said = dialog->windowTitle() + (box ? QStringLiteral(": ") + box->text() : QString());
        QTest::qFail(qPrintable(QStringLiteral("a dialog waits for an answer: ") + said), __FILE__, __LINE__);
        QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        return false;
    }
};

} // namespace

QStringList EditorFixture::defaultTextures()
{
    return {"Ceil/ceil_a.png", "Ceil/ceil_b.png", "Floor/floor_a.png", "Floor/floor_b.png",
            "Wall/brick.png", "Wall/stone.png", "Wall/wood.png", "Door/door_a.png", "Door/door_b.png",
            "Actor/soldier.png", "Sprite/barrel.png", "Item/health.png"};
}

EditorFixture::EditorFixture(const QStringList &textures)
    : workspace(textures.isEmpty() ? defaultTextures() : textures)
{
    // Images of an earlier fixture's folder may sit in the cache under the same paths.
    IconCache::clear();
    // Recovery copies and settings go to a test folder, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    dialogGuard = std::make_unique<DialogGuard>();
    QCoreApplication::instance()->installEventFilter(dialogGuard.get());
    // Tests that leave edits unsaved and load another map expect it to go.
    Dialogs::unsavedChoice = [](const QString &, const QString &) { return QMessageBox::Discard; };
    window.reset(new Tessel);
    window->show();
    window->activateWindow();
    // Shortcuts and key events need the window active, as for a user.
    if (!QTest::qWaitForWindowActive(window.get()))
        QTest::qFail("the editor window did not become active", __FILE__, __LINE__);
    view = window->mapView();
    layers = view->layerController();
    gallery = view->textureGallery();
    map = view->mapSurface();
}

EditorFixture::~EditorFixture()
{
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Dialogs::restoreDefaults();
    // A test that stopped early must not leave its load observer to the next one.
    LoadProgress::observer = nullptr;
    IconCache::clear();
}

void EditorFixture::setLayer(const QString &layer)
{
    view->editingState()->setChosenLayer(layer.toUtf8());
}

void EditorFixture::clickButton(const char *objectName) const
{
    QTest::mouseClick(window->findChild<QWidget *>(QString::fromLatin1(objectName)), Qt::LeftButton);
}

void EditorFixture::pickTexture(int row)
{
    auto *list = window->findChild<QListWidget *>("listViewTextures");
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

QPoint EditorFixture::cellCenter(int cx, int cy) const
{
    const int size = view->cellSize();
    return QPoint(cx * size + size / 2, cy * size + size / 2);
}

void EditorFixture::moveTo(int cx, int cy) const
{
    QCursor::setPos(map->mapToGlobal(cellCenter(cx, cy)));
}

QRect EditorFixture::placeOf(const Sector *sector) const
{
    const QWidget *button = sector->data->button;
    return QRect(button->mapTo(window.get(), QPoint()) - map->mapTo(window.get(), QPoint()), button->size());
}

bool EditorFixture::shown(const Sector *sector) const
{
    return sector->data->button && sector->data->button->isVisibleTo(window.get());
}

QList<QPoint> EditorFixture::cellsOf(const QList<Sector *> &sectors)
{
    QList<QPoint> cells;
    for (const Sector *sector : sectors)
        cells << QPoint(sector->data->mapX, sector->data->mapY);
    return cells;
}

QWidget *EditorFixture::targetAt(const QPoint &mapPixel) const
{
    QWidget *top = window.get();
    const QPoint inWindow = map->mapTo(top, mapPixel);
    QWidget *child = top->childAt(inWindow);
    return child ? child : map;
}

void EditorFixture::press(int cx, int cy, Qt::MouseButton button) const
{
    moveTo(cx, cy);
    QWidget *target = targetAt(cellCenter(cx, cy));
    QTest::mousePress(target, button, Qt::NoModifier, target->mapFrom(window.get(), map->mapTo(window.get(), cellCenter(cx, cy))));
}

void EditorFixture::release(int cx, int cy, Qt::MouseButton button) const
{
    moveTo(cx, cy);
    QWidget *target = targetAt(cellCenter(cx, cy));
    QTest::mouseRelease(target, button, Qt::NoModifier, target->mapFrom(window.get(), map->mapTo(window.get(), cellCenter(cx, cy))));
}

void EditorFixture::click(int cx, int cy, Qt::MouseButton button) const
{
    press(cx, cy, button);
    release(cx, cy, button);
}

void EditorFixture::drag(int cx, int cy, Qt::MouseButtons buttons) const
{
    moveTo(cx, cy);
    const QPoint local = cellCenter(cx, cy);
    QMouseEvent move(QEvent::MouseMove, local, map->mapToGlobal(local), Qt::NoButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(map, &move);
}

Sector *EditorFixture::paint(int cx, int cy)
{
    const int before = layers->currentSectors().size();
    click(cx, cy);
    if (layers->currentSectors().size() == before)
        return nullptr;
    return layers->currentSectors().last();
}

Sector *EditorFixture::sectorOn(const QByteArray &layer, int mapX, int mapY) const
{
    for (Sector *sector : layers->layerTable().value(layer)) {
        if (sector->data->mapX == mapX && sector->data->mapY == mapY)
            return sector;
    }
    return nullptr;
}

void EditorFixture::flushDeletes() const
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Sector *EditorFixture::place(int mapX, int mapY)
{
    const QByteArray layer = layers->currentLayer();
    view->mapModel()->placeCell(layer, QPoint(mapX, mapY), gallery->currentTexture());
    return view->mapModel()->sectorAt(layer, mapX, mapY);
}

QString EditorFixture::shownTitle() const
{
    return window->windowTitle().replace(QStringLiteral("[*]"),
                                         window->isWindowModified() ? QStringLiteral("*") : QString());
}
