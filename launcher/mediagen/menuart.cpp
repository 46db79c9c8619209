#include "menuart.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

const QSize MenuArt::BackgroundSize(841, 546);
const QSize MenuArt::PointerSize(50, 50);
const QSize MenuArt::EntrySize(500, 27);

namespace {

const QColor Gold(0xf4, 0xc8, 0x6a);
const QColor Cream(0xf6, 0xee, 0xd8);
const QColor Teal(0x4f, 0xd6, 0xd0);

// Fixed-seed generator so every build draws the same stars.
class Lcg
{
public:
    double next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return double(m_state >> 11) / double(1ULL << 53);
    }

private:
    quint64 m_state = 2021;
};

QFont makeFont(const QString &family, double pixelSize, QFont::Weight weight, double spacing)
{
    QFont font(family);
    font.setPixelSize(int(std::lround(pixelSize)));
    font.setWeight(weight);
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

void drawEntryPlate(QPainter &painter, const QRect &rect, const QString &label)
{
    painter.save();
    QLinearGradient plate(rect.topLeft(), rect.topRight());
    plate.setColorAt(0.0, QColor(255, 255, 255, 46));
    plate.setColorAt(0.55, QColor(255, 255, 255, 14));
    plate.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(plate);
    painter.drawRect(rect);

    painter.setBrush(Gold);
    painter.drawRect(QRect(rect.left(), rect.top(), 3, rect.height()));

    QLinearGradient underline(rect.bottomLeft(), rect.bottomRight());
    underline.setColorAt(0.0, QColor(244, 200, 106, 160));
    underline.setColorAt(0.7, QColor(244, 200, 106, 0));
    painter.setBrush(underline);
    painter.drawRect(QRect(rect.left(), rect.bottom(), rect.width(), 1));

    painter.setFont(makeFont(QStringLiteral("DejaVu Sans"), 15, QFont::Bold, 3.0));
    const QRect textRect = rect.adjusted(18, 0, 0, 0);
    painter.setPen(QColor(0, 0, 0, 150));
    painter.drawText(textRect.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, label);
    painter.setPen(Cream);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, label);
    painter.restore();
}

} // namespace

QRect MenuArt::entryRect(int index)
{
    return QRect(QPoint(58, 191 + 59 * index), EntrySize);
}

QString MenuArt::entryLabel(int index)
{
    static const char *const labels[] = {"INTRO VIDEO", "PLAY HALCYON", "LEVEL EDITOR"};
    return QString::fromLatin1(labels[index]);
}

