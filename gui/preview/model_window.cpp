#include "gui/preview/model_window.h"

#include "core/model/box.h"
#include "core/model/preview_obj.h"
#include "core/preview/draw_settings.h"
#include "core/preview/navigation.h"
#include "core/settings/settings.h"
#include "gui/main_form.h"
#include "gui/object_window.h"
#include "gui/platform.h"
#include "gui/preview/toolbar_glyphs.h"
#include "gui/shell.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kalvo {

namespace {

constexpr int kToolbarHeight = 24;
constexpr int kPanelWidth = 500;
constexpr QSize kZoomLabelSize{26, 17};

QToolButton* ToolButton(QWidget* parent, const char* name, const QString& hint, int width)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setFixedSize(width, 22);
    button->setIconSize(QSize(16, 16));
    button->setAutoRaise(true);
    // The keyboard belongs to the views: Space must reach the cursor, not click a button.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QFrame* Separator(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedSize(8, 20);
    return line;
}

QAction* MenuItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// Whether a key pressed matches a key setting: the setting's first character against the key's
// code, which for letters is the upper-case letter. An empty setting never matches.
bool IsHotKey(int key, const std::string& setting)
{
    const char32_t code = ShortcutKey(setting);
    return code != 0 && static_cast<int>(code) == key;
}

} // namespace

TfrmModel::TfrmModel(TShell& shell, QWidget* parent) : QWidget(parent), shell_(shell)
{
    setObjectName(QStringLiteral("frmModel"));
    setWindowTitle(QStringLiteral("Preview Window"));
    setFocusPolicy(Qt::StrongFocus);
    resize(503, 342);

    CreateToolbar();
    CreatePanes();
    CreateMenus();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PageScroller1);
    layout->addWidget(pnlModel, 1);

    Edit1 = new QLineEdit(this);
    Edit1->hide();

    fillTimer_.setInterval(0);
    connect(&fillTimer_, &QTimer::timeout, this, &TfrmModel::FillTick);

    objectWindow_ = std::make_unique<TfrmObj>(shell_, *this);
    scene_.Models = &objectWindow_->Models();
    qApp->installEventFilter(this);
}

TfrmModel::~TfrmModel()
{
    qApp->removeEventFilter(this);
    // The object window (declared after the scene) goes first, with the models and their
    // template windows; nothing draws meanwhile.
    SetClosing();
}

void TfrmModel::SetClosing()
{
    scene_.Closing = true;
    StopFill();
}

