#pragma once

#include "gui/platform.h"

#include <QElapsedTimer>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <string>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QStatusBar;
class QToolBar;

namespace kalvo {

class TfrmModel;
struct TShell;

// A child window that can take a texture from a file: the Open command hands it the work
// instead of reading a model when such a window ("Map template") is the active child.
class TTextureOpenTarget
{
public:
    virtual ~TTextureOpenTarget() = default;
    virtual void btnOpenClick() = 0;
};

// A child window with menus of its own: while it is the active child, its menus stand in the
// main window's menu bar, in place of the main window's own window menu.
class TMergedMenus
{
public:
    virtual ~TMergedMenus() = default;
    virtual QList<QMenu*> MergedMenus() const = 0;
};

// The frame of the program, "Kalvo/3D": a multiple-document window holding the preview and map
// template windows, with the menu commands that move models in (Open) and out (Export), the
// settings and the information window, and a status bar with a progress bar that long reads
// use. Closing it ends the program.
class TMainForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit TMainForm(TShell& shell);
    ~TMainForm() override;

    // The active child window (the last one activated, even while a tool window has the focus),
    // or null.
    QWidget* ActiveChild() const;
    // The active child when it is a preview window.
    TfrmModel* ActivePreview() const;
    void ActivatePreview(TfrmModel& window);
    // Brings a child window (preview or map template) to the front and makes it the active one.
    void ActivateChild(QWidget& window);
    QList<TfrmModel*> PreviewWindows() const;

    // Reads the files into the active preview window (or a new one), each by its extension, as
    // the Open command does after its dialog. Files of other kinds are passed over; Cancel in
    // a read's progress dialog stops the files after it too.
    void OpenFiles(const QStringList& paths);

    // The status bar and progress bar of long reads. A read steps once per vertex or polygon;
    // the bar moves by the steps taken but is repainted at most every kProgressRepaintMs, as
    // repainting at every step would cost more than the read.
    void BeginProgress(const QString& text);
    void StepProgress();
    void EndProgress();
    static constexpr int kProgressRepaintMs = 50;

    QMdiArea* mdiArea = nullptr;
    QMenu* FileMenu = nullptr;
    QMenu* EditMenu = nullptr;
    QMenu* W1 = nullptr;
    QMenu* HelpMenu = nullptr;
    QAction* FileNewItem = nullptr;
    QAction* FileOpenItem = nullptr;
    QAction* FileSaveItem = nullptr;
    QAction* FileSaveAsItem = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* RDS1 = nullptr;
    QAction* N6 = nullptr;
    QAction* FileExitItem = nullptr;
    QAction* Tile1 = nullptr;
    QAction* HelpAboutItem = nullptr;
    QToolBar* SpeedBar = nullptr;
    QProgressBar* pbrStat = nullptr;
    QStatusBar* sbrStat = nullptr;
    QLabel* sbrStatPanel = nullptr;

    TFileDialog OpenDialog;
    TFileDialog sdlRDSwrite;

public slots:
    TfrmModel* FileNewItemClick(); // "新規作成": a new, empty preview window
    void mnuOpenClick();           // the Open command: a model file into the active preview
    void RDS1Click();              // the export command: selected models into an RDS file
    void N6Click();                // the settings dialog, then every preview is laid out again
    void Tile1Click();             // tiles the preview windows side by side
    void HelpAboutItemClick();     // the information window

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void OpenCommand(); // the Open command's work, run guarded by mnuOpenClick
    void CreateMenus();
    void CreateStatusBar();
    void LoadCursors();
    // The active child's own menus stand in the menu bar for W1 while it is the active one:
    // those it lists as TMergedMenus, or its "WindowMenu".
    void MergeWindowMenu();

    TShell& shell_;
    QList<QPointer<QMenu>> mergedMenus_;
    bool shownOnce_ = false;
    unsigned progressSteps_ = 0;
    QElapsedTimer progressClock_;
};

} // namespace kalvo
