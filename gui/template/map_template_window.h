#pragma once

#include "core/template/map_template.h"
#include "core/template/template_history.h"
#include "gui/main_form.h"
#include "gui/model_window.h"
#include "gui/platform.h"

#include <QDateTime>
#include <QPointer>
#include <QWidget>
#include <memory>

class QAction;
class QFileSystemWatcher;
class QMenu;
class QScrollBar;
class QTemporaryDir;
class QTimer;
class QToolButton;

namespace kalvo {

class TColourPanel;
class TTemplatePaintBox;
struct TShell;

// The map template window, "Map template": a child window of the main window in which the user
// works on one model's map template. It is the model's template (TMapTemplate, which the
// renderer samples for the texture preview) and wires a toolbar, a context menu, two menus
// merged into the main window's menu bar, scroll bars and a paint box to it.
//
// The object window's template command creates it (OpenMapTemplateWindow); it lives until the
// user closes it or its model goes. Closing detaches it from the model at once, so the model's
// texture previews fall back to flat colours; the object window closes it before it destroys
// the model. Every question, dialog, clipboard use, cursor and program start goes through the
// shell's platform.
class TfrmMapTemplate : public QWidget,
                        public TMapTemplate,
                        public TTextureOpenTarget,
                        public TMergedMenus
{
    Q_OBJECT

public:
    // The window of model, tied to preview, the preview window the model belongs to. The model
    // is recorded but the template is built only by SetupTemplate.
    TfrmMapTemplate(TShell& shell, TfrmModel* preview, TpreviewObj& model,
                    QWidget* parent = nullptr);
    ~TfrmMapTemplate() override;

    // (Re)builds the template at width x height as the core does, then fits the window to the
    // template (unless maximised), sizes the paint area and redraws. False, with nothing
    // changed, for sizes the template does not take.
    bool SetupTemplate(int width, int height);
    // After the model's (u, v) were replaced ("UV を生成"): sets the template up again at its
    // size from the new layout and range. The picture starts afresh from the layout, as after a
    // rotation, and the undo steps go: they hold (u, v) and pictures of the old layout.
    void RebuildLayout();

    // Zoomed template size and position in pnlCanvas: the panel of the template picture.
    struct TPaintRect
    {
        int Left = 0;
        int Top = 0;
        int Width = 0;
        int Height = 0;
    };
    const TPaintRect& PaintArea() const { return pnlPaint; }
    int ScrollOffsetX() const { return scrollX_; }
    int ScrollOffsetY() const { return scrollY_; }
    // The cursor slot the paint box shows now (kCursorDefault for the arrow).
    int ScreenCursor() const { return screenCursor_; }
    TTemplateHistory& History() { return history_; }
    TfrmModel* PreviewWindow() const { return preview_; }

    // Draws what the paint box shows of the template, left/top in paint-box pixels.
    void DrawView(TCanvas& canvas, int left, int top);

    // Menus to merge into the main window's menu bar while this window is active.
    QList<QMenu*> MergedMenus() const override;

    // --- Controls, named as the form names them ----------------------------------------------
    QWidget* PageScroller1 = nullptr;
    QWidget* pnlTemplate = nullptr; // the toolbar row
    QToolButton* btnOpen = nullptr;
    QToolButton* btnCopy = nullptr;
    QToolButton* SpeedButton1 = nullptr; // paint program
    QToolButton* btnPaste = nullptr;
    QToolButton* SpeedButton2 = nullptr; // zoom in
    QToolButton* SpeedButton3 = nullptr; // zoom out
    QToolButton* btnArrow = nullptr;
    QToolButton* btnPen = nullptr;
    TColourPanel* pnlPenCol = nullptr;
    QToolButton* SpeedButton4 = nullptr; // pen sizes 1, 4, 8, 16
    QToolButton* SpeedButton5 = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    QToolButton* SpeedButton7 = nullptr;
    QToolButton* btnTransparent = nullptr;
    TColourPanel* pnlTransparent = nullptr;
    QWidget* pnlHori = nullptr;
    QWidget* pnlVert = nullptr;
    QScrollBar* sbrHori = nullptr;
    QScrollBar* sbrVert = nullptr;
    QWidget* pnlCanvas = nullptr;
    TTemplatePaintBox* pbxTemplate = nullptr;

    QMenu* PopupMenu1 = nullptr;
    QAction* N4 = nullptr;   // キャンセル
    QAction* N901 = nullptr; // 90度右回転
    QAction* N1 = nullptr;   // 比率をあわせる
    QAction* N3 = nullptr;   // テンプレートサイズ変更...
    QAction* N7 = nullptr;   // 透過色をピックアップ

    QMenu* Edit1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* Paste1 = nullptr;
    QAction* Save1 = nullptr; // テンプレートを保存...
    QAction* Undo1 = nullptr;
    QAction* Redo1 = nullptr;
    QMenu* N8 = nullptr;
    QAction* N9 = nullptr;  // back to the preview window
    QAction* N11 = nullptr; // zoom in
    QAction* N12 = nullptr; // zoom out
    QAction* Tile1 = nullptr;

    TFileDialog OpenDialog;
    TFileDialog SaveDialog;

public slots:
    void btnOpenClick() override;
    void btnCopyClick();
    void btnPasteClick();
    void SpeedButton1Click();
    void ZoomIn();
    void ZoomOut();
    void btnArrowClick();
    void btnPenClick();
    void N4Click();
    void N7Click();
    void N901Click();
    void N1Click();
    void N3Click();
    void N9Click();
    void SaveTemplateClick();
    void UndoClick();
    void RedoClick();
    // The picture of path stretched over the template, as the open command does after its
    // dialog. False, with a message naming the file and the reason, when it cannot be read.
    bool LoadPictureFile(const QString& path);

    // After every release of the mouse on the template: the preview shows the new (u, v).
    void RestartPreview();
    // The resize handler: scroll bars and the position of the template picture.
    void FormResize();
    // Sizes the template picture to the zoom, then runs the resize handler.
    void ResizePaintArea();

    // The paint box's mouse, in paint-box pixels.
    void pbxTemplateMouseDown(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers keys);
    void pbxTemplateMouseMove(Qt::MouseButtons buttons, int x, int y);
    void pbxTemplateMouseUp(Qt::MouseButton button, int x, int y);
    void pbxTemplateWheel(int x, int y, QPoint angleDelta, Qt::KeyboardModifiers keys);
    void pbxTemplateLeave();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreateToolbar();
    void CreateMenus();
    void CreateCanvas();
    void ApplyColours();
    // After the template was set up: fits the window to it and redraws.
    void FitToTemplate();
    void SetTool(TTemplateTool tool);
    void SetSpaceHeld(bool held);
    void UpdateCursor();
    int HoverCursor(int x, int y) const;
    int ToolCursor() const;
    bool IsActiveTemplate() const;
    void ScrollBarChange(bool horizontal);
    void ScrollBy(int dx, int dy);
    void ZoomAbout(double factor, int canvasX, int canvasY);
    void RepaintTemplate();
    void RepaintTemplateRect(const TTemplateRect& rect);
    void Detach();
    void AfterHistoryStep();
    bool PictureIntoTemplate(const TCanvas& picture);
    void PlacePaintBox();
    bool StartPaintProgram(const QString& commandLine);
    void WatchLiveFile();
    void ReloadLiveFile();

    TShell& shell_;
    TPlatform& platform_;
    QPointer<TfrmModel> preview_;
    TTemplateHistory history_;

    TPaintRect pnlPaint; // the zoomed template in pnlCanvas coordinates
    int scrollX_ = 0;    // ScrollOffset, in template pixels from the centred position
    int scrollY_ = 0;
    bool scrollGuard_ = false;

    bool panning_ = false;
    bool dragging_ = false;
    bool stroking_ = false;
    int originX_ = 0;
    int originY_ = 0;
    int pickedEdge_ = -1;
    int pickedVertex_ = -1;
    bool spaceHeld_ = false;
    int pointerX_ = -1; // last pointer position over the paint box, paint-box pixels
    int pointerY_ = -1;
    bool pointerInside_ = false;
    int screenCursor_ = kCursorDefault;
    bool closed_ = false;

    // The live link with the paint program: the picture it edits and the watcher on it.
    std::unique_ptr<QTemporaryDir> liveDir_;
    QString liveFile_;
    QDateTime liveStamp_; // when the file was last written by us or taken in
    QFileSystemWatcher* liveWatcher_ = nullptr;
    QTimer* liveReload_ = nullptr;
};

// Opens the map template window of model at width x height in the main window, tied to the
// object window's preview window, and shows it at the top-left of the main window's client
// area. Returns the window, or null when the size is refused.
TfrmMapTemplate* OpenMapTemplateWindow(TShell& shell, TfrmModel* preview, TpreviewObj& model,
                                       int width, int height);

} // namespace kalvo
