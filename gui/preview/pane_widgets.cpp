#include "gui/preview/pane_widgets.h"

#include <QFrame>
#include <QPainter>
#include <QToolButton>

namespace kalvo {

TPaintBox::TPaintBox(int tag, QWidget* parent) : QWidget(parent), tag_(tag)
{
    // The canvas covers the whole box: nothing behind it needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void TPaintBox::Redraw() { canvas_ = OnPaint ? OnPaint() : nullptr; }

void TPaintBox::Refresh()
{
    if (!painting_)
        update();
}

void TPaintBox::paintEvent(QPaintEvent*)
{
    painting_ = true;
    Redraw();
    painting_ = false;
    if (!canvas_ || canvas_->Width() == 0 || canvas_->Height() == 0)
        return;
    if (image_.width() != canvas_->Width() || image_.height() != canvas_->Height())
        image_ = QImage(canvas_->Width(), canvas_->Height(), QImage::Format_RGB32);
    CanvasToScreen(*canvas_, reinterpret_cast<std::uint32_t*>(image_.bits()),
                   static_cast<int>(image_.bytesPerLine() / 4));
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), image_);
}

TPreviewPane::TPreviewPane(int tag, const QString& hint, QWidget* parent) : QWidget(parent)
{
    Bevel = new QFrame(this);
    Bevel->setFrameShape(QFrame::Panel);
    Bevel->setFrameShadow(QFrame::Sunken);

    PaintBox = new TPaintBox(tag, this);
    PaintBox->setToolTip(hint);

    // The strip lies over the paint box's left edge, as the zoom label beside it does.
    Strip = new QWidget(this);
    Strip->setAutoFillBackground(true);
    StripButton = new QToolButton(Strip);
    StripButton->setFocusPolicy(Qt::NoFocus);
    StripButton->setAutoRaise(false);
    StripButton->setGeometry(0, 0, kStripWidth, kStripWidth);
    StripButton->setProperty("tag", tag);
    SetActive(false);
}

void TPreviewPane::SetActive(bool active)
{
    active_ = active;
    QPalette palette = Strip->palette();
    palette.setColor(QPalette::Window,
                     active ? QColor(255, 0, 0) : palette.color(QPalette::Button));
    Strip->setPalette(palette);
}

void TPreviewPane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Strip->setGeometry(0, 0, kStripWidth, height());
    Bevel->setGeometry(kStripWidth, 0, std::max(width() - kStripWidth, 0), height());
}

} // namespace kalvo
