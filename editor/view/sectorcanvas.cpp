#include "view/sectorcanvas.h"

#include "view/sectorblock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QPushButton>

#include <algorithm>
#include <climits>
#include <functional>

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
        waiting.push_back({button, button, shown});
    else
        button->setVisible(shown);
}

namespace {

QPoint blockOf(int mapX, int mapY)
{
    return QPoint(qMax(0, mapX) / SectorCanvas::blockCells, qMax(0, mapY) / SectorCanvas::blockCells);
}

quint64 keyOf(const QPoint &block)
{
    return (quint64(quint32(block.x())) << 32) | quint32(block.y());
}

} // namespace

SectorBlock *SectorCanvas::blockFor(int mapX, int mapY)
{
    const QPoint block = blockOf(mapX, mapY);
    const quint64 key = keyOf(block);
    if (SectorBlock *known = blocks.value(key))
        return known;
    auto *made = new SectorBlock(this);
    connect(made, &SectorBlock::cellClicked, this, &SectorCanvas::cellClicked);
    made->setGeometry(blockRect(block));
    // Blocks never overlap; beneath them all, the markers and the stamp stay on top.
    made->lower();
    made->show();
    blocks.insert(key, made);
    return made;
}

QRect SectorCanvas::blockRect(const QPoint &block) const
{
    const int side = blockCells * cellSize;
    return QRect((block.x() * blockCells + origin.x()) * cellSize, (block.y() * blockCells + origin.y()) * cellSize,
                 side, side);
}

void SectorCanvas::setPlacement(const QPoint &newOrigin, int newCellSize)
{
    if (newOrigin == origin && newCellSize == cellSize)
        return;
    origin = newOrigin;
    cellSize = newCellSize;
    for (auto block = blocks.cbegin(); block != blocks.cend(); ++block) {
        const QPoint at(int(block.key() >> 32), int(quint32(block.key())));
        block.value()->setGeometry(blockRect(at));
    }
}

QRect SectorCanvas::visibleCells() const
{
    const int columns = (width() + cellSize - 1) / cellSize;
    const int rows = (height() + cellSize - 1) / cellSize;
    // No cell lies left of column 0 or above row 0.
    return QRect(-origin.x(), -origin.y(), columns, rows).intersected(QRect(0, 0, INT_MAX, INT_MAX));
}

void SectorCanvas::dropEmptyBlocks()
{
    for (auto block = blocks.begin(); block != blocks.end();) {
        if (block.value()->children().isEmpty()) {
            delete block.value();
            block = blocks.erase(block);
        } else {
            ++block;
        }
    }
}

void SectorCanvas::keepSpare(QPushButton *button)
{
    auto *block = qobject_cast<SectorBlock *>(button->parentWidget());
    if (!block || block->parentWidget() != this) {
        button->deleteLater();
        return;
    }
    reveal(button, false);
    block->keepSpare(button);
    ++spares;
}

QPushButton *SectorCanvas::takeSpare(int mapX, int mapY)
{
    SectorBlock *block = blocks.value(keyOf(blockOf(mapX, mapY)));
    QPushButton *spare = block ? block->takeSpare() : nullptr;
    if (spare)
        --spares;
    return spare;
}

void SectorCanvas::dropSpares()
{
    for (SectorBlock *block : std::as_const(blocks))
        spares -= block->dropSpares();
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
    // Sorted by button, the last word is the last of each run (a hash of a
    // zoom's thousand requests cost a tenth of the batch).
    std::vector<Reveal> requests = std::exchange(waiting, {});
    std::stable_sort(requests.begin(), requests.end(),
                     [](const Reveal &a, const Reveal &b) { return std::less<QWidget *>()(a.button, b.button); });
    const auto isLastWord = [&requests](size_t i) {
        return requests[i].alive && (i + 1 == requests.size() || requests[i + 1].button != requests[i].button);
    };
    // Hides first: a cell that changes hands shows one button at a time.
    for (bool shown : {false, true}) {
        for (size_t i = 0; i < requests.size(); ++i) {
            if (requests[i].shown == shown && isLastWord(i))
                requests[i].button->setVisible(shown);
        }
    }
}
