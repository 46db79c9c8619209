#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QStringList>

// "tessel-map render LEVEL.map -o level.png": the map as a picture.
class RenderCommand
{
public:
    int run(const QStringList &arguments);

private:
    static bool chooseLayers(const QString &text, QList<QByteArray> *layers);
    static bool write(const QImage &picture, const QString &output, const QString &input);
};
