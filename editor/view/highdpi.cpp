#include "view/highdpi.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QWidget>
#include <QWindow>

#include <cmath>

namespace HighDpi {

void prepareApplication()
{
#if QT_VERSION_MAJOR < 6
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
}

QPixmap pixmap(const QString &path, qreal ratio)
{
    const QFileInfo plain(path);
    const QString doubled = plain.path() + QLatin1Char('/') + plain.completeBaseName() + QStringLiteral("@2x.")
        + plain.suffix();
    QPixmap image;
    if (ratio > 1.0 && image.load(doubled)) {
        image.setDevicePixelRatio(2.0);
    } else if (!image.load(path)) {
        return QPixmap();
    }
    if (image.devicePixelRatio() == ratio)
        return image;
    const QSizeF logical = QSizeF(image.size()) / image.devicePixelRatio();
    const QSize device(int(std::lround(logical.width() * ratio)), int(std::lround(logical.height() * ratio)));
    QPixmap scaled = image.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    return scaled;
}

QPixmap iconPixmap(const QIcon &icon, const QSize &size, const QWidget *widget, const QPainter &painter)
{
#if QT_VERSION_MAJOR >= 6
    Q_UNUSED(widget)
    return icon.pixmap(size, painter.device()->devicePixelRatio(), QIcon::Normal, QIcon::Off);
#else
    Q_UNUSED(painter)
    return icon.pixmap(widget->window()->windowHandle(), size, QIcon::Normal, QIcon::Off);
#endif
}

qreal iconRatio(const QWidget *widget, const QPainter &painter)
{
#if QT_VERSION_MAJOR >= 6
    Q_UNUSED(widget)
    return painter.device()->devicePixelRatio();
#else
    Q_UNUSED(painter)
    if (!QCoreApplication::testAttribute(Qt::AA_UseHighDpiPixmaps))
        return 1.0;
    const QWindow *window = widget->window()->windowHandle();
    return window ? window->devicePixelRatio() : qApp->devicePixelRatio();
#endif
}

} // namespace HighDpi
