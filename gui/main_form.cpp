#include "gui/main_form.h"

#include "core/settings/settings.h"
#include "gui/command_guard.h"
#include "gui/cpu_state.h"
#include "gui/environ_dialog.h"
#include "gui/export_command.h"
#include "gui/info_window.h"
#include "gui/open_command.h"
#include "gui/preview/model_window.h"
#include "gui/shell.h"
#include "gui/shipped_files.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace kalvo {

namespace {

const QString kPreviewCaption = QStringLiteral("Preview Window");
const QString kTemplateCaption = QStringLiteral("Map template");

// The cursor files the main window loads at start, by slot.
constexpr std::pair<int, const char*> kCursorFiles[] = {
    {kCursorHand, "HAND.cur"},        {kCursorView, "VIEW.cur"},
    {kCursorPickup, "PICKUP.cur"},    {kCursorEdgeSelect, "ESel.cur"},
    {kCursorPointSelect, "PSel.cur"}, {kCursorPen, "Pen.cur"},
};

QStringList LocalFiles(const QMimeData* data)
{
    QStringList files;
    if (!data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && FilterIndexOfPath(url.toLocalFile()) != 0)
            files << url.toLocalFile();
    return files;
}

} // namespace

TMainForm::TMainForm(TShell& shell) : shell_(shell)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Kalvo/3D"));
    setAcceptDrops(true);

    mdiArea = new QMdiArea(this);
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea);

    OpenDialog.Filter = OpenDialogFilter();
    // Opens on every model kind, so that any file the program reads is shown and read by its
    // extension, whatever filter a user would have had to pick first.
    OpenDialog.FilterIndex = kFilterAllModels;
    sdlRDSwrite.Filter = QStringLiteral("RayDream Studio 5(*.rds)|*.rds");
    sdlRDSwrite.DefaultExt = QStringLiteral("*.rds");

    CreateMenus();
    CreateStatusBar();
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &TMainForm::MergeWindowMenu);
    // The Alt key alone would move the focus into the menu bar, away from the views that
    // watch the keyboard. Filters installed last see events first, so this one comes before
    // the menu bar's own.
    qApp->installEventFilter(this);
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
    // The child windows (and the menus merged from one of them) outlive this body: Qt deletes
    // them only in the base class's destructor, where their signals must no longer reach this
    // half-destroyed window.
    disconnect(mdiArea, nullptr, this, nullptr);
    for (const QPointer<QMenu>& menu : mergedMenus_)
        if (menu)
            disconnect(menu, nullptr, this, nullptr);
    // Preview windows refer to the other long-lived windows through the shell; close them
    // while everything they may touch still exists.
    for (TfrmModel* window : PreviewWindows())
        window->SetClosing();
    mdiArea->closeAllSubWindows();
    for (QMdiSubWindow* sub : mdiArea->subWindowList())
        delete sub;
}

void TMainForm::CreateMenus()
{
    FileMenu = menuBar()->addMenu(tr("ファイル(&F)"));
    FileNewItem = FileMenu->addAction(tr("新規作成(&N)"));
    FileOpenItem = FileMenu->addAction(tr("開く(&O)..."));
    FileSaveItem = FileMenu->addAction(tr("上書き保存(&S)"));
    FileSaveAsItem = FileMenu->addAction(tr("名前をつけて保存(&A)..."));
    for (QAction* unused : {FileOpenItem, FileSaveItem, FileSaveAsItem})
        unused->setEnabled(false);
    FileMenu->addSeparator();
    mnuOpen = FileMenu->addAction(tr("読み込み..."));
    RDS1 = FileMenu->addAction(tr("RDS書き出し..."));
    FileMenu->addSeparator();
    N6 = FileMenu->addAction(tr("環境設定..."));
    FileMenu->addSeparator();
    FileExitItem = FileMenu->addAction(tr("終了(&X)"));

    EditMenu = menuBar()->addMenu(tr("編集(&E)"));
    EditMenu->addAction(tr("切り取り(&T)"));
    EditMenu->addAction(tr("コピー(&C)"));
    EditMenu->addAction(tr("貼り付け(&P)"));
    EditMenu->menuAction()->setVisible(false);

    W1 = menuBar()->addMenu(tr("ウインドウ(&W)"));
    Tile1 = W1->addAction(tr("並べて表示"));

    HelpMenu = menuBar()->addMenu(tr("ヘルプ(&H)"));
    HelpAboutItem = HelpMenu->addAction(tr("バージョン情報(&A)..."));

    SpeedBar = addToolBar(QStringLiteral("SpeedBar"));
    SpeedBar->setObjectName(QStringLiteral("SpeedBar"));
    QAction* speedNew =
        SpeedBar->addAction(style()->standardIcon(QStyle::SP_FileIcon), tr("新規作成"));
    SpeedBar->hide();

    connect(FileNewItem, &QAction::triggered, this, &TMainForm::FileNewItemClick);
    connect(speedNew, &QAction::triggered, this, &TMainForm::FileNewItemClick);
    connect(mnuOpen, &QAction::triggered, this, &TMainForm::mnuOpenClick);
    connect(RDS1, &QAction::triggered, this, &TMainForm::RDS1Click);
    connect(N6, &QAction::triggered, this, &TMainForm::N6Click);
    connect(FileExitItem, &QAction::triggered, this, &QWidget::close);
    connect(Tile1, &QAction::triggered, this, &TMainForm::Tile1Click);
    connect(HelpAboutItem, &QAction::triggered, this, &TMainForm::HelpAboutItemClick);
}

