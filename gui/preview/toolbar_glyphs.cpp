#include "gui/preview/toolbar_glyphs.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace kalvo {

namespace {

// Every glyph is drawn on a 16 x 16 grid; strokes sit on pixel centres so that they fall on
// whole pixels at 100 % and on pairs of pixels at 200 %.
constexpr double kGrid = 16.0;

// The cube the display-mode glyphs show: front square and a back square offset up-right.
const QPointF kFront[4] = {{1.5, 5.5}, {10.5, 5.5}, {10.5, 14.5}, {1.5, 14.5}};
const QPointF kBack[4] = {{5.5, 1.5}, {14.5, 1.5}, {14.5, 10.5}, {5.5, 10.5}};

void CubeFaces(QPainter& painter, const QColor& front, const QColor& top, const QColor& side)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(top);
    painter.drawPolygon(QPolygonF({kFront[0], kBack[0], kBack[1], kFront[1]}));
    painter.setBrush(side);
    painter.drawPolygon(QPolygonF({kFront[1], kBack[1], kBack[2], kFront[2]}));
    painter.setBrush(front);
    painter.drawPolygon(kFront, 4);
}

void CubeEdges(QPainter& painter, const QColor& colour, bool hiddenToo)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, 1.0));
    painter.drawPolygon(kFront, 4);
    painter.drawPolyline(QPolygonF({kFront[0], kBack[0], kBack[1], kBack[2], kFront[2]}));
    painter.drawLine(kFront[1], kBack[1]);
    if (hiddenToo) {
        painter.drawLine(kBack[0], kBack[3]);
        painter.drawLine(kBack[3], kBack[2]);
        painter.drawLine(kBack[3], kFront[3]);
    }
}

void DrawGlyph(QPainter& painter, TGlyph glyph, bool disabled, bool on)
{
    const QColor ink = disabled ? QColor(160, 160, 160) : QColor(0, 0, 0);
    const auto tone = [&](int grey, const QColor& colour) {
        return disabled ? QColor(grey, grey, grey) : colour;
    };
    switch (glyph) {
    case TGlyph::ThreeView: {
        painter.setPen(QPen(ink, 1.0));
        painter.setBrush(tone(230, on ? QColor(255, 255, 200) : QColor(255, 255, 255)));
        painter.drawRect(QRectF(1.5, 2.5, 8, 11));
        painter.setBrush(tone(230, QColor(255, 255, 255)));
        painter.drawRect(QRectF(10.5, 2.5, 4, 5));
        painter.drawRect(QRectF(10.5, 8.5, 4, 5));
        if (on) {
            // Down: the large pane is the active one, marked as its strip is.
            painter.setPen(QPen(tone(140, QColor(255, 0, 0)), 1.0));
            painter.drawLine(QPointF(2.5, 3.5), QPointF(2.5, 12.5));
        }
        break;
    }
    case TGlyph::Wireframe:
        CubeEdges(painter, ink, true);
        break;
    case TGlyph::ShadedWireframe:
        CubeEdges(painter, tone(190, QColor(150, 150, 150)), true);
        painter.setPen(QPen(ink, 1.0));
        painter.drawPolygon(kFront, 4);
        painter.drawLine(kFront[1], kBack[1]);
        break;
    case TGlyph::HiddenWithEdges:
        CubeFaces(painter, tone(220, QColor(120, 160, 230)), tone(240, QColor(180, 205, 245)),
                  tone(200, QColor(70, 110, 190)));
        CubeEdges(painter, ink, false);
        break;
    case TGlyph::HiddenSurface:
        CubeFaces(painter, tone(220, QColor(120, 160, 230)), tone(240, QColor(180, 205, 245)),
                  tone(200, QColor(70, 110, 190)));
        break;
    case TGlyph::Texture: {
        // A checkered square: a picture laid on a surface.
        painter.setPen(Qt::NoPen);
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 4; ++column) {
                const bool dark = (row + column) % 2 == 0;
                painter.setBrush(dark ? tone(150, QColor(200, 60, 40))
                                      : tone(235, QColor(250, 220, 120)));
                painter.drawRect(QRectF(2 + column * 3, 2 + row * 3, 3, 3));
            }
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(ink, 1.0));
        painter.drawRect(QRectF(1.5, 1.5, 13, 13));
        break;
    }
    case TGlyph::SaveViewpoint: {
        painter.setPen(QPen(ink, 1.0));
        painter.setBrush(tone(220, QColor(255, 255, 255)));
        painter.drawEllipse(QPointF(8, 8), 6.5, 4.0);
        painter.setBrush(ink);
        painter.drawEllipse(QPointF(8, 8), 2.0, 2.0);
        break;
    }
    case TGlyph::TargetOrigin: {
        painter.setPen(QPen(tone(120, QColor(255, 0, 0)), 1.0));
        painter.drawLine(QPointF(8.5, 1.5), QPointF(8.5, 15.5));
        painter.drawLine(QPointF(1.5, 8.5), QPointF(15.5, 8.5));
        painter.setPen(QPen(ink, 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(8.5, 8.5), 4.0, 4.0);
        break;
    }
    }
}

class TGlyphEngine : public QIconEngine
{
public:
    explicit TGlyphEngine(TGlyph glyph) : glyph_(glyph) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / kGrid, rect.height() / kGrid);
        DrawGlyph(*painter, glyph_, mode == QIcon::Disabled, state == QIcon::On);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        QPixmap pixmap(size * scale);
        pixmap.fill(Qt::transparent);
        {
            QPainter painter(&pixmap);
            paint(&painter, QRect(QPoint(0, 0), pixmap.size()), mode, state);
        }
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

    QIconEngine* clone() const override { return new TGlyphEngine(glyph_); }

private:
    TGlyph glyph_;
};

} // namespace

QIcon GlyphIcon(TGlyph glyph) { return QIcon(new TGlyphEngine(glyph)); }

} // namespace kalvo
