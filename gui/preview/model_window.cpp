#include "gui/preview/model_window.h"

#include "core/model/preview_obj.h"
#include "core/preview/draw_settings.h"
#include "core/preview/views.h"
#include "core/settings/settings.h"
#include "gui/object_window.h"
#include "gui/platform.h"
#include "gui/preview/toolbar_glyphs.h"
#include "gui/shell.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace kalvo {

namespace {

constexpr int kToolbarHeight = 24;
constexpr int kPanelWidth = 500;
constexpr QSize kZoomLabelSize{26, 17};
constexpr std::int64_t kFillSliceMs = 100; // each timer tick fills for about this long
constexpr std::int64_t kFirstSliceMinMs = 10;

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

// Whether a key pressed matches a key setting: the setting's first character against the key's
// code, which for letters is the upper-case letter. An empty setting never matches.
bool IsHotKey(int key, const std::string& setting)
{
    const char32_t code = ShortcutKey(setting);
    return code != 0 && static_cast<int>(code) == key;
}

// Hands every event of the application to a callback, letting it go on unchanged.
class TInputTracker : public QObject
{
public:
    explicit TInputTracker(std::function<void(QEvent&)> track) : track_(std::move(track)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        track_(*event);
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(QEvent&)> track_;
};

} // namespace

TfrmModel::TfrmModel(TShell& shell, QWidget* parent) : QWidget(parent), shell_(shell)
{
    setObjectName(QStringLiteral("frmModel"));
    setWindowTitle(QStringLiteral("Preview Window"));
    setFocusPolicy(Qt::StrongFocus);
    resize(503, 342);
    QFont uiFont = font();
    uiFont.setPixelSize(12);
    setFont(uiFont);

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
    inputTracker_ = std::make_unique<TInputTracker>([this](QEvent& event) { TrackInput(event); });
    qApp->installEventFilter(inputTracker_.get());
}

TfrmModel::~TfrmModel()
{
    qApp->removeEventFilter(inputTracker_.get());
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
    PageScroller1->setFocusPolicy(Qt::NoFocus);
    PageScroller1->setFixedHeight(kToolbarHeight);

    Panel1 = new QWidget;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedSize(kPanelWidth, kToolbarHeight);
    Panel1->setAutoFillBackground(true);
    QPalette light = Panel1->palette();
    light.setColor(QPalette::Window, light.color(QPalette::Light));
    Panel1->setPalette(light);
    Panel1->setMouseTracking(true);
    Panel1->installEventFilter(this);

    btnObj =
        ToolButton(Panel1, "btnObj", tr("オブジェクト選択やテンプレート作成作業等を行います"), 110);
    btnObj->setText(tr("   オブジェクト  "));
    // The object window writes the selected object's name here: room for a longer one.
    btnObj->setMinimumWidth(110);
    btnObj->setMaximumWidth(200);
    btnObj->setCheckable(true);
    QFont bold = btnObj->font();
    bold.setBold(true);
    btnObj->setFont(bold);
    btnObj->setMouseTracking(true);
    btnObj->installEventFilter(this);
    connect(btnObj, &QToolButton::clicked, this, [this] { ShowObjectWindow(btnObj->isChecked()); });

    btnViewPoint = ToolButton(Panel1, "btnViewPoint", tr("視点変更"), 40);
    btnViewPoint->setText(tr("視点"));
    connect(btnViewPoint, &QToolButton::clicked, this,
            [this] { popViewPoint->popup(shell_.Platform->PointerPos()); });

    btnView = ToolButton(Panel1, "btnView", tr("図面表示方法の選択を行います"), 24);
    btnView->setCheckable(true);
    btnView->setIcon(GlyphIcon(TGlyph::ThreeView));
    btnView->setMouseTracking(true);
    btnView->installEventFilter(this);
    connect(btnView, &QToolButton::clicked, this, &TfrmModel::btnViewClick);

    btnFrame = ToolButton(Panel1, "btnFrame", tr("稜線プレビュー"), 24);
    btnZFlame = ToolButton(Panel1, "btnZFlame", tr("陰影付き稜線プレビュー"), 24);
    btnZFlat = ToolButton(Panel1, "btnZFlat", tr("隠面消去＋稜線プレビュー"), 24);
    btnZFlat2 = ToolButton(Panel1, "btnZFlat2", tr("隠面消去プレビュー"), 24);
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

    btnTexture = ToolButton(Panel1, "btnTexture", tr("テクスチャ プレビュー"), 24);
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
    const QString hints[4] = {tr("パースペクティブビュー"), tr("トップビュー"), tr("サイドビュー"),
                              tr("フェイスビュー")};
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

// --- Layout and views ------------------------------------------------------------------------

void TfrmModel::Layout()
{
    if (IsClosing())
        return;
    scene_.Settings = DrawSettingsFrom(CurrentSettings(shell_));
    scene_.ThreeView = btnView->isChecked();
    scene_.Layout(pnlModel->width(), pnlModel->height());
    ApplyLayout();
    for (int v = 0; v < kViewCount; ++v)
        Invalidate(v, v == kPerspectiveView ? scene_.DisplayMode : kWireframeMode);
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
    if (v < 0 || v >= kViewCount)
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
    else if (scene_.View.ActiveView == kPerspectiveView)
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
    Invalidate(kPerspectiveView, scene_.DisplayMode);
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
    if (v == kPerspectiveView) {
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
    if (v != kPerspectiveView) {
        scene_.RedrawView(v, kWireframeMode);
        return &scene_.Pane(v);
    }
    StopFill();
    const std::int64_t redrawStart = scene_.Clock();
    const bool switchBuffer = dragBufferSwitch_;
    dragBufferSwitch_ = false;
    if (switchBuffer)
        scene_.PrepareBuffer(kShadedWireframeMode);
    scene_.RedrawView(kPerspectiveView, pendingMode_[kPerspectiveView]);
    if (switchBuffer)
        scene_.PrepareBuffer(scene_.DisplayMode);
    if (scene_.ProgressPending) {
        fillModels_ = ShownModels();
        // The first slice takes what is left of a slice's time after the projection and
        // depth sort, so that the filling begins to show about a slice after the redraw.
        const std::int64_t spent = scene_.Clock() - redrawStart;
        scene_.FillBudgetMs =
            std::clamp<std::int64_t>(kFillSliceMs - spent, kFirstSliceMinMs, kFillSliceMs);
        fillTimer_.start();
    }
    return &scene_.Pane(kPerspectiveView);
}

const TCanvas& TfrmModel::RedrawView(int v)
{
    return RedrawView(v, v == kPerspectiveView ? scene_.DisplayMode : kWireframeMode);
}

const TCanvas& TfrmModel::RedrawView(int v, int mode)
{
    Invalidate(v, mode);
    PaintPane(v);
    return scene_.Pane(v);
}

void TfrmModel::RepaintAll()
{
    for (int v = 0; v < kViewCount; ++v)
        Invalidate(v, v == kPerspectiveView ? scene_.DisplayMode : kWireframeMode);
}

void TfrmModel::RedrawOrthoPanes()
{
    for (int v = kTopView; v <= kFaceView; ++v)
        Invalidate(v, kWireframeMode);
}

void TfrmModel::FillTick()
{
    // A model added since the picture began has not been projected: the picture starts over.
    if (ShownModels() != fillModels_) {
        Invalidate(kPerspectiveView, scene_.DisplayMode);
        return;
    }
    if (IsClosing() || !scene_.ProgressPending || !scene_.FillStep()) {
        StopFill();
        return;
    }
    scene_.FillBudgetMs = kFillSliceMs;
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

void TfrmModel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Narrower than the toolbar: the strip grows by its scroll bar rather than hide the
    // buttons behind it.
    const bool narrow = width() < Panel1->width();
    PageScroller1->setFixedHeight(
        kToolbarHeight + (narrow ? PageScroller1->horizontalScrollBar()->sizeHint().height() : 0));
}

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