void TMainForm::CreateStatusBar()
{
    pbrStat = new QProgressBar(this);
    pbrStat->setObjectName(QStringLiteral("pbrStat"));
    pbrStat->setRange(0, 500);
    pbrStat->setValue(0);
    pbrStat->setTextVisible(false);
    pbrStat->setFixedWidth(150);
    pbrStat->hide();

    sbrStat = new QStatusBar(this);
    sbrStat->setObjectName(QStringLiteral("sbrStat"));
    sbrStat->setSizeGripEnabled(false);
    sbrStatPanel = new QLabel(QStringLiteral("Kalvo/3D (β2 version)"), sbrStat);
    sbrStatPanel->setMinimumWidth(500);
    sbrStat->addWidget(sbrStatPanel);

    QStatusBar* pnlStat = statusBar();
    pnlStat->setObjectName(QStringLiteral("pnlStat"));
    pnlStat->addWidget(pbrStat);
    pnlStat->addWidget(sbrStat, 1);
}

void TMainForm::LoadCursors()
{
    for (const auto& [slot, file] : kCursorFiles)
        shell_.Platform->LoadCursorFile(
            slot, ShippedFilePath(QString::fromLatin1(file), TLookFirst::CurrentFolder));
}

void TMainForm::MergeWindowMenu()
{
    QWidget* child = ActiveChild();
    QList<QMenu*> menus;
    if (const auto* merging = dynamic_cast<const TMergedMenus*>(child))
        menus = merging->MergedMenus();
    else if (QMenu* menu = child ? child->findChild<QMenu*>(QStringLiteral("WindowMenu"),
                                                            Qt::FindDirectChildrenOnly)
                                 : nullptr)
        menus << menu;
    QList<QMenu*> current;
    for (const QPointer<QMenu>& menu : mergedMenus_)
        if (menu)
            current << menu.data();
    if (menus == current)
        return;
    for (QMenu* menu : current) {
        menuBar()->removeAction(menu->menuAction());
        // A menu no longer shown has no say when it goes; it may outlive this window.
        disconnect(menu, &QObject::destroyed, this, nullptr);
    }
    mergedMenus_.clear();
    for (QMenu* menu : menus) {
        menuBar()->insertMenu(W1->menuAction(), menu);
        mergedMenus_ << menu;
        // The last child closing takes its menus with it: W1 comes back.
        connect(menu, &QObject::destroyed, this, [this] {
            for (const QPointer<QMenu>& merged : mergedMenus_)
                if (merged)
                    return;
            W1->menuAction()->setVisible(true);
        });
    }
    W1->menuAction()->setVisible(menus.isEmpty());
}

QWidget* TMainForm::ActiveChild() const
{
    QMdiSubWindow* sub = mdiArea->currentSubWindow();
    return sub ? sub->widget() : nullptr;
}

TfrmModel* TMainForm::ActivePreview() const
{
    QWidget* child = ActiveChild();
    if (!child || child->windowTitle() != kPreviewCaption)
        return nullptr;
    return qobject_cast<TfrmModel*>(child);
}

void TMainForm::ActivatePreview(TfrmModel& window) { ActivateChild(window); }

void TMainForm::ActivateChild(QWidget& window)
{
    for (QMdiSubWindow* sub : mdiArea->subWindowList()) {
        if (sub->widget() == &window) {
            sub->show();
            mdiArea->setActiveSubWindow(sub);
        }
    }
}

