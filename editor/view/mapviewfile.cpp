// Saving and loading the map from the window's buttons.
#include "view/mapview.h"

#include "app/tessel.h"

void MapView::BtnSaveMapEvent()
{
}

void MapView::BtnLoadMapEvent()
{
}
