#include "gui/template/template_widgets.h"

#include "gui/platform.h"
#include "gui/template/map_template_window.h"

#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace kalvo {

TTemplatePaintBox::TTemplatePaintBox(TfrmMapTemplate& form, QWidget* parent)
    : QWidget(parent), form_(form)
{
    setObjectName(QStringLiteral("pbxTemplate"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true); // hover feedback comes from the moves
    setFocusPolicy(Qt::ClickFocus);
}

void TTemplatePaintBox::paintEvent(QPaintEvent* event)
{
    // Only the exposed part is drawn: a pen stroke repaints the few pixels it touched.
    const QRect area = event->rect() & rect();
    if (area.isEmpty())
        return;
    canvas_.SetSize(area.width(), area.height());
    form_.DrawView(canvas_, origin_.x() + area.x(), origin_.y() + area.y());
    QImage image(area.width(), area.height(), QImage::Format_RGB32);
    CanvasToScreen(canvas_, reinterpret_cast<std::uint32_t*>(image.bits()),
                   static_cast<int>(image.bytesPerLine() / 4));
    QPainter painter(this);
    painter.drawImage(area.topLeft(), image);
}

void TTemplatePaintBox::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint() + origin_;
    form_.pbxTemplateMouseDown(event->button(), p.x(), p.y(), event->modifiers());
}

void TTemplatePaintBox::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void TTemplatePaintBox::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint() + origin_;
    form_.pbxTemplateMouseMove(event->buttons(), p.x(), p.y());
}

void TTemplatePaintBox::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint() + origin_;
    form_.pbxTemplateMouseUp(event->button(), p.x(), p.y());
}

void TTemplatePaintBox::wheelEvent(QWheelEvent* event)
{
    const QPoint p = event->position().toPoint() + origin_;
    form_.pbxTemplateWheel(p.x(), p.y(), event->angleDelta(), event->modifiers());
    event->accept();
}

void TTemplatePaintBox::leaveEvent(QEvent* event)
{
    form_.pbxTemplateLeave();
    QWidget::leaveEvent(event);
}

void TTemplatePaintBox::contextMenuEvent(QContextMenuEvent* event)
{
    if (form_.PopupMenu1)
        form_.PopupMenu1->popup(event->globalPos());
}

} // namespace kalvo