void TfrmModel::CreateToolbar()
{
    PageScroller1 = new QScrollArea(this);
    PageScroller1->setObjectName(QStringLiteral("PageScroller1"));
    PageScroller1->setFrameShape(QFrame::NoFrame);
    PageScroller1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PageScroller1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    PageScroller1->setWidgetResizable(false);
    PageScroller1->setFixedHeight(kToolbarHeight);
    PageScroller1->horizontalScrollBar()->installEventFilter(this);

    Panel1 = new QWidget;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedSize(kPanelWidth, kToolbarHeight);
    Panel1->setAutoFillBackground(true);
    QPalette light = Panel1->palette();
    light.setColor(QPalette::Window, light.color(QPalette::Light));
    Panel1->setPalette(light);
    Panel1->setMouseTracking(true);
    Panel1->installEventFilter(this);

    btnObj = ToolButton(Panel1, "btnObj",
                        QStringLiteral("オブジェクト選択やテンプレート作成作業等を行います"), 110);
    btnObj->setText(QStringLiteral("   オブジェクト  "));
    btnObj->setCheckable(true);
    QFont bold = btnObj->font();
    bold.setBold(true);
    btnObj->setFont(bold);
    btnObj->setMouseTracking(true);
    btnObj->installEventFilter(this);
    connect(btnObj, &QToolButton::clicked, this, [this] { ShowObjectWindow(btnObj->isChecked()); });

    btnViewPoint = ToolButton(Panel1, "btnViewPoint", QStringLiteral("視点変更"), 40);
    btnViewPoint->setText(QStringLiteral("視点"));
    connect(btnViewPoint, &QToolButton::clicked, this,
            [this] { popViewPoint->popup(shell_.Platform->PointerPos()); });

    btnView = ToolButton(Panel1, "btnView", QStringLiteral("図面表示方法の選択を行います"), 24);
    btnView->setCheckable(true);
    btnView->setIcon(GlyphIcon(TGlyph::ThreeView));
    btnView->setMouseTracking(true);
    btnView->installEventFilter(this);
    connect(btnView, &QToolButton::clicked, this, &TfrmModel::btnViewClick);

    btnFrame = ToolButton(Panel1, "btnFrame", QStringLiteral("稜線プレビュー"), 24);
    btnZFlame = ToolButton(Panel1, "btnZFlame", QStringLiteral("陰影付き稜線プレビュー"), 24);
    btnZFlat = ToolButton(Panel1, "btnZFlat", QStringLiteral("隠面消去＋稜線プレビュー"), 24);
    btnZFlat2 = ToolButton(Panel1, "btnZFlat2", QStringLiteral("隠面消去プレビュー"), 24);
    const std::pair<QToolButton*, TGlyph> modes[] = {{btnFrame, TGlyph::Wireframe},
                                                     {btnZFlame, TGlyph::ShadedWireframe},
                                                     {btnZFlat, TGlyph::HiddenWithEdges},
                                                     {btnZFlat2, TGlyph::HiddenSurface}};
    modeGroup_ = new QButtonGroup(this);
    modeGroup_->setExclusive(true);
    for (const auto& [button, glyph] : modes) {
        button->setCheckable(true);
        button->setIcon(GlyphIcon(glyph));
        modeGroup_->addButton(button);
        connect(button, &QToolButton::clicked, this, &TfrmModel::DisplayModeClick);
    }
    btnFrame->setChecked(true);

    btnTexture = ToolButton(Panel1, "btnTexture", QStringLiteral("テクスチャ プレビュー"), 24);
    btnTexture->setCheckable(true);
    btnTexture->setChecked(true);
    btnTexture->setIcon(GlyphIcon(TGlyph::Texture));

    auto* row = new QHBoxLayout(Panel1);
    row->setContentsMargins(1, 1, 1, 1);
    row->setSpacing(0);
    row->addWidget(btnObj);
    row->addWidget(Separator(Panel1));
    row->addWidget(btnViewPoint);
    row->addWidget(btnView);
    row->addWidget(Separator(Panel1));
    for (const auto& mode : modes)
        row->addWidget(mode.first);
    row->addWidget(Separator(Panel1));
    row->addWidget(btnTexture);
    row->addStretch();
    PageScroller1->setWidget(Panel1);
}

void TfrmModel::CreatePanes()
{
    pnlModel = new QWidget(this);
    pnlModel->setObjectName(QStringLiteral("pnlModel"));
    pnlModel->setAutoFillBackground(true);
    QPalette white = pnlModel->palette();
    white.setColor(QPalette::Window, Qt::white);
    pnlModel->setPalette(white);
    pnlModel->installEventFilter(this);

    const char* const paneNames[4] = {"pnlPers", "pnlXY", "pnlYZ", "pnlXZ"};
    const char* const boxNames[4] = {"pbxModel", "pbxXY", "pbxYZ", "pbxXZ"};
    const char* const buttonNames[4] = {"btnModel", "SpeedButton1", "SpeedButton2", "SpeedButton3"};
    const QString hints[4] = {QStringLiteral("パースペクティブビュー"),
                              QStringLiteral("トップビュー"), QStringLiteral("サイドビュー"),
                              QStringLiteral("フェイスビュー")};
    for (int v = 0; v < 4; ++v) {
        Pane[v] = new TPreviewPane(v, hints[v], pnlModel);
        Pane[v]->setObjectName(QString::fromLatin1(paneNames[v]));
        Pane[v]->StripButton->setObjectName(QString::fromLatin1(buttonNames[v]));
        connect(Pane[v]->StripButton, &QToolButton::clicked, this,
                [this, v] { StripButtonClick(v); });
        TPaintBox* box = Pane[v]->PaintBox;
        box->setObjectName(QString::fromLatin1(boxNames[v]));
        box->setFocusPolicy(Qt::ClickFocus);
        box->OnPaint = [this, v] { return PaintPane(v); };
        box->installEventFilter(this);
        paintBoxes_[v] = box;
        Pane[v]->hide();
    }
    pbxModel = paintBoxes_[0];
    pbxXY = paintBoxes_[1];
    pbxYZ = paintBoxes_[2];
    pbxXZ = paintBoxes_[3];

    pnlZoom = new QLabel(QStringLiteral("1:1"), pnlModel);
    pnlZoom->setObjectName(QStringLiteral("pnlZoom"));
    pnlZoom->setFixedSize(kZoomLabelSize);
    pnlZoom->setAlignment(Qt::AlignCenter);
    pnlZoom->setFrameShape(QFrame::Panel);
    pnlZoom->setFrameShadow(QFrame::Raised);
    pnlZoom->setAutoFillBackground(true);
    pnlZoom->setContextMenuPolicy(Qt::PreventContextMenu);
    pnlZoom->installEventFilter(this);
}

