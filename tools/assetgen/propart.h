#pragma once

#include <QImage>

// Sprite images: free-standing decorations on a transparent background.
class PropArt
{
public:
    static QImage barrel();
    static QImage plant();
    static QImage lamppost();
    static QImage pillar();
};
