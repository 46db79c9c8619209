#pragma once

#include <QStringList>

class MapInput;

// "tessel-map info LEVEL.map": what a map holds, for a quick look or a script.
class InfoCommand
{
public:
    int run(const QStringList &arguments);

private:
    static QString describe(const MapInput &input);
    static QString cellCounts(const MapInput &input);
    static QString subtypes(const MapInput &input);
    static QString lights(const MapInput &input);
    static QString textures(const MapInput &input);
};