void TfrmModel::CreateMenus()
{
    WindowMenu = new QMenu(QStringLiteral("ウインドウ(&W)"), this);
    WindowMenu->setObjectName(QStringLiteral("WindowMenu"));
    N5 = MenuItem(WindowMenu, "N5", QStringLiteral("テンプレートに切り替え"));
    N5->setShortcut(QKeySequence(Qt::Key_F2));
    N15 = MenuItem(WindowMenu, "N15", QStringLiteral("ズームイン"));
    N15->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
    N16 = MenuItem(WindowMenu, "N16", QStringLiteral("ズームアウト"));
    N16->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F2));
    Tile1 = MenuItem(WindowMenu, "Tile1", QStringLiteral("並べて表示(&T)"));
    Tile1->setShortcut(QKeySequence(Qt::Key_F3));
    connect(N5, &QAction::triggered, this, &TfrmModel::N5Click);
    connect(N15, &QAction::triggered, this, &TfrmModel::N15Click);
    connect(N16, &QAction::triggered, this, &TfrmModel::N16Click);
    connect(Tile1, &QAction::triggered, this, [this] {
        if (shell_.MainForm)
            shell_.MainForm->Tile1Click();
    });

    // "全体表示" works from the keyboard whenever the focus is in this window.
    mnuFrameAll = new QAction(QStringLiteral("全体表示"), this);
    mnuFrameAll->setObjectName(QStringLiteral("mnuFrameAll"));
    mnuFrameAll->setShortcut(QKeySequence(Qt::Key_Home));
    mnuFrameAll->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(mnuFrameAll);
    connect(mnuFrameAll, &QAction::triggered, this, &TfrmModel::FrameAllClick);

    popViewPoint = new QMenu(this);
    popViewPoint->setObjectName(QStringLiteral("popViewPoint"));
    QAction* save = popViewPoint->addAction(GlyphIcon(TGlyph::SaveViewpoint),
                                            QStringLiteral("現在の視点を保存"));
    save->setEnabled(false);
    popViewPoint->addSeparator();
    N14 = MenuItem(popViewPoint, "N14", QStringLiteral("原点を注視点に"));
    N14->setIcon(GlyphIcon(TGlyph::TargetOrigin));
    N27 = MenuItem(popViewPoint, "N27", QStringLiteral("選択オブジェクトの中心へ"));
    popViewPoint->addAction(mnuFrameAll);
    popViewPoint->addSeparator();
    for (const TFixedViewpoint& viewpoint : FixedViewpoints()) {
        QAction* item =
            MenuItem(popViewPoint, viewpoint.Item, QString::fromUtf8(viewpoint.Caption));
        connect(item, &QAction::triggered, this, [this, &viewpoint] {
            ApplyFixedViewpoint(scene_.View, scene_.Camera, viewpoint);
            Invalidate(0, scene_.DisplayMode);
        });
    }
    popViewPoint->addSeparator();
    popViewPoint->addAction(QStringLiteral("数値入力..."))->setEnabled(false);
    connect(N14, &QAction::triggered, this, &TfrmModel::N14Click);
    connect(N27, &QAction::triggered, this, &TfrmModel::mnuGoClick);

    popZoom = new QMenu(this);
    popZoom->setObjectName(QStringLiteral("popZoom"));
    for (const TZoomItem& zoom : ZoomItems()) {
        QAction* item = MenuItem(popZoom, zoom.Item, QString::fromUtf8(zoom.Caption));
        connect(item, &QAction::triggered, this, [this, &zoom] {
            scene_.View.OrthoZoom = ZoomForItem(zoom);
            ZoomChanged(QString::fromUtf8(zoom.Caption));
        });
    }

    popView = new QMenu(this);
    popView->setObjectName(QStringLiteral("popView"));
    N10 = MenuItem(popView, "N10", QStringLiteral(" ＋゜ パースビュー(R)"));
    N8 = MenuItem(popView, "N8", QStringLiteral("゜＋  トップビュー(E)"));
    N9 = MenuItem(popView, "N9", QStringLiteral("｡＋  サイドビュー(D)"));
    F1 = MenuItem(popView, "F1", QStringLiteral(" ＋。 フェイスビュー (F)"));
    popView->addSeparator();
    N12 = MenuItem(popView, "N12", QStringLiteral("最大<->標準 切り替え(W)"));
    popView->addSeparator();
    mnuChangeCenter =
        MenuItem(popView, "mnuChangeCenter", QStringLiteral("ここを表示の中心にする"));
    mnuGo = MenuItem(popView, "mnuGo", QStringLiteral("選択オブジェクトの中心"));
    popView->addAction(mnuFrameAll);
    const std::pair<QAction*, int> views[] = {{N10, 0}, {N8, 1}, {N9, 2}, {F1, 3}};
    for (const auto& [item, view] : views)
        connect(item, &QAction::triggered, this, [this, v = view] { SelectView(v); });
    connect(N12, &QAction::triggered, this, &TfrmModel::N12Click);
    connect(mnuChangeCenter, &QAction::triggered, this, &TfrmModel::mnuChangeCenterClick);
    connect(mnuGo, &QAction::triggered, this, &TfrmModel::mnuGoClick);
}

