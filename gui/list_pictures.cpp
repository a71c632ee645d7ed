#include "gui/list_pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <functional>

namespace kalvo {

namespace {

constexpr int kSize = 32;

// Draws at 1x and 2x so that both ordinary and high-density screens get a crisp picture.
QIcon DrawIcon(const std::function<void(QPainter&)>& draw)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(kSize * scale, kSize * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// A cube in cabinet projection inside the 32 x 32 square.
void DrawCube(QPainter& p, bool solid)
{
    const QPointF front[4] = {{5, 11}, {21, 11}, {21, 27}, {5, 27}};
    const QPointF back[4] = {{11, 5}, {27, 5}, {27, 21}, {11, 21}};
    if (solid) {
        p.setPen(QPen(QColor(30, 30, 60), 1.2));
        p.setBrush(QColor(120, 160, 230));
        p.drawPolygon(QPolygonF({front[0], back[0], back[1], front[1]}));
        p.setBrush(QColor(70, 110, 190));
        p.drawPolygon(QPolygonF({front[1], back[1], back[2], front[2]}));
        p.setBrush(QColor(160, 195, 250));
        p.drawPolygon(front, 4);
        return;
    }
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(back, 4);
    p.drawPolygon(front, 4);
    for (int i = 0; i < 4; ++i)
        p.drawLine(front[i], back[i]);
}

void DrawEye(QPainter& p, bool open)
{
    QPainterPath lids;
    lids.moveTo(3, 16);
    lids.quadTo(16, 3, 29, 16);
    if (open) {
        lids.quadTo(16, 29, 3, 16);
        p.setPen(QPen(QColor(20, 20, 20), 1.6));
        p.setBrush(Qt::white);
        p.drawPath(lids);
        p.setBrush(QColor(40, 110, 200));
        p.drawEllipse(QPointF(16, 16), 5, 5);
        p.setBrush(Qt::black);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(16, 16), 2.2, 2.2);
        return;
    }
    // A closed eye: the lower lid with lashes, and a red stroke for "hidden".
    QPainterPath lid;
    lid.moveTo(3, 15);
    lid.quadTo(16, 25, 29, 15);
    p.setPen(QPen(QColor(90, 90, 90), 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(lid);
    for (qreal x : {8.0, 13.0, 19.0, 24.0})
        p.drawLine(QPointF(x, 19.5), QPointF(x - 1.5 + (x > 16 ? 3 : 0), 24));
    p.setPen(QPen(QColor(200, 30, 30), 2.2));
    p.drawLine(QPointF(5, 27), QPointF(27, 5));
}

void DrawGroup(QPainter& p)
{
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    p.setBrush(QColor(250, 210, 90));
    const QPointF points[3] = {{9, 22}, {22, 24}, {16, 9}};
    p.drawLine(points[0], points[1]);
    p.drawLine(points[1], points[2]);
    p.drawLine(points[2], points[0]);
    for (const QPointF& point : points)
        p.drawEllipse(point, 3.5, 3.5);
}

} // namespace

QIcon ObjectIcon(int index)
{
    return DrawIcon([index](QPainter& p) { DrawCube(p, index == 0); });
}

QIcon StateImage(int index)
{
    return DrawIcon([index](QPainter& p) { DrawEye(p, index == 0); });
}

QIcon TreeImage(int index)
{
    if (index == 0)
        return ObjectIcon(0);
    return DrawIcon([](QPainter& p) { DrawGroup(p); });
}

} // namespace kalvo
