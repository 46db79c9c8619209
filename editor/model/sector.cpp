#include "model/sector.h"

#include <QPushButton>

Sector::Sector(const SectorData &values, QObject *parent)
    : QObject(parent), record(values), ownedButton(values.button)
{
}

Sector::~Sector()
{
    delete ownedButton.data();
}

void Sector::attachButton(QPushButton *button)
{
    delete ownedButton.data();
    data->button = button;
    ownedButton = button;
}

void Sector::releaseButton()
{
    delete takeButton();
}

QPushButton *Sector::takeButton()
{
    QPushButton *button = ownedButton.data();
    ownedButton.clear();
    data->button = nullptr;
    sighted = false;
    return button;
}

void Sector::setLighting(const SectorLighting &lighting)
{
    data->lighting = lighting;
}

void Sector::setMouseTransparent(bool transparent)
{
    if (data->button)
        data->button->setAttribute(Qt::WA_TransparentForMouseEvents, transparent);
}

void Sector::setSubtype(const QByteArray &subtype)
{
    data->subtype = subtype;
}

void Sector::setTexture(const TextureEntry &texture)
{
    data->texture = texture;
}

void Sector::setWorldPosition(double x, double y, const QSize &buttonSize)
{
    data->worldX = x;
    data->worldY = y;
    if (!data->button)
        return;
    // World positions are places on the map; the editor may hold the button
    // on a block of cells laid over the map, with places of its own.
    QPoint at{int(x), int(y)};
    const QWidget *holder = data->button->parentWidget();
    if (holder && holder->inherits("SectorBlock"))
        at -= holder->pos();
    // A zoom moves and resizes at once: one geometry change repaints the old
    // and the new place once, where a move and then a resize did it twice.
    if (buttonSize.isValid())
        data->button->setGeometry(QRect(at, buttonSize));
    else
        data->button->move(at);
}