void MenuArt::drawScene(QPainter &painter, const QSize &size, double horizon, double gridPhase,
                        double sunRise)
{
    const double w = size.width();
    const double h = size.height();

    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0.0, QColor(0x06, 0x09, 0x1a));
    sky.setColorAt(0.55, QColor(0x18, 0x1c, 0x44));
    sky.setColorAt(0.85, QColor(0x3c, 0x2a, 0x62));
    sky.setColorAt(1.0, QColor(0x7a, 0x3d, 0x6e));
    painter.fillRect(QRectF(0, 0, w, horizon), sky);

    Lcg random;
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 140; ++i) {
        const double x = random.next() * w;
        const double y = random.next() * horizon * 0.8;
        const double r = 0.4 + random.next() * 1.1;
        const int alpha = int(60 + random.next() * 170 * (1.0 - y / horizon));
        painter.setBrush(QColor(230, 236, 255, alpha));
        painter.drawEllipse(QPointF(x, y), r, r);
    }

    // The sun sits on the horizon to the right, cut by bands near its base.
    const QPointF sunCentre(w * 0.74, horizon - sunRise * h * 0.12);
    const double sunRadius = h * 0.24;
    QRadialGradient glow(sunCentre, sunRadius * 2.2);
    glow.setColorAt(0.0, QColor(255, 190, 120, 120));
    glow.setColorAt(0.5, QColor(200, 90, 140, 40));
    glow.setColorAt(1.0, QColor(120, 40, 120, 0));
    painter.setBrush(glow);
    painter.drawRect(QRectF(0, 0, w, horizon));

    QPainterPath sun;
    sun.addEllipse(sunCentre, sunRadius, sunRadius);
    for (int band = 0; band < 6; ++band) {
        const double y = sunCentre.y() - sunRadius * (0.08 + band * 0.11);
        const double thickness = 5.0 - band * 0.7;
        QPainterPath cut;
        cut.addRect(QRectF(0, y, w, thickness));
        sun = sun.subtracted(cut);
    }
    QPainterPath sky_area;
    sky_area.addRect(QRectF(0, 0, w, horizon));
    sun = sun.intersected(sky_area);
    QLinearGradient sunFill(0, sunCentre.y() - sunRadius, 0, sunCentre.y() + sunRadius);
    sunFill.setColorAt(0.0, QColor(0xff, 0xe9, 0xa8));
    sunFill.setColorAt(0.6, QColor(0xff, 0x9a, 0x6b));
    sunFill.setColorAt(1.0, QColor(0xd9, 0x4c, 0x8a));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(sunFill);
    painter.drawPath(sun);

    // Floor: dark ground with a perspective grid meeting at the sun.
    QLinearGradient ground(0, horizon, 0, h);
    ground.setColorAt(0.0, QColor(0x1c, 0x10, 0x34));
    ground.setColorAt(1.0, QColor(0x05, 0x04, 0x10));
    painter.fillRect(QRectF(0, horizon, w, h - horizon), ground);

    const double vanishX = sunCentre.x();
    const double depth = h - horizon;
    for (int i = -24; i <= 24; ++i) {
        const double bottomX = vanishX + i * w * 0.09;
        QLinearGradient fade(0, horizon, 0, h);
        fade.setColorAt(0.0, QColor(79, 214, 208, 10));
        fade.setColorAt(1.0, QColor(79, 214, 208, 150));
        painter.setPen(QPen(QBrush(fade), 1.2));
        painter.drawLine(QPointF(vanishX, horizon), QPointF(bottomX, h));
    }
    for (int k = 0; k < 28; ++k) {
        // Seen from eye height a line at distance z appears depth / z below the horizon.
        const double z = 0.6 * (k + 1 - gridPhase) + 0.4;
        const double y = horizon + depth / z;
        const int alpha = int(std::min(170.0, 20 + (y - horizon) / depth * 220));
        painter.setPen(QPen(QColor(Teal.red(), Teal.green(), Teal.blue(), alpha), 1.2));
        painter.drawLine(QPointF(0, y), QPointF(w, y));
    }

    QLinearGradient haze(0, horizon - 18, 0, horizon + 24);
    haze.setColorAt(0.0, QColor(255, 150, 190, 0));
    haze.setColorAt(0.5, QColor(255, 150, 190, 70));
    haze.setColorAt(1.0, QColor(255, 150, 190, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(haze);
    painter.drawRect(QRectF(0, horizon - 18, w, 42));
}

void MenuArt::drawTitle(QPainter &painter, const QPointF &baseline, double scale, double opacity)
{
    painter.save();
    painter.setOpacity(opacity);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QString title = QStringLiteral("HALCYON");
    const QFont font = makeFont(QStringLiteral("DejaVu Serif"), 64 * scale, QFont::Bold, 10 * scale);

    QPainterPath path;
    path.addText(baseline, font, title);
    // Soft glow: the outline stroked wide and faint a few times.
    for (int i = 4; i >= 1; --i) {
        painter.setPen(QPen(QColor(255, 170, 90, 18), i * 4 * scale, Qt::SolidLine, Qt::RoundCap,
                            Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
    const QRectF box = path.boundingRect();
    QLinearGradient fill(0, box.top(), 0, box.bottom());
    fill.setColorAt(0.0, QColor(0xff, 0xf3, 0xcf));
    fill.setColorAt(0.5, Gold);
    fill.setColorAt(1.0, QColor(0xc9, 0x7a, 0x3a));
    painter.setPen(QPen(QColor(60, 30, 20, 200), 1.0 * scale));
    painter.setBrush(fill);
    painter.drawPath(path);

    painter.setPen(QColor(Teal.red(), Teal.green(), Teal.blue(), 230));
    painter.setFont(makeFont(QStringLiteral("DejaVu Sans"), 15 * scale, QFont::Normal, 9 * scale));
    painter.drawText(QPointF(baseline.x() + 4 * scale, baseline.y() + 30 * scale),
                     QStringLiteral("LUMEN  2021"));
    painter.restore();
}

QImage MenuArt::background()
{
    QImage image(BackgroundSize, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    drawScene(painter, image.size(), 372, 0.0, 0.0);

    // Darken the left side behind the menu so the labels stay readable.
    QLinearGradient shade(0, 0, 640, 0);
    shade.setColorAt(0.0, QColor(4, 4, 16, 170));
    shade.setColorAt(0.7, QColor(4, 4, 16, 80));
    shade.setColorAt(1.0, QColor(4, 4, 16, 0));
    painter.fillRect(QRect(0, 0, 640, image.height()), shade);

    drawTitle(painter, QPointF(52, 118), 1.0, 1.0);
    for (int i = 0; i < 3; ++i)
        drawEntryPlate(painter, entryRect(i), entryLabel(i));

    painter.setFont(makeFont(QStringLiteral("DejaVu Sans"), 11, QFont::Normal, 1.5));
    painter.setPen(QColor(200, 205, 230, 170));
    painter.drawText(QPointF(60, 520),
                     QStringLiteral("UP / DOWN  choose        RETURN  start        ESC  leave the video"));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage MenuArt::pointer()
{
    QImage image(PointerSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);

    const QPointF centre(25, 25);
    QRadialGradient glow(centre, 22);
    glow.setColorAt(0.0, QColor(255, 200, 110, 150));
    glow.setColorAt(1.0, QColor(255, 200, 110, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, 22, 22);

    // A right-pointing arrowhead with a notch, lit from above.
    QPainterPath arrow;
    arrow.moveTo(14, 13);
    arrow.lineTo(39, 25);
    arrow.lineTo(14, 37);
    arrow.lineTo(20, 25);
    arrow.closeSubpath();
    QLinearGradient fill(0, 13, 0, 37);
    fill.setColorAt(0.0, QColor(0xff, 0xf6, 0xd6));
    fill.setColorAt(0.5, Gold);
    fill.setColorAt(1.0, QColor(0xc2, 0x6e, 0x2e));
    painter.setPen(QPen(QColor(70, 35, 15, 220), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPath(arrow);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage MenuArt::entry(const QImage &background, int index)
{
    // A style-sheet background on a push button starts inside its one-pixel
    // frame, so the cut is taken one pixel further in as well.
    return background.copy(entryRect(index).translated(1, 1));
}
