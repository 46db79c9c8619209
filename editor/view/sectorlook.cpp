#include "view/sectorlook.h"

#include "model/sector.h"
#include "view/iconcache.h"
#include "view/sectorbutton.h"

#include <QPushButton>

namespace SectorLook {

void refresh(Sector *sector)
{
    if (!sector || !sector->data || !sector->data->button)
        return;
    QPushButton *button = sector->data->button;
    button->setIcon(IconCache::icon(sector->imagePath(), sector->look()));
    if (auto *cell = qobject_cast<SectorButton *>(button))
        cell->redrawOnHolder();
}

void showImage(Sector *sector, const QString &path)
{
    const QPushButton *button = sector->data->button;
    if (path == sector->imagePath() && button && !button->icon().isNull())
        return;
    sector->setImagePath(path);
    refresh(sector);
}

void setLook(Sector *sector, const QColor &tint)
{
    if (tint == sector->look())
        return;
    sector->setLookColour(tint);
    // A button out of sight is drawn again when it comes into sight.
    const QPushButton *button = sector->data->button;
    if (button && (sector->inSight() || !button->isHidden()))
        refresh(sector);
}

} // namespace SectorLook
