#include "view/sectorcanvas.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QHash>

#include <utility>

SectorCanvas *SectorCanvas::forMap(QWidget *mapWidget)
{
    if (!mapWidget)
        return nullptr;
    QWidget *host = mapWidget->parentWidget() ? mapWidget->parentWidget() : mapWidget;
    const auto canvases = host->findChildren<SectorCanvas *>(QString(), Qt::FindDirectChildrenOnly);
    for (SectorCanvas *canvas : canvases) {
        if (canvas->map == mapWidget)
            return canvas;
    }
    return new SectorCanvas(mapWidget);
}

SectorCanvas::SectorCanvas(QWidget *mapWidget)
    : QWidget(mapWidget->parentWidget() ? mapWidget->parentWidget() : mapWidget), map(mapWidget)
{
    setObjectName(QStringLiteral("sectorCanvas"));
    setAttribute(Qt::WA_NoSystemBackground);
    mapWidget->installEventFilter(this);
    followMapWidget();
}

void SectorCanvas::followMapWidget()
{
    if (!map)
        return;
    const QSize was = size();
    if (parentWidget() == map)
        setGeometry(QRect(QPoint(0, 0), map->size()));
    else
        setGeometry(map->geometry());
    raise();
    if (batchDepth == 0)
        setVisible(!map->isHidden());
    if (size() != was)
        emit resized();
}

bool SectorCanvas::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == map) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            followMapWidget();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SectorCanvas::beginBatch()
{
    ++batchDepth;
}

void SectorCanvas::reveal(QWidget *button, bool shown)
{
    if (batchDepth > 0)
        waiting.append({button, shown});
    else
        button->setVisible(shown);
}

int SectorCanvas::shownButtons() const
{
    int shown = 0;
    for (const QObject *child : children()) {
        if (child->isWidgetType() && !static_cast<const QWidget *>(child)->isHidden())
            ++shown;
    }
    return shown;
}

// Showing a button on a shown canvas costs about what showing it again with
// the canvas does, except with the pointer over the canvas: then every show()
// also searches all the canvas's buttons for the one under the pointer to send
// Enter to (seconds for a thousand buttons on a 50,000-cell map under X11).
bool SectorCanvas::showsOneByOne(int shows) const
{
    if (shows <= 4 || isHidden())
        return true;
    if (rect().contains(mapFromGlobal(QCursor::pos())))
        return false;
    return shows < shownButtons();
}

void SectorCanvas::endBatch()
{
    if (batchDepth == 0 || --batchDepth > 0)
        return;
    // Polish the new buttons together; one posted request per button otherwise
    // makes every show scan the whole event queue.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::PolishRequest);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::Polish);
    // The last word on each button counts; one that died meanwhile has none.
    QHash<QWidget *, bool> wanted;
    for (const auto &request : std::exchange(waiting, {})) {
        if (request.first)
            wanted.insert(request.first, request.second);
    }
    int shows = 0;
    for (bool shown : qAsConst(wanted))
        shows += shown ? 1 : 0;
    const bool wholeCanvas = !showsOneByOne(shows);
    if (wholeCanvas)
        hide();
    // Hides first: a cell that changes hands shows one button at a time.
    for (bool shown : {false, true}) {
        for (auto button = wanted.cbegin(); button != wanted.cend(); ++button) {
            if (button.value() == shown)
                button.key()->setVisible(shown);
        }
    }
    if (wholeCanvas && map && !map->isHidden())
        show();
}
