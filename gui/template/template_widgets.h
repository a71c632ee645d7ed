#pragma once

#include "core/model/records.h"
#include "core/preview/canvas.h"

#include <QWidget>
#include <functional>

namespace kalvo {

class TfrmMapTemplate;

// The paint box over the template picture. The template itself may be far larger than any
// widget can be (the zoom has no limit), so the box covers only the part of the zoomed template
// that shows in the canvas panel; Origin is the template screen pixel at its top-left. It draws
// what the core draws for the exposed part and hands its mouse to the window in template screen
// pixels ("paint-box pixels").
class TTemplatePaintBox : public QWidget
{
    Q_OBJECT

public:
    TTemplatePaintBox(TfrmMapTemplate& form, QWidget* parent);

    void SetOrigin(QPoint origin) { origin_ = origin; }
    QPoint Origin() const { return origin_; }
    // The canvas of the last paint (the exposed part), for looking at what was drawn.
    const TCanvas& LastCanvas() const { return canvas_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    TfrmMapTemplate& form_;
    QPoint origin_;
    TCanvas canvas_;
};

} // namespace kalvo
