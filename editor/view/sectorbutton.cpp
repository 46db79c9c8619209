#include "view/sectorbutton.h"

#include "view/highdpi.h"
#include "view/sectorblock.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionButton>

#include <unordered_map>

namespace {

// QIcon::pixmap builds a string key and searches Qt's pixmap cache on every
// call, which cost a tenth of a zoom; thousands of cells share a few icons,
// so their faces are kept by the icon's own key. A face is what QIcon::pixmap
// gave for that icon, size and ratio, so it is the same picture.
QPixmap faceOf(const QIcon &icon, const QSize &size, const QWidget *widget, const QPainter &painter)
{
    struct Key
    {
        qint64 icon;
        QSize size;
        qreal ratio;
        bool operator==(const Key &other) const
        {
            return icon == other.icon && size == other.size && ratio == other.ratio;
        }
    };
    struct KeyHash
    {
        size_t operator()(const Key &key) const
        {
            return std::hash<qint64>()(key.icon) ^ (size_t(key.size.width()) << 20) ^ size_t(key.size.height())
                ^ std::hash<qreal>()(key.ratio);
        }
    };
    static std::unordered_map<Key, QPixmap, KeyHash> faces;
    const Key key{icon.cacheKey(), size, HighDpi::iconRatio(widget, painter)};
    const auto found = faces.find(key);
    if (found != faces.end())
        return found->second;
    // Icons of textures that are gone leave their faces behind; a few hundred
    // are plenty for every texture, tint and zoom in use.
    if (faces.size() >= 1024)
        faces.clear();
    const QPixmap face = HighDpi::iconPixmap(icon, size, widget, painter);
    faces.emplace(key, face);
    return face;
}

bool isFusion(const QStyle *style)
{
    static QPointer<const QStyle> asked;
    static bool fusion = false;
    if (asked != style) {
        asked = style;
        fusion = style->inherits("QFusionStyle");
    }
    return fusion;
}

} // namespace

SectorButton::SectorButton(QWidget *parent) : QPushButton(parent)
{
    // A cell is never a dialog's default button; left automatic, the question
    // walks up every parent each time the cell is drawn.
    setAutoDefault(false);
    followHolder();
}

// On a block the block draws it; anywhere else it draws itself.
void SectorButton::followHolder()
{
    setUpdatesEnabled(!qobject_cast<SectorBlock *>(parentWidget()));
}

void SectorButton::redrawOnHolder()
{
    QWidget *holder = parentWidget();
    if (!holder)
        return;
    const QRect now = isVisible() ? geometry() : QRect();
    holder->update(drawnAt.united(now));
    drawnAt = now;
}

bool SectorButton::event(QEvent *event)
{
    const bool handled = QPushButton::event(event);
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ZOrderChange:
        redrawOnHolder();
        break;
    case QEvent::ParentChange:
        drawnAt = QRect();
        followHolder();
        break;
    default:
        break;
    }
    return handled;
}

void SectorButton::changeEvent(QEvent *event)
{
    QPushButton::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::LayoutDirectionChange:
        redrawOnHolder();
        break;
    default:
        break;
    }
}

void SectorButton::mousePressEvent(QMouseEvent *event)
{
    draggedAway = false;
    if (event->modifiers() & Qt::AltModifier) {
        event->ignore();
        return;
    }
    QPushButton::mousePressEvent(event);
    redrawOnHolder();
}

// The base class takes the move that leaves the button to draw itself released,
// so the Pencil would never see the first cell of the drag.
void SectorButton::mouseMoveEvent(QMouseEvent *event)
{
    const bool wasDown = isDown();
    if (!(event->buttons() & Qt::LeftButton)) {
        QPushButton::mouseMoveEvent(event);
    } else {
        if (!draggedAway && !rect().contains(event->pos())) {
            draggedAway = true;
            setDown(false);
        }
        if (draggedAway)
            event->ignore();
        else
            QPushButton::mouseMoveEvent(event);
    }
    if (isDown() != wasDown)
        redrawOnHolder();
}

// A click is told to the block rather than through a connection of its own:
// one per cell cost a third of each button's memory.
void SectorButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (draggedAway && event->button() == Qt::LeftButton)
        setDown(false);
    // What the base class asks before it clicks.
    const bool clicks = event->button() == Qt::LeftButton && isDown() && hitButton(event->pos());
    QPushButton::mouseReleaseEvent(event);
    draggedAway = false;
    redrawOnHolder();
    if (auto *block = qobject_cast<SectorBlock *>(parentWidget()); block && clicks)
        emit block->cellClicked();
}

// Asked for every cell drawn, so the costly parts are asked cheaply: a cell
// has no focus proxy (hasFocus walks up to the window first), and the style
// rarely changes.
bool SectorButton::atRest() const
{
    return isFlat() && !isDown() && !isChecked() && QApplication::focusWidget() != this && isEnabled()
        && text().isEmpty() && !menu() && !isDefault() && !autoDefault() && layoutDirection() == Qt::LeftToRight
        && !icon().isNull() && isFusion(style());
}

void SectorButton::draw(QPainter &painter, const QPoint &at) const
{
    if (atRest())
        drawFace(painter, at);
    else
        drawWhole(painter, at);
}

// At rest the icon goes exactly where the style puts it: centred in the button
// less its frame, with the same integer rounding.
void SectorButton::drawFace(QPainter &painter, const QPoint &at) const
{
    const QPixmap face = faceOf(icon(), iconSize(), this, painter);
    const QSize faceSize = (QSizeF(face.size()) / face.devicePixelRatio()).toSize();
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const QRect inside = rect().adjusted(frame, frame, -frame, -frame);
    painter.drawPixmap(QRect(at.x() + inside.x() + (inside.width() - faceSize.width()) / 2,
                             at.y() + inside.y() + (inside.height() - faceSize.height()) / 2, faceSize.width(),
                             faceSize.height()),
                       face);
}

void SectorButton::drawWhole(QPainter &painter, const QPoint &at) const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect.translate(at);
    painter.save();
    style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
    painter.restore();
}

// Reached when the button is drawn on its own (grabbed, or given an effect);
// on the map its holder draws it.
void SectorButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    draw(painter, QPoint());
}
