#include "assetcatalogue.h"

#include "appiconart.h"
#include "ceilingart.h"
#include "doorart.h"
#include "figureart.h"
#include "floorart.h"
#include "interfaceart.h"
#include "itemart.h"
#include "propart.h"
#include "wallart.h"

namespace {

// Key colours shared by key doors and keys, so a key matches its door.
const QColor Blue(40, 90, 230);
const QColor Red(220, 35, 35);
const QColor Green(40, 190, 60);
const QColor Yellow(245, 205, 30);

void addTextures(QVector<Asset> &assets, const QString &layer,
                 const QVector<QPair<QString, std::function<QImage()>>> &images)
{
    for (const auto &image : images)
        assets.append({"textures/" + layer + "/" + image.first + ".png", image.second});
}

} // namespace

QStringList AssetCatalogue::textureLayers()
{
    return {"Ceil", "Floor", "Wall", "Door", "Actor", "Sprite", "Item"};
}

QVector<Asset> AssetCatalogue::all()
{
    QVector<Asset> assets;
    // Qt picks "name@2x.ext" beside an image on screens of twice the density.
    for (int size : {16, 32, 48, 64}) {
        const QString name = QString("assets/bg%1x%1").arg(size);
        assets.append({name + ".jpg", [size] { return InterfaceArt::gridTile(size); }});
        assets.append({name + "@2x.jpg", [size] { return InterfaceArt::gridTile(size, 2); }});
    }
    assets.append({"assets/pencil.png", [] { return InterfaceArt::pencilCursor(); }});
    assets.append({"assets/pencil@2x.png", [] { return InterfaceArt::pencilCursor(2); }});
    assets.append({"assets/bucket.png", [] { return InterfaceArt::bucketCursor(); }});
    assets.append({"assets/bucket@2x.png", [] { return InterfaceArt::bucketCursor(2); }});
    assets.append({"assets/lamp.png", &InterfaceArt::lamp});

    addTextures(assets, "Ceil", {{"panels", &CeilingArt::panels}, {"grate", &CeilingArt::grate},
                                 {"beams", &CeilingArt::beams}, {"lights", &CeilingArt::lights},
                                 {"concrete", &CeilingArt::concrete}});
    addTextures(assets, "Floor", {{"tiles", &FloorArt::tiles}, {"planks", &FloorArt::planks},
                                  {"carpet", &FloorArt::carpet}, {"slabs", &FloorArt::slabs},
                                  {"diamond", &FloorArt::diamond}});
    addTextures(assets, "Wall", {{"brick", &WallArt::brick}, {"stone", &WallArt::stone},
                                 {"wood", &WallArt::wood}, {"metal", &WallArt::metal},
                                 {"tech", &WallArt::tech}});
    addTextures(assets, "Door", {{"wood", &DoorArt::wood}, {"metal", &DoorArt::metal},
                                 {"bluekey", [] { return DoorArt::keyDoor(Blue); }},
                                 {"redkey", [] { return DoorArt::keyDoor(Red); }},
                                 {"greenkey", [] { return DoorArt::keyDoor(Green); }},
                                 {"yellowkey", [] { return DoorArt::keyDoor(Yellow); }}});
    addTextures(assets, "Actor", {{"soldier", &FigureArt::soldier}, {"shotgunner", &FigureArt::shotgunner},
                                  {"machinegunner", &FigureArt::machinegunner}, {"player", &FigureArt::player}});
    addTextures(assets, "Sprite", {{"barrel", &PropArt::barrel}, {"plant", &PropArt::plant},
                                   {"lamppost", &PropArt::lamppost}, {"pillar", &PropArt::pillar}});
    addTextures(assets, "Item", {{"health", &ItemArt::health}, {"armor", &ItemArt::armor},
                                 {"ammo", &ItemArt::ammo}, {"shotgun", &ItemArt::shotgun},
                                 {"bluekey", [] { return ItemArt::key(Blue); }},
                                 {"redkey", [] { return ItemArt::key(Red); }},
                                 {"greenkey", [] { return ItemArt::key(Green); }},
                                 {"yellowkey", [] { return ItemArt::key(Yellow); }}});
    return assets;
}

QVector<Asset> AssetCatalogue::icons()
{
    QVector<Asset> assets;
    for (int size : AppIconArt::sizes()) {
        const QString folder = QString("hicolor/%1x%1/apps/").arg(size);
        assets.append({folder + "tessel.png", [size] { return AppIconArt::editor(size); }});
        assets.append({folder + "tessel-launcher.png", [size] { return AppIconArt::launcher(size); }});
    }
    return assets;
}
