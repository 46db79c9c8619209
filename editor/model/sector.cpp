#include "model/sector.h"

#include <QPushButton>

Sector::Sector(SectorData *record, QObject *parent)
    : QObject(parent), data(record), ownedButton(record ? record->button : nullptr)
{
}

Sector::~Sector()
{
    if (data) {
        delete ownedButton.data();
        delete data;
    }
}

void Sector::attachButton(QPushButton *button)
{
    if (!data)
        return;
    delete ownedButton.data();
    data->button = button;
    ownedButton = button;
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

void Sector::setWorldPosition(double x, double y)
{
    data->worldX = x;
    data->worldY = y;
    if (data->button)
        data->button->move(int(x), int(y));
}
