#include "view/sectorcanvas.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>

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
    if (parentWidget() == map)
        setGeometry(QRect(QPoint(0, 0), map->size()));
    else
        setGeometry(map->geometry());
    raise();
    if (batchDepth == 0)
        setVisible(!map->isHidden());
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

void SectorCanvas::beginBatch(int newButtons)
{
    if (batchDepth++ > 0)
        return;
    // One show() per new button against one re-show of every visible button.
    // With the pointer over the canvas each show() also searches the buttons
    // under it for the one to send Enter to (seconds for a fill of 999 cells on
    // a 50,000-cell map under X11), so then the canvas is hidden after all.
    const bool pointerOver = rect().contains(mapFromGlobal(QCursor::pos()));
    keptVisible = newButtons >= 0 && qint64(newButtons) * 8 < children().size() && !pointerOver;
    if (!keptVisible)
        hide();
}

void SectorCanvas::reveal(QWidget *button, bool shown)
{
    if (shown && batchDepth > 0 && keptVisible)
        revealLater.append(button);
    else
        button->setVisible(shown);
}

void SectorCanvas::endBatch()
{
    if (batchDepth == 0 || --batchDepth > 0)
        return;
    // Polish the new buttons together; one posted request per button otherwise
    // makes every show scan the whole event queue.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::PolishRequest);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::Polish);
    if (keptVisible) {
        keptVisible = false;
        const QList<QPointer<QWidget>> buttons = std::exchange(revealLater, {});
        for (const QPointer<QWidget> &button : buttons) {
            if (button)
                button->show();
        }
        return;
    }
    if (map && !map->isHidden())
        show();
}
