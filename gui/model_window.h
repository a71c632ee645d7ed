#pragma once

#include "core/preview/camera.h"
#include "core/preview/canvas.h"
#include "core/preview/dib.h"
#include "core/preview/pane_layout.h"
#include "core/preview/view_state.h"

#include <QWidget>
#include <functional>

class QLineEdit;
class QToolButton;

namespace kalvo {

class TfrmObj;
struct TShell;

// One pane's drawing surface: shows the pane's canvas, which its window draws with the core
// renderer.
class TPaintBox : public QWidget
{
    Q_OBJECT

public:
    TPaintBox(int tag, QWidget* parent);

    int Tag() const { return tag_; }
    // Run at each paint with a canvas of the box's size; what it draws is shown.
    std::function<void(TCanvas& canvas)> OnPaint;
    // The image shown at the last paint (for tests and for copying the view).
    const TCanvas& Canvas() const { return canvas_; }
    // Draws the canvas now, without waiting for the event loop.
    void Redraw();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int tag_;
    TCanvas canvas_;
};

// The preview window, "Preview Window": a child of the main window showing the models of its
// object window. It owns its object window (and through it the models), the camera and view
// state, and the bitmap buffer of the batch drawing.
//
// For now it shows the perspective pane alone, drawn as a wireframe; the other panes, display
// modes and navigation build on the same fields.
class TfrmModel : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmModel(TShell& shell, QWidget* parent = nullptr);
    ~TfrmModel() override;

    TfrmObj& ObjectWindow() { return *objectWindow_; }
    TVector& Camera() { return camera_; }
    TViewState& ViewState() { return view_; }
    TDIB& Buffer() { return buffer_; }

    // The resize handler: places the panes, hands the perspective pane's size to the camera
    // and sizes the bitmap buffer; every pane is redrawn.
    void Layout();
    // Redraws the four panes (perspective, top, side, face).
    void RepaintAll();
    // Paints pane v onto canvas (v 0 perspective, 1..3 the orthographic panes).
    void RedrawView(int v, TCanvas& canvas);

    bool Closing = false;
    int SplitView = 0;
    int DisplayMode = 0;

    QToolButton* btnObj = nullptr;
    QLineEdit* Edit1 = nullptr; // path of the file being read
    QWidget* pnlModel = nullptr;
    QWidget* Pane[4] = {};
    TPaintBox* pbxModel = nullptr;
    TPaintBox* pbxXY = nullptr;
    TPaintBox* pbxYZ = nullptr;
    TPaintBox* pbxXZ = nullptr;

public slots:
    // Shows the object window just below the button, or hides it.
    void btnObjClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void PrepareBuffer(int mode);

    TShell& shell_;
    TfrmObj* objectWindow_ = nullptr; // a child window: Qt frees it with this window
    TVector camera_;
    TViewState view_;
    TDIB buffer_;
    TPaneLayout layout_;
    TPaintBox* paintBoxes_[4] = {};
};

} // namespace kalvo
