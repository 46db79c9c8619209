#pragma once

#include "document/mapdocument.h"
#include "format/layernames.h"
#include "model/layertable.h"
#include "model/mapmodel.h"

#include <QFile>
#include <QStandardPaths>

#include <memory>

// A map document without any window: the model, its history and its recovery
// copy, which it writes as one line per cell so that a test can read it back.
class DocumentFixture
{
public:
    DocumentFixture()
    {
        QStandardPaths::setTestModeEnabled(true);
        document = std::make_unique<MapDocument>(
            [this](const QString &path, const LayerTable &table, const QList<QByteArray> &) {
                if (!writerFailure.isEmpty())
                    return writerFailure;
                QFile file(path);
                if (!file.open(QIODevice::WriteOnly))
                    return file.errorString();
                file.write(QByteArray::number(table.sectorCount()));
                return QString();
            });
    }

    MapModel *model() const { return document->model(); }
    void paint(int x, int y, const QByteArray &layer = LayerNames::Wall)
    {
        model()->placeCell(layer, QPoint(x, y), TextureEntry{"brick.png", "textures/Wall/", 1});
    }
    int cells(const QByteArray &layer = LayerNames::Wall) const { return model()->sectorsOf(layer).size(); }

    QString writerFailure;
    std::unique_ptr<MapDocument> document;
};
