#include "gui/template/template_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <functional>
#include <tuple>

namespace kalvo {

namespace {

constexpr int kSize = 20;

QIcon Drawn(const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 40), 1.4));
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

void Sheet(QPainter& p, QRectF r, QColor fill)
{
    p.setBrush(fill);
    p.drawRect(r);
}

void Magnifier(QPainter& p, bool plus)
{
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(2, 2, 11, 11));
    p.drawLine(QPointF(5, 7.5), QPointF(10, 7.5));
    if (plus)
        p.drawLine(QPointF(7.5, 5), QPointF(7.5, 10));
    p.setPen(QPen(QColor(40, 40, 40), 3));
    p.drawLine(QPointF(12, 12), QPointF(17, 17));
}

} // namespace

QIcon TemplateIcon(TTemplateIcon kind)
{
    switch (kind) {
    case TTemplateIcon::Open:
        return Drawn([](QPainter& p) {
            p.setBrush(QColor(240, 200, 80));
            p.drawPolygon(QPolygonF({{2, 6}, {8, 6}, {10, 8}, {18, 8}, {18, 17}, {2, 17}}));
        });
    case TTemplateIcon::Copy:
        return Drawn([](QPainter& p) {
            Sheet(p, QRectF(3, 3, 9, 11), Qt::white);
            Sheet(p, QRectF(8, 7, 9, 11), Qt::white);
        });
    case TTemplateIcon::PaintProgram:
        return Drawn([](QPainter& p) {
            p.setBrush(QColor(230, 220, 190));
            p.drawEllipse(QRectF(2, 3, 16, 14));
            for (const auto& [x, y, c] :
                 {std::tuple{6.0, 7.0, QColor(Qt::red)}, std::tuple{10.0, 6.0, QColor(Qt::blue)},
                  std::tuple{13.0, 9.0, QColor(Qt::darkGreen)}}) {
                p.setBrush(c);
                p.drawEllipse(QRectF(x, y, 3, 3));
            }
        });
    case TTemplateIcon::Paste:
        return Drawn([](QPainter& p) {
            Sheet(p, QRectF(3, 3, 14, 15), QColor(200, 160, 100));
            Sheet(p, QRectF(6, 6, 8, 10), Qt::white);
        });
    case TTemplateIcon::ZoomIn:
        return Drawn([](QPainter& p) { Magnifier(p, true); });
    case TTemplateIcon::ZoomOut:
        return Drawn([](QPainter& p) { Magnifier(p, false); });
    case TTemplateIcon::Arrow:
        return Drawn([](QPainter& p) {
            p.setBrush(Qt::white);
            p.drawPolygon(
                QPolygonF({{5, 2}, {5, 16}, {8, 13}, {11, 18}, {13, 17}, {10, 12}, {15, 12}}));
        });
    case TTemplateIcon::Pen:
        return Drawn([](QPainter& p) {
            p.setBrush(QColor(250, 210, 60));
            p.drawPolygon(QPolygonF({{14, 2}, {18, 6}, {7, 17}, {3, 17}, {3, 13}}));
        });
    case TTemplateIcon::Transparent:
        return Drawn([](QPainter& p) {
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x)
                    p.fillRect(QRectF(2 + x * 4, 2 + y * 4, 4, 4),
                               (x + y) % 2 ? QColor(200, 200, 200) : QColor(Qt::white));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(2, 2, 16, 16));
        });
    }
    return QIcon();
}

QIcon PenSizeIcon(int width)
{
    const double diameter = width >= 16 ? 14.0 : width >= 8 ? 9.0 : width >= 4 ? 5.0 : 2.0;
    return Drawn([diameter](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 20, 20));
        p.drawEllipse(QPointF(kSize / 2.0, kSize / 2.0), diameter / 2, diameter / 2);
    });
}

} // namespace kalvo