// --- Layout and views ------------------------------------------------------------------------

void TfrmModel::Layout()
{
    if (IsClosing())
        return;
    scene_.Settings = DrawSettingsFrom(CurrentSettings(shell_));
    scene_.ThreeView = btnView->isChecked();
    scene_.Layout(pnlModel->width(), pnlModel->height());
    ApplyLayout();
    for (int v = 0; v < 4; ++v)
        Invalidate(v, v == 0 ? scene_.DisplayMode : 0);
}

void TfrmModel::ApplyLayout()
{
    const TPaneLayout& layout = scene_.Panes();
    for (int v = 0; v < 4; ++v) {
        const TPaneRect& pane = layout.Pane[v];
        Pane[v]->setGeometry(pane.Left, pane.Top, pane.Width, pane.Height);
        const TPaneRect box = layout.PaintBox(v);
        paintBoxes_[v]->setGeometry(box.Left, box.Top, std::max(box.Width, 0),
                                    std::max(box.Height, 0));
        Pane[v]->setVisible(layout.Shown[v]);
    }
    MarkActivePane();
}

void TfrmModel::MarkActivePane()
{
    const int active = scene_.View.ActiveView;
    for (int v = 0; v < 4; ++v)
        Pane[v]->SetActive(v == active);
    const TPixel corner =
        scene_.ZoomLabelPosition(kZoomLabelSize.height(), TPreviewPane::kStripWidth);
    pnlZoom->move(corner.x, corner.y);
    pnlZoom->raise();
}

void TfrmModel::SelectView(int v)
{
    if (v < 0 || v > 3)
        return;
    const bool changed = scene_.SelectView(v);
    if (changed && (scene_.SplitView == 0 || scene_.ThreeView))
        Layout();
    else
        MarkActivePane();
    if (changed)
        WarpPointer(v);
}