QList<TfrmModel*> TMainForm::PreviewWindows() const
{
    QList<TfrmModel*> windows;
    for (QMdiSubWindow* sub : mdiArea->subWindowList())
        if (auto* window = qobject_cast<TfrmModel*>(sub->widget()))
            windows << window;
    return windows;
}

TfrmModel* TMainForm::FileNewItemClick()
{
    auto* window = new TfrmModel(shell_);
    // The sub-window takes its size when first shown; the preview opens at its design size.
    const QSize designSize = window->size();
    QMdiSubWindow* sub = mdiArea->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    if (CurrentSettings(shell_).NewWindowMaxim) {
        sub->showMaximized();
    } else {
        sub->show();
        sub->resize(designSize.grownBy(sub->contentsMargins()) +
                    QSize(0, sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub)));
    }
    mdiArea->setActiveSubWindow(sub);
    return window;
}

void TMainForm::mnuOpenClick()
{
    RunCommand(shell_.Platform, [this] { OpenCommand(); });
}

void TMainForm::OpenCommand()
{
    QWidget* child = ActiveChild();
    if (child && child->windowTitle() == kTemplateCaption) {
        if (auto* target = dynamic_cast<TTextureOpenTarget*>(child))
            target->btnOpenClick();
        return;
    }
    TfrmModel* target = ActivePreview();
    if (!target)
        return;

    OpenDialog.InitialDir = QString::fromStdString(CurrentSettings(shell_).OpenDir);
    if (!shell_.Platform->OpenFileDialog(OpenDialog))
        return;
    const QString path = OpenDialog.FileName;
    // A file the system could not read ends the command; format errors do not.
    if (ReadModelInto(shell_, *target, path, OpenDialog.FilterIndex) == TOpenResult::Read)
        RememberOpenFolder(shell_, FolderOfFile(path));
}

void TMainForm::OpenFiles(const QStringList& paths)
{
    TfrmModel* target = ActivePreview();
    if (!target) {
        const QList<TfrmModel*> windows = PreviewWindows();
        target = windows.isEmpty() ? FileNewItemClick() : windows.first();
    }
    for (const QString& path : paths) {
        const int filterIndex = FilterIndexOfPath(path);
        if (filterIndex == 0)
            continue;
        // A file that fails leaves the files after it to be read; Cancel stops them all.
        TOpenResult result = TOpenResult::Failed;
        RunCommand(shell_.Platform, [&] {
            result = ReadModelInto(shell_, *target, path, filterIndex);
            if (result == TOpenResult::Read)
                RememberOpenFolder(shell_, FolderOfFile(path));
        });
        if (result == TOpenResult::Cancelled)
            break;
    }
}

void TMainForm::RDS1Click()
{
    // A failed export leaves any existing file as it was: the writer replaces it only once the
    // new one is complete.
    if (TfrmModel* window = ActivePreview())
        RunCommand(shell_.Platform, [&] { ExportSelectedObjects(shell_, *window, sdlRDSwrite); });
}

void TMainForm::N6Click()
{
    if (!shell_.Environ)
        return;
    RunCommand(shell_.Platform, [this] {
        shell_.ShowModal(*shell_.Environ);
        // Colours and drawing methods may have changed: the views show them at once.
        for (TfrmModel* window : PreviewWindows())
            window->Layout();
    });
}

void TMainForm::Tile1Click() { mdiArea->tileSubWindows(); }

void TMainForm::HelpAboutItemClick()
{
    if (shell_.Info)
        shell_.ShowModal(*shell_.Info);
}

void TMainForm::BeginProgress(const QString& text)
{
    pbrStat->show();
    sbrStat->showMessage(text);
    sbrStat->repaint();
    progressSteps_ = static_cast<unsigned>(pbrStat->value());
    progressClock_.start();
}

void TMainForm::StepProgress()
{
    // The clock is read once every 1024 steps only: a step must cost next to nothing.
    if (++progressSteps_ % 1024 != 0 || progressClock_.elapsed() < kProgressRepaintMs)
        return;
    progressClock_.restart();
    pbrStat->setValue(static_cast<int>(progressSteps_ % static_cast<unsigned>(pbrStat->maximum())));
    ClearUpperVectorState(); // the bar's painting may leave them dirty; the read goes on
}

void TMainForm::EndProgress()
{
    sbrStat->clearMessage();
    pbrStat->hide();
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    LoadCursors();
    FileNewItemClick();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    for (TfrmModel* window : PreviewWindows())
        window->SetClosing();
    event->accept();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease ||
        type == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Alt && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == this)
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event)
{
    const QStringList files = LocalFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    OpenFiles(files);
}

} // namespace kalvo
