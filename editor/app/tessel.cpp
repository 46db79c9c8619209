#include "app/tessel.h"

#include "ui_tessel.h"
#include "model/layernames.h"
#include "view/mapview.h"

#include <QKeyEvent>
#include <QShortcut>

Tessel::Tessel(QWidget *parent)
    : QWidget(parent), ui(new Ui::TesselClass)
{
    ui->setupUi(this);
    resize(1124, 768);
    view.reset(new MapView(this, *ui));
    installEventFilter(this);
    // Save As lives on a key of its own; the form has no button for it.
    auto *saveAs = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this);
    connect(saveAs, &QShortcut::activated, view.get(), &MapView::saveMapAs);
    // The preview and the level check open in windows of their own.
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, view.get(),
            [this]() { view->openPreview(false); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F5), this), &QShortcut::activated, view.get(),
            [this]() { view->openPreview(true); });
    connect(new QShortcut(QKeySequence(Qt::Key_F7), this), &QShortcut::activated, view.get(),
            &MapView::openLevelCheck);
}

Tessel::~Tessel()
{
    // The map view's sectors own buttons that live on this window's widgets.
    view.reset();
}

bool Tessel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this && view) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Shift)
                view->beginTemporaryLayer(LayerNames::Wall, QStringLiteral("Temporary editing Walls layer"));
            else if (key == Qt::Key_Control)
                view->beginTemporaryLayer(LayerNames::Door, QStringLiteral("Temporary editing Doors layer"));
            break;
        }
        case QEvent::KeyRelease: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Shift || key == Qt::Key_Control)
                view->endTemporaryLayer();
            break;
        }
        case QEvent::WindowDeactivate:
            // A dialog or another window takes the keyboard: the key release will
            // never arrive here, so the temporary layer ends now.
            if (view->temporaryLayerActive())
                view->endTemporaryLayer();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
