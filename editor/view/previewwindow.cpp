#include "view/previewwindow.h"

#include "ui_previewwindow.h"

#include <QKeyEvent>
#include <QPainter>

namespace {

const double walkSpeed = 2.5; // cells a second
const double turnSpeed = 2.2; // radians a second
const double fastFactor = 2.0;

} // namespace

PreviewWindow::PreviewWindow(RecordSource recordSource, QWidget *parent)
    : QWidget(parent, Qt::Window), ui(new Ui::PreviewWindow), source(std::move(recordSource))
{
    ui->setupUi(this);
    setFocusPolicy(Qt::StrongFocus);
    ui->previewView->installEventFilter(this);
    ui->previewView->setAttribute(Qt::WA_OpaquePaintEvent);
    frames.setInterval(16);
    connect(&frames, &QTimer::timeout, this, &PreviewWindow::tick);
    clock.start();
    renderFrame();
}

PreviewWindow::~PreviewWindow() = default;

QString PreviewWindow::cellText(const QPoint &cell)
{
    return QStringLiteral("Map X %1, Map Y %2").arg(cell.x()).arg(cell.y());
}

void PreviewWindow::placeCamera(const QPoint &cell)
{
    if (worldStale) {
        world.rebuild(source ? source() : QVector<PreviewWorld::Record>());
        worldStale = false;
    }
    eye = PreviewCamera::standingIn(world, cell.x(), cell.y());
    renderFrame();
}

void PreviewWindow::placeAtPlayerStart(const QPoint &fallback)
{
    world.rebuild(source ? source() : QVector<PreviewWorld::Record>());
    worldStale = false;
    QPoint start = fallback;
    world.playerStart(&start.rx(), &start.ry());
    placeCamera(start);
}

void PreviewWindow::mapChanged()
{
    worldStale = true;
    keepTicking();
}

void PreviewWindow::imagesChanged()
{
    world.forgetTextures();
    mapChanged();
}

void PreviewWindow::keepTicking()
{
    if (!frames.isActive()) {
        lastTick = clock.elapsed();
        frames.start();
    }
}

bool PreviewWindow::moving() const
{
    static const int movementKeys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right,
                                       Qt::Key_W,  Qt::Key_S,    Qt::Key_A,    Qt::Key_D};
    for (int key : movementKeys) {
        if (held.contains(key))
            return true;
    }
    return false;
}

void PreviewWindow::tick()
{
    const qint64 now = clock.elapsed();
    step(qMin(0.1, (now - lastTick) / 1000.0));
    lastTick = now;
    renderFrame();
    if (!moving() && !world.hasAnimatedLights() && !worldStale)
        frames.stop();
}

void PreviewWindow::step(double seconds)
{
    const double speed = (held.contains(Qt::Key_Shift) ? fastFactor : 1.0) * seconds;
    const auto down = [this](int a, int b) { return held.contains(a) || held.contains(b); };
    const double forward = (down(Qt::Key_Up, Qt::Key_W) ? 1 : 0) - (down(Qt::Key_Down, Qt::Key_S) ? 1 : 0);
    const double sideways = (held.contains(Qt::Key_D) ? 1 : 0) - (held.contains(Qt::Key_A) ? 1 : 0);
    const double turning = (held.contains(Qt::Key_Right) ? 1 : 0) - (held.contains(Qt::Key_Left) ? 1 : 0);
    eye.turn(turning * turnSpeed * speed);
    if (forward != 0 || sideways != 0)
        eye.walk(world, forward * walkSpeed * speed, sideways * walkSpeed * speed);
}

void PreviewWindow::renderFrame()
{
    if (worldStale) {
        world.rebuild(source ? source() : QVector<PreviewWorld::Record>());
        worldStale = false;
    }
    raycaster.render(world, eye, clock.elapsed() / 1000.0, image);
    showCameraCell();
    ui->previewView->update();
}

void PreviewWindow::showCameraCell()
{
    const QPoint cell = cameraCell();
    if (cell == shownCell)
        return;
    shownCell = cell;
    ui->labelPreviewCell->setText(cellText(cell));
    emit cameraCellChanged(cell);
}

bool PreviewWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->previewView && event->type() == QEvent::Paint) {
        QPainter painter(ui->previewView);
        painter.drawImage(ui->previewView->rect(), image);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void PreviewWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (!event->isAutoRepeat())
        held.insert(event->key());
    keepTicking();
}

void PreviewWindow::keyReleaseEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat())
        held.remove(event->key());
}

void PreviewWindow::focusOutEvent(QFocusEvent *event)
{
    // The releases will not arrive here any more.
    held.clear();
    QWidget::focusOutEvent(event);
}
