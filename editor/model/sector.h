#pragma once

#include "model/sectordata.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QString>

// One filled cell of one layer. Owns its record, and through it the button.
class Sector : public QObject
{
    Q_OBJECT

public:
    explicit Sector(SectorData *data, QObject *parent = nullptr);
    ~Sector() override;

    SectorData *data = nullptr;

    void setLighting(const SectorLighting &lighting);
    void setMouseTransparent(bool transparent);
    void setSubtype(const QByteArray &subtype);
    void setTexture(const TextureEntry &texture);
    void setWorldPosition(double x, double y);

    // The button shows the image at this path, tinted by the look.
    void showImage(const QString &path);
    QString imagePath() const { return shownPath; }
    // An invalid colour is the plain look (no tint).
    void setLook(const QColor &tint);
    QColor look() const { return tint; }

    // Set as soon as the sector is scheduled for deletion, so that holders of a
    // QPointer see the removal before the event loop destroys it.
    void markRemoved() { removed = true; }
    bool isRemoved() const { return removed; }

private:
    void refreshIcon();

    // The button may already be gone with its window when a deferred delete runs.
    QPointer<QPushButton> ownedButton;
    QString shownPath;
    QColor tint;
    bool removed = false;
};
