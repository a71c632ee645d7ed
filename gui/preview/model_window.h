#pragma once

#include "core/preview/preview_scene.h"
#include "gui/preview/pane_widgets.h"

#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollArea;
class QToolButton;

namespace kalvo {

class TfrmObj;
struct TShell;

// The preview window, "Preview Window": a child of the main window showing the models of its
// object window in four panes (perspective, top, side, face). It owns its object window (and
// through it the models), the drawing state (TPreviewScene: camera, view state, bitmap buffer,
// the panes' canvases) and the navigation state of the mouse.
//
// Everything a pane shows is drawn by the scene; this window decides when, shows the canvases,
// and turns buttons, menus, keys and mouse motion into view changes. A pane asked to redraw is
// marked and drawn at its next paint, so a burst of mouse moves costs one picture. The object
// window calls RepaintAll after its list changed; the template window calls it after the
// texture or the (u, v) points changed.
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

    // The resize handler, also run after any change of layout, view or zoom: places the
    // panes, hands the perspective pane's size to the camera, sizes the bitmap buffer, marks
    // the active pane and moves the zoom label; every pane is redrawn.
    void Layout();
    // Makes pane v (0..3) the active view; a new orthographic one gets the pointer onto its
    // cross-hair.
    void SelectView(int v);
    // Redraws the four panes (perspective, top, side, face).
    void RepaintAll();
    // Paints pane v now (the perspective pane in the display mode) with the models of the
    // object window and the settings as they stand, and shows it; returns its canvas.
    const TCanvas& RedrawView(int v);
    const TCanvas& RedrawView(int v, int mode);
    // Moves the mouse pointer onto the cross-hair centre of orthographic pane v; nothing for
    // the perspective pane, nor where the system does not let programs move the pointer.
    void WarpPointer(int v);
    // True while a hidden-surface picture is being filled in on the timer.
    bool FillPending() const { return fillTimer_.isActive(); }

    // Set once the window starts closing: nothing is laid out, drawn or filled from then on.
    bool IsClosing() const { return scene_.Closing; }
    void SetClosing();

    // Toolbar.
    QScrollArea* PageScroller1 = nullptr;
    QWidget* Panel1 = nullptr;
    QToolButton* btnObj = nullptr;
    QToolButton* btnViewPoint = nullptr;
    QToolButton* btnView = nullptr;
    QToolButton* btnFrame = nullptr;
    QToolButton* btnZFlame = nullptr;
    QToolButton* btnZFlat = nullptr;
    QToolButton* btnZFlat2 = nullptr;
    QToolButton* btnTexture = nullptr;
    QLineEdit* Edit1 = nullptr; // path of the file being read

    // Panes; index = view (0 perspective, 1 top, 2 side, 3 face).
    QWidget* pnlModel = nullptr;
    TPreviewPane* Pane[4] = {};
    TPaintBox* pbxModel = nullptr;
    TPaintBox* pbxXY = nullptr;
    TPaintBox* pbxYZ = nullptr;
    TPaintBox* pbxXZ = nullptr;
    QLabel* pnlZoom = nullptr;

    // Menus. WindowMenu is merged into the main window's menu bar while this window is the
    // active one.
    QMenu* WindowMenu = nullptr;
    QAction* N5 = nullptr;
    QAction* N15 = nullptr;
    QAction* N16 = nullptr;
    QAction* Tile1 = nullptr;
    QMenu* popViewPoint = nullptr;
    QAction* N14 = nullptr;
    QAction* N27 = nullptr;
    QAction* mnuFrameAll = nullptr; // "全体表示", in both view menus
    QMenu* popZoom = nullptr;
    QMenu* popView = nullptr;
    QAction* N10 = nullptr;
    QAction* N8 = nullptr;
    QAction* N9 = nullptr;
    QAction* F1 = nullptr;
    QAction* N12 = nullptr;
    QAction* mnuChangeCenter = nullptr;
    QAction* mnuGo = nullptr;

public slots:
    // A click on btnObj: shows the object window at the button's lower-left corner, or hides it.
    void btnObjClick();
    void btnViewClick();
    void DisplayModeClick();
    void N5Click();
    void N15Click();
    void N16Click();
    void N12Click();
    void N14Click();
    void mnuGoClick();
    void mnuChangeCenterClick();
    void FrameAllClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateToolbar();
    void CreatePanes();
    void CreateMenus();
    void ApplyLayout();
    void MarkActivePane();
    void ZoomChanged(const QString& label);
    void RedrawOrthoPanes();
    void StripButtonClick(int tag);
    // The shown models a fill in progress started with.
    std::vector<std::pair<const TpreviewObj*, bool>> ShownModels() const;
    // Marks pane v for drawing in mode at its next paint.
    void Invalidate(int v, int mode);
    const TCanvas* PaintPane(int v);
    void FillTick();
    void StopFill();

    // Mouse, in the window's navigation file.
    void PaneMouseDown(TPaintBox& box, QMouseEvent& event);
    void PaneMouseMove(TPaintBox& box, QMouseEvent& event);
    void PaneMouseUp(TPaintBox& box, QMouseEvent& event);
    void PaneWheel(TPaintBox& box, QWheelEvent& event);
    void PerspectiveMouseMove(QMouseEvent& event);
    void PerspectiveMouseUp(QMouseEvent& event);
    void OrthoMouseMove(TPaintBox& box, QMouseEvent& event);
    void OrthoMouseUp(TPaintBox& box, QMouseEvent& event);
    void OpenViewMenu(TPaintBox& box, QPoint position, bool fromOrtho);
    void AutoHideObjectWindow();
    void btnObjMouseMove();
    void ShowObjectWindow(bool show);
    // The application-wide cursor from the keys and buttons held.
    void TrackInput(QEvent& event);
    void UpdateAppCursor();
    bool IsActivePreview() const;

    TShell& shell_;
    TPreviewScene scene_;
    // A child window, freed before the scene (it owns the models the scene draws).
    std::unique_ptr<TfrmObj> objectWindow_;
    TPaintBox* paintBoxes_[4] = {};
    QButtonGroup* modeGroup_ = nullptr;

    // Pending pictures: pane v is drawn in pendingMode_[v] at its next paint.
    bool dirty_[4] = {true, true, true, true};
    int pendingMode_[4] = {};
    bool dragBufferSwitch_ = false; // the pending perspective picture swaps the buffer kind
    QTimer fillTimer_;
    std::vector<std::pair<const TpreviewObj*, bool>> fillModels_;

    // Navigation.
    QPoint lastMouse_;
    QPoint rightDown_;
    Qt::MouseButtons lastButtons_;
    int moveSkip_ = 0;
    QPoint panePrevious_[3];
    int pressedBox_ = -1; // the paint box the left button went down in, for its click
    int wheelRemainder_ = 0;

    // Keys and buttons held, from the input events.
    bool spaceHeld_ = false;
    bool ctrlHeld_ = false;
    bool shiftHeld_ = false;
    bool leftHeld_ = false;
    bool rightHeld_ = false;
    bool cursorUpdateQueued_ = false;
    // Sees every input event of the application for TrackInput. A filter of its own, so that
    // this window's filter on its controls does not see their events twice.
    std::unique_ptr<QObject> inputTracker_;
};

} // namespace kalvo
