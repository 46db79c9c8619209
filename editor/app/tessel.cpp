#include "app/tessel.h"

#include "ui_tessel.h"
#include "format/layernames.h"
#include "view/filecontroller.h"
#include "view/findcontroller.h"
#include "view/mapview.h"
#include "view/overviewcontroller.h"
#include "view/propertiescontroller.h"
#include "view/sidewindows.h"
#include "view/texturefoldercontroller.h"
#include "document/recoveryfile.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QLocale>

#include <QKeyEvent>
#include <QShortcut>

Tessel::Tessel(QWidget *parent)
    : QWidget(parent), ui(new Ui::TesselClass)
{
    Prompts::install(&dialogs);
    ui->setupUi(this);
    resize(1124, 768);
    view.reset(new MapView(this, *ui));
    installEventFilter(this);
    // Save As lives on a key of its own; the form has no button for it.
    auto *saveAs = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this);
    connect(saveAs, &QShortcut::activated, view.get(), &MapView::saveMapAs);
    // The preview, the overview and the level check open in windows of their own.
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, view.get(),
            [this]() { view->sideWindows()->openPreview(false); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F5), this), &QShortcut::activated, view.get(),
            [this]() { view->sideWindows()->openPreview(true); });
    connect(new QShortcut(QKeySequence(Qt::Key_F7), this), &QShortcut::activated, view.get(),
            [this]() { view->sideWindows()->openLevelCheck(); });
    overview = std::make_unique<OverviewController>(*view, this);
    connect(new QShortcut(QKeySequence(Qt::Key_F6), this), &QShortcut::activated, overview.get(),
            &OverviewController::open);
    folders = std::make_unique<TextureFolderController>(*view, overview.get());
    finder = std::make_unique<FindController>(*view, this);
    addHistoryKeys();
    // Qt shows "*" in place of the marker while the map has unsaved changes.
    setWindowTitle(QStringLiteral("Tessel[*]"));
}

void Tessel::addHistoryKeys()
{
    // Actions on the window answer whichever of its children has the focus.
    auto *undo = new QAction(this);
    undo->setShortcuts(QKeySequence::Undo);
    undo->setShortcutContext(Qt::WindowShortcut);
    connect(undo, &QAction::triggered, view.get(), &MapView::undo);
    addAction(undo);
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence &key : {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}) {
        if (!redoKeys.contains(key))
            redoKeys.append(key);
    }
    auto *redo = new QAction(this);
    redo->setShortcuts(redoKeys);
    redo->setShortcutContext(Qt::WindowShortcut);
    connect(redo, &QAction::triggered, view.get(), &MapView::redo);
    addAction(redo);
}

void Tessel::offerRecovery()
{
    // Every orphan stays locked until all are decided; one left for later is
    // let go at the end, for the next start.
    for (RecoveryFile::Orphan &orphan : RecoveryFile::orphans()) {
        const QString map = orphan.mapName.isEmpty() ? QStringLiteral("a map not yet saved")
                                                      : QDir::toNativeSeparators(orphan.mapName);
        const auto answer = Prompts::current().askRecover(
            QStringLiteral("Recover unsaved work"),
            QStringLiteral("An editor ended without saving its work on %1; a copy from %2 was kept.\n"
                           "Open the copy? Discard deletes it; Later keeps it for the next start.")
                .arg(map, QLocale().toString(orphan.written, QLocale::ShortFormat)));
        if (answer == QMessageBox::Discard)
            RecoveryFile::discard(orphan);
        else if (answer == QMessageBox::Yes && view->fileController()->settleUnsaved() && view->fileController()->recoverFrom(orphan.mapPath()))
            view->recoveryFile()->adopt(orphan);
    }
}

bool Tessel::openAtStart(const QString &fileName)
{
    return view->fileController()->settleUnsaved() && view->fileController()->loadMapFile(fileName);
}

void Tessel::closeEvent(QCloseEvent *event)
{
    if (view && !view->fileController()->settleUnsaved()) {
        event->ignore();
        return;
    }
    // A form left open would keep the program running on an invisible map.
    // (The recovery copy goes with the map view, at a normal end only.)
    if (view)
        view->propertiesController()->closeForm();
    event->accept();
}

Tessel::~Tessel()
{
    finder.reset();
    // The map view's sectors own buttons that live on this window's widgets.
    view.reset();
    // Another window may have installed its own since.
    if (&Prompts::current() == &dialogs)
        Prompts::install(nullptr);
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
