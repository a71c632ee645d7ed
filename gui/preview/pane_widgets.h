#pragma once

#include "core/preview/canvas.h"

#include <QImage>
#include <QWidget>
#include <functional>

class QFrame;
class QToolButton;

namespace kalvo {

// One pane's drawing surface. It shows the canvas its window draws for it with the core
// renderer, pixel for pixel from its top-left corner.
class TPaintBox : public QWidget
{
    Q_OBJECT

public:
    TPaintBox(int tag, QWidget* parent);

    int Tag() const { return tag_; }
    // Run at each paint: brings the pane's picture up to date and returns the canvas to show
    // (null: nothing).
    std::function<const TCanvas*()> OnPaint;
    // The canvas shown at the last paint, or null.
    const TCanvas* Canvas() const { return canvas_; }
    // Brings the picture up to date now, without waiting for the event loop.
    void Redraw();
    // Asks for a paint, unless this is one: what is drawn now shows anyway.
    void Refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int tag_;
    const TCanvas* canvas_ = nullptr;
    bool painting_ = false;
    QImage image_; // kept between paints: a drag repaints at the same size again and again
};

// A pane of the preview window: the strip on its left edge with its button, the bevel and the
// paint box. The window places the pane and its paint box; the pane keeps the strip and the
// bevel along its edges.
class TPreviewPane : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kStripWidth = 11;

    TPreviewPane(int tag, const QString& hint, QWidget* parent);

    // Red marks the active pane; the others show the standard button face.
    void SetActive(bool active);
    bool IsActive() const { return active_; }

    QWidget* Strip = nullptr;
    QToolButton* StripButton = nullptr;
    QFrame* Bevel = nullptr;
    TPaintBox* PaintBox = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    bool active_ = false;
};

} // namespace kalvo
