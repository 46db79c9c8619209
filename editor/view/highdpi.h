#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

class QPainter;
class QWidget;

// Sharp on high-density screens with Qt 5 and Qt 6 alike.
namespace HighDpi {

// Before the application object: Qt 5 scales to the screen's density and
// hands out device-sized pixmaps only when asked, as Qt 6 always does. Both
// round the factor to a whole number, so the grid's one-pixel lines stay on
// whole device pixels.
void prepareApplication();

// The image at path for a device pixel ratio: "name@2x.ext" beside it when the
// ratio is above 1 and that file exists, brought to the exact ratio. The
// result has the logical size of the plain image.
QPixmap pixmap(const QString &path, qreal ratio);

// The icon's pixmap for a widget painted through this painter, as the style
// picks it (each Qt version asks for it in its own way).
QPixmap iconPixmap(const QIcon &icon, const QSize &size, const QWidget *widget, const QPainter &painter);
// The device pixel ratio that pixmap is picked for.
qreal iconRatio(const QWidget *widget, const QPainter &painter);

} // namespace HighDpi
