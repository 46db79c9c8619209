#include "view/sectorcanvas.h"

#include <QCoreApplication>
#include <QEvent>

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

void SectorCanvas::beginBatch()
{
    if (batchDepth++ == 0)
        hide();
}

void SectorCanvas::endBatch()
{
    if (batchDepth == 0 || --batchDepth > 0)
        return;
    // Polish the new buttons together; one posted request per button otherwise
    // makes every show scan the whole event queue.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::PolishRequest);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::Polish);
    if (map && !map->isHidden())
        show();
}
