#pragma once

#include <QColor>
#include <QImage>

// Actor images: front-facing figures on a transparent background, and the
// player's start marker.
class FigureArt
{
public:
    static QImage soldier();
    static QImage shotgunner();
    static QImage machinegunner();
    static QImage player();

private:
    struct Outfit
    {
        QColor uniform;
        QColor helmet;
        QColor trim;
        int gunLength;   // the weapon held across the chest
        int gunHeight;
        int bulk;        // extra width of shoulders and arms
        bool bandolier;  // an ammunition belt across the chest
    };
    static QImage figure(const Outfit &outfit);
};