void TfrmModel::WarpPointer(int v)
{
    if (v < 1 || v > 3 || !shell_.Platform)
        return;
    const TCanvas& pane = scene_.Pane(v);
    const TViewState& view = scene_.View;
    const TPixel centre = OrthoProject(v, view.CursorPoint, view.OrthoCentre,
                                       OrthoScaleFor(pane.Width(), view.OrthoZoom),
                                       pane.Width() / 2, pane.Height() / 2);
    shell_.Platform->SetPointerPos(paintBoxes_[v]->mapToGlobal(QPoint(centre.x, centre.y)));
}

void TfrmModel::StripButtonClick(int tag)
{
    scene_.View.ActiveView = tag;
    scene_.SplitView = 1 - scene_.SplitView;
    Layout();
}

void TfrmModel::btnViewClick()
{
    if (!btnView->isChecked())
        scene_.SplitView = 1;
    else if (scene_.View.ActiveView == 0)
        scene_.View.ActiveView = 1;
    Layout();
}

void TfrmModel::N12Click()
{
    scene_.SplitView = 1 - scene_.SplitView;
    Layout();
}

void TfrmModel::DisplayModeClick()
{
    scene_.DisplayMode = (btnZFlame->isChecked() ? 1 : 0) + 2 * (btnZFlat->isChecked() ? 1 : 0) +
                         3 * (btnZFlat2->isChecked() ? 1 : 0);
    scene_.Settings = DrawSettingsFrom(CurrentSettings(shell_));
    scene_.PrepareBuffer(scene_.DisplayMode);
    Invalidate(0, scene_.DisplayMode);
}

void TfrmModel::keyPressEvent(QKeyEvent* event)
{
    const TSettings& settings = CurrentSettings(shell_);
    const int key = event->key();
    if (IsHotKey(key, settings.TopView))
        SelectView(1);
    else if (IsHotKey(key, settings.SideView))
        SelectView(2);
    else if (IsHotKey(key, settings.FaceView))
        SelectView(3);
    else if (IsHotKey(key, settings.PersView))
        SelectView(0);
    else if (IsHotKey(key, settings.Change))
        N12Click();
    QWidget::keyPressEvent(event);
}

// --- Menus -------------------------------------------------------------------------------------

