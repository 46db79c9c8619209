#include "view/iconcache.h"

#include "format/maplimits.h"
#include "format/texturepath.h"

#include <QGraphicsColorizeEffect>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QGuiApplication>
#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>

namespace {

struct TintKey
{
    QString path;
    QRgb rgba;
    bool operator==(const TintKey &other) const { return path == other.path && rgba == other.rgba; }
};

uint qHash(const TintKey &key, uint seed = 0)
{
    return ::qHash(key.path, seed) ^ ::qHash(key.rgba, seed);
}

QHash<QString, QPixmap> &images()
{
    static QHash<QString, QPixmap> cache;
    return cache;
}

QHash<TintKey, QIcon> &icons()
{
    static QHash<TintKey, QIcon> cache;
    return cache;
}

QPixmap imageAt(const QString &path)
{
    auto found = images().constFind(path);
    if (found != images().constEnd())
        return *found;
    QPixmap pixmap;
    // Only regular images of a sane size: a pipe would hang the editor, a
    // device or a huge file exhaust its memory.
    if (!path.isEmpty() && TexturePath::isRegularFile(path, MapLimits::imageBytes)) {
        // A small file can still claim a huge picture; its header is asked first.
        QImageReader reader(path);
        const QSize size = reader.size();
        if (size.isValid() && qint64(size.width()) * size.height() <= MapLimits::imagePixels)
            pixmap = QPixmap::fromImageReader(&reader);
    }
    images().insert(path, pixmap);
    return pixmap;
}

} // namespace

QIcon IconCache::icon(const QString &path, const QColor &tint)
{
    const TintKey key{path, tint.isValid() ? tint.rgba() : 0u};
    auto found = icons().constFind(key);
    if (found != icons().constEnd())
        return *found;
    const QPixmap plain = imageAt(path);
    QIcon result;
    if (!plain.isNull()) {
        const QPixmap look = tint.isValid() ? tinted(plain, tint) : plain;
        result.addPixmap(look);
        // On a screen of twice the density Qt would stretch a small texture
        // smoothly and blur it; a copy doubled pixel by pixel keeps it sharp.
        if (qGuiApp && qGuiApp->devicePixelRatio() >= 2.0)
            result.addPixmap(look.scaled(look.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    }
    icons().insert(key, result);
    return result;
}

QPixmap IconCache::tinted(const QPixmap &source, const QColor &tint)
{
    if (source.isNull())
        return source;
    // Render through the real effect so the cached look matches it exactly.
    QGraphicsScene scene;
    QGraphicsPixmapItem *item = scene.addPixmap(source);
    auto *effect = new QGraphicsColorizeEffect;
    effect->setColor(tint);
    item->setGraphicsEffect(effect);
    QImage target(source.size(), QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::transparent);
    QPainter painter(&target);
    const QRectF area(QPointF(0, 0), QSizeF(source.size()));
    scene.render(&painter, area, area);
    painter.end();
    return QPixmap::fromImage(target);
}

void IconCache::forget(const QString &path)
{
    images().remove(path);
    for (auto it = icons().begin(); it != icons().end();) {
        if (it.key().path == path)
            it = icons().erase(it);
        else
            ++it;
    }
}

void IconCache::clear()
{
    images().clear();
    icons().clear();
}
