#pragma once

#include "core/preview/preview_scene.h"

#include <QWidget>
#include <functional>
#include <memory>

class QLineEdit;
class QToolButton;

namespace kalvo {

class TfrmObj;
struct TShell;

// One pane's drawing surface: shows the canvas its window paints for it with the core
// renderer.
class TPaintBox : public QWidget
{
    Q_OBJECT

public:
    TPaintBox(int tag, QWidget* parent);

    int Tag() const { return tag_; }
    // Run at each paint: draws the pane and returns the canvas to show (null: nothing).
    std::function<const TCanvas*()> OnPaint;
    // The canvas shown at the last paint, or null.
    const TCanvas* Canvas() const { return canvas_; }
    // Draws the pane now, without waiting for the event loop.
    void Redraw();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int tag_;
    const TCanvas* canvas_ = nullptr;
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
    TPreviewScene& Scene() { return scene_; }
    TVector& Camera() { return scene_.Camera; }
    TViewState& ViewState() { return scene_.View; }
    TDIB& Buffer() { return scene_.Bitmap; }

    // The resize handler: places the panes, hands the perspective pane's size to the camera
    // and sizes the bitmap buffer; every pane is redrawn.
    void Layout();
    // Redraws the four panes (perspective, top, side, face).
    void RepaintAll();
    // Paints pane v (0 perspective, 1..3 the orthographic panes) with the models of the object
    // window and the settings as they stand; returns its canvas.
    const TCanvas& RedrawView(int v);

    // Set once the window starts closing: nothing is laid out or drawn from then on.
    bool IsClosing() const { return scene_.Closing; }
    void SetClosing() { scene_.Closing = true; }

    QToolButton* btnObj = nullptr;
    QLineEdit* Edit1 = nullptr; // path of the file being read
    QWidget* pnlModel = nullptr;
    QWidget* Pane[4] = {};
    TPaintBox* pbxModel = nullptr;
    TPaintBox* pbxXY = nullptr;
    TPaintBox* pbxYZ = nullptr;
    TPaintBox* pbxXZ = nullptr;

public slots:
    void btnObjClick(); // the object button: shows the object window just below it, or hides it

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TShell& shell_;
    TPreviewScene scene_;
    // A child window, freed before the scene (it owns the models the scene draws).
    std::unique_ptr<TfrmObj> objectWindow_;
    TPaintBox* paintBoxes_[4] = {};
};

} // namespace kalvo