void TfrmModel::N5Click()
{
    TpreviewObj* model = objectWindow_->CurrentModel();
    QWidget* window = model ? objectWindow_->TemplateWindowOf(*model) : nullptr;
    if (!window)
        return;
    if (shell_.ShowMapTemplate) {
        shell_.ShowMapTemplate(*model);
        return;
    }
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()); sub && sub->mdiArea()) {
        sub->show();
        sub->mdiArea()->setActiveSubWindow(sub);
        return;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void TfrmModel::N15Click()
{
    if (ZoomIn(scene_.View.OrthoZoom))
        ZoomChanged(QString::fromStdString(ZoomLabel(scene_.View.OrthoZoom)));
}

void TfrmModel::N16Click()
{
    if (ZoomOut(scene_.View.OrthoZoom))
        ZoomChanged(QString::fromStdString(ZoomLabel(scene_.View.OrthoZoom)));
}

void TfrmModel::ZoomChanged(const QString& label)
{
    pnlZoom->setText(label);
    Layout();
}

void TfrmModel::N14Click()
{
    TargetOrigin(scene_.View, scene_.Camera);
    Invalidate(0, scene_.DisplayMode);
}

void TfrmModel::mnuGoClick()
{
    const std::optional<TBox> box = objectWindow_->SelectedBox();
    if (!box)
        return;
    switch (CentreOnBoxes(scene_.View, scene_.Camera, std::span<const TBox>(&*box, 1))) {
    case TViewChange::Perspective:
        Invalidate(0, scene_.DisplayMode);
        break;
    case TViewChange::Ortho:
        RedrawOrthoPanes();
        break;
    case TViewChange::None:
        break;
    }
}

void TfrmModel::mnuChangeCenterClick()
{
    scene_.View.OrthoCentre = scene_.View.CursorPoint;
    RedrawOrthoPanes();
}

void TfrmModel::FrameAllClick()
{
    std::optional<TBox> all;
    for (const TModelEntry& entry : objectWindow_->Models()) {
        const std::optional<TBox> box = entry.Shown ? BoxOf(*entry.Model) : std::nullopt;
        if (!box)
            continue;
        if (all)
            Unite(*all, *box);
        else
            all = box;
    }
    if (!all)
        return;
    int widths[3];
    int heights[3];
    for (int v = 1; v <= 3; ++v) {
        widths[v - 1] = scene_.Pane(v).Width();
        heights[v - 1] = scene_.Pane(v).Height();
    }
    FrameBox(scene_.View, scene_.Camera, *all, widths, heights);
    ZoomChanged(QString::fromStdString(ZoomLabel(scene_.View.OrthoZoom)));
}

// --- Drawing -----------------------------------------------------------------------------------

std::vector<std::pair<const TpreviewObj*, bool>> TfrmModel::ShownModels() const
{
    std::vector<std::pair<const TpreviewObj*, bool>> models;
    for (const TModelEntry& entry : objectWindow_->Models())
        models.emplace_back(entry.Model.get(), entry.Shown);
    return models;
}

void TfrmModel::Invalidate(int v, int mode)
{
    dirty_[v] = true;
    pendingMode_[v] = mode;
    if (v == 0) {
        dragBufferSwitch_ = false;
        // The picture being filled in is outdated: its projection is about to change.
        StopFill();
    }
    paintBoxes_[v]->Refresh();
}

const TCanvas* TfrmModel::PaintPane(int v)
{
    if (IsClosing() || !dirty_[v])
        return &scene_.Pane(v);
    dirty_[v] = false;
    scene_.Settings = DrawSettingsFrom(CurrentSettings(shell_));
    scene_.TexturePreview = btnTexture->isChecked();
    if (v != 0) {
        scene_.RedrawView(v, 0);
        return &scene_.Pane(v);
    }
    StopFill();
    const bool switchBuffer = dragBufferSwitch_;
    dragBufferSwitch_ = false;
    if (switchBuffer)
        scene_.PrepareBuffer(1);
    scene_.RedrawView(0, pendingMode_[0]);
    if (switchBuffer)
        scene_.PrepareBuffer(scene_.DisplayMode);
    if (scene_.ProgressPending) {
        fillModels_ = ShownModels();
        fillTimer_.start();
    }
    return &scene_.Pane(0);
}

const TCanvas& TfrmModel::RedrawView(int v)
{
    return RedrawView(v, v == 0 ? scene_.DisplayMode : 0);
}

const TCanvas& TfrmModel::RedrawView(int v, int mode)
{
    Invalidate(v, mode);
    PaintPane(v);
    return scene_.Pane(v);
}

void TfrmModel::RepaintAll()
{
    for (int v = 0; v < 4; ++v)
        Invalidate(v, v == 0 ? scene_.DisplayMode : 0);
}

void TfrmModel::RedrawOrthoPanes()
{
    for (int v = 1; v <= 3; ++v)
        Invalidate(v, 0);
}

void TfrmModel::FillTick()
{
    // A model added since the picture began has not been projected: the picture starts over.
    if (ShownModels() != fillModels_) {
        Invalidate(0, scene_.DisplayMode);
        return;
    }
    if (IsClosing() || !scene_.ProgressPending || !scene_.FillStep()) {
        StopFill();
        return;
    }
    pbxModel->Refresh();
    if (!scene_.ProgressPending)
        fillTimer_.stop();
}

void TfrmModel::StopFill()
{
    fillTimer_.stop();
    scene_.ProgressPending = false;
}

// --- Window --------------------------------------------------------------------------------------

void TfrmModel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Layout();
    if (shell_.Platform)
        pbxModel->setCursor(shell_.Platform->CursorOf(kCursorView));
}

void TfrmModel::closeEvent(QCloseEvent* event)
{
    SetClosing();
    objectWindow_->hide();
    event->accept();
}

} // namespace kalvo
