#include "gui/template/map_template_window.h"

#include "core/model/preview_obj.h"
#include "core/settings/settings.h"
#include "gui/model_window.h"
#include "gui/settings_controls.h"
#include "gui/shell.h"
#include "gui/temp_size_dialog.h"
#include "gui/template/template_icons.h"
#include "gui/template/template_widgets.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

namespace kalvo {

namespace {

const QString kTemplateCaption = QStringLiteral("Map template");

QToolButton* MakeButton(QWidget* parent, const char* name, const QString& hint, const QIcon& icon)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setIcon(icon);
    button->setAutoRaise(true);
    button->setFixedSize(26, 26);
    // Space belongs to the hand tool, not to whichever button had the focus.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

TColourPanel* MakeColourPanel(QWidget* parent, const char* name, const QString& hint,
                              TColour colour)
{
    auto* panel = new TColourPanel(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setToolTip(hint);
    panel->setFixedSize(24, 24);
    panel->SetColour(colour);
    return panel;
}

QWidget* Gap(QWidget* parent)
{
    auto* gap = new QWidget(parent);
    gap->setFixedWidth(8);
    return gap;
}

} // namespace

TfrmMapTemplate::TfrmMapTemplate(TShell& shell, TfrmModel* preview, TpreviewObj& model,
                                 QWidget* parent)
    : QWidget(parent), shell_(shell), platform_(*shell.Platform), preview_(preview), history_(*this)
{
    setObjectName(QStringLiteral("frmMapTemplate"));
    setWindowTitle(kTemplateCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    ApplyColours();
    CreateToolbar();
    CreateCanvas();
    CreateMenus();
    SetModel(&model);
    UpdateCursor();

    OpenDialog.Filter = QStringLiteral("Windows Bitmap (*.bmp)|*.bmp");
    SaveDialog.Filter =
        QStringLiteral("PNG (*.png)|*.png|Windows Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg;*.jpeg");
    SaveDialog.DefaultExt = QStringLiteral("png");

    liveReload_ = new QTimer(this);
    liveReload_->setSingleShot(true);
    liveReload_->setInterval(300);
    connect(liveReload_, &QTimer::timeout, this, &TfrmMapTemplate::ReloadLiveFile);

    qApp->installEventFilter(this);
}

TfrmMapTemplate::~TfrmMapTemplate()
{
    qApp->removeEventFilter(this);
    Detach();
    // Deleted on its own (the object window closing it before its model goes): the frame
    // around it in the main window goes too. While the frame deletes it, the frame is no
    // longer a sub-window here.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->deleteLater();
}

// --- Construction --------------------------------------------------------------------------

void TfrmMapTemplate::CreateToolbar()
{
    PageScroller1 = new QWidget(this);
    PageScroller1->setObjectName(QStringLiteral("PageScroller1"));
    pnlTemplate = new QWidget(PageScroller1);
    pnlTemplate->setObjectName(QStringLiteral("pnlTemplate"));

    btnOpen = MakeButton(pnlTemplate, "btnOpen", tr("テクスチャーを開く"),
                         TemplateIcon(TTemplateIcon::Open));
    btnCopy = MakeButton(pnlTemplate, "btnCopy", tr("クリップボードへ転送"),
                         TemplateIcon(TTemplateIcon::Copy));
    SpeedButton1 = MakeButton(pnlTemplate, "SpeedButton1", tr("ペイントソフトを起動"),
                              TemplateIcon(TTemplateIcon::PaintProgram));
    btnPaste = MakeButton(pnlTemplate, "btnPaste", tr("クリップボードから転送"),
                          TemplateIcon(TTemplateIcon::Paste));
    SpeedButton2 = MakeButton(pnlTemplate, "SpeedButton2", tr("ズームイン"),
                              TemplateIcon(TTemplateIcon::ZoomIn));
    SpeedButton3 = MakeButton(pnlTemplate, "SpeedButton3", tr("ズームアウト"),
                              TemplateIcon(TTemplateIcon::ZoomOut));
    btnArrow = MakeButton(pnlTemplate, "btnArrow", tr("選択"), TemplateIcon(TTemplateIcon::Arrow));
    btnPen = MakeButton(pnlTemplate, "btnPen", tr("ペン"), TemplateIcon(TTemplateIcon::Pen));
    btnArrow->setCheckable(true);
    btnPen->setCheckable(true);
    btnPen->setChecked(true);
    pnlPenCol = MakeColourPanel(pnlTemplate, "pnlPenCol", tr("ペンカラー"), PenColour);

    const std::pair<QToolButton**, int> sizes[] = {
        {&SpeedButton4, 1}, {&SpeedButton5, 4}, {&SpeedButton6, 8}, {&SpeedButton7, 16}};
    auto* sizeGroup = new QButtonGroup(this);
    int number = 4;
    for (const auto& [button, tag] : sizes) {
        const QString hint = tag == 1   ? tr("ペンサイズ１")
                             : tag == 4 ? tr("ペンサイズ４")
                             : tag == 8 ? tr("ペンサイズ８")
                                        : tr("ペンサイズ１６");
        *button = MakeButton(pnlTemplate, "", hint, PenSizeIcon(tag));
        (*button)->setObjectName(QStringLiteral("SpeedButton%1").arg(number++));
        (*button)->setCheckable(true);
        sizeGroup->addButton(*button, tag);
    }
    SpeedButton4->setChecked(true);
    connect(sizeGroup, &QButtonGroup::idClicked, this, [this](int tag) { SetPenWidth(tag); });

    btnTransparent = MakeButton(pnlTemplate, "btnTransparent", tr("指定色を透過してマッピングする"),
                                TemplateIcon(TTemplateIcon::Transparent));
    btnTransparent->setCheckable(true);
    pnlTransparent =
        MakeColourPanel(pnlTemplate, "pnlTransparent", tr("透過色の設定"), TransparentColour);
    pnlTransparent->setEnabled(false);

    auto* row = new QHBoxLayout(pnlTemplate);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    const auto add = [row](QWidget* widget) { row->addWidget(widget); };
    add(btnOpen);
    add(Gap(pnlTemplate));
    for (QWidget* w : {static_cast<QWidget*>(btnCopy), static_cast<QWidget*>(SpeedButton1),
                       static_cast<QWidget*>(btnPaste)})
        add(w);
    add(Gap(pnlTemplate));
    add(SpeedButton2);
    add(SpeedButton3);
    add(Gap(pnlTemplate));
    add(btnArrow);
    add(btnPen);
    add(Gap(pnlTemplate));
    add(pnlPenCol);
    for (QToolButton* b : {SpeedButton4, SpeedButton5, SpeedButton6, SpeedButton7})
        add(b);
    add(Gap(pnlTemplate));
    add(btnTransparent);
    add(pnlTransparent);
    row->addStretch();
    auto* scrollerLayout = new QHBoxLayout(PageScroller1);
    scrollerLayout->setContentsMargins(0, 0, 0, 0);
    scrollerLayout->addWidget(pnlTemplate);

    connect(btnOpen, &QToolButton::clicked, this, &TfrmMapTemplate::btnOpenClick);
    connect(btnCopy, &QToolButton::clicked, this, &TfrmMapTemplate::btnCopyClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TfrmMapTemplate::SpeedButton1Click);
    connect(btnPaste, &QToolButton::clicked, this, &TfrmMapTemplate::btnPasteClick);
    connect(SpeedButton2, &QToolButton::clicked, this, &TfrmMapTemplate::ZoomIn);
    connect(SpeedButton3, &QToolButton::clicked, this, &TfrmMapTemplate::ZoomOut);
    connect(btnArrow, &QToolButton::clicked, this, &TfrmMapTemplate::btnArrowClick);
    connect(btnPen, &QToolButton::clicked, this, &TfrmMapTemplate::btnPenClick);
    connect(pnlPenCol, &TColourPanel::Clicked, this, [this] {
        TColour colour = pnlPenCol->Colour();
        if (platform_.ColourDialog(colour)) {
            pnlPenCol->SetColour(colour);
            PenColour = colour;
        }
    });
    connect(pnlTransparent, &TColourPanel::Clicked, this, [this] {
        TColour colour = pnlTransparent->Colour();
        if (platform_.ColourDialog(colour)) {
            pnlTransparent->SetColour(colour);
            TransparentColour = colour;
            RestartPreview();
        }
    });
    connect(btnTransparent, &QToolButton::toggled, this, [this](bool down) {
        pnlTransparent->setEnabled(down);
        Transparency = down;
        RestartPreview();
    });
}

void TfrmMapTemplate::CreateCanvas()
{
    pnlCanvas = new QWidget(this);
    pnlCanvas->setObjectName(QStringLiteral("pnlCanvas"));
    pnlCanvas->setAutoFillBackground(true);
    QPalette olive = pnlCanvas->palette();
    olive.setColor(QPalette::Window, QColor(128, 128, 0));
    pnlCanvas->setPalette(olive);
    pbxTemplate = new TTemplatePaintBox(*this, pnlCanvas);

    pnlHori = new QWidget(this);
    pnlHori->setObjectName(QStringLiteral("pnlHori"));
    pnlVert = new QWidget(this);
    pnlVert->setObjectName(QStringLiteral("pnlVert"));
    sbrHori = new QScrollBar(Qt::Horizontal, pnlHori);
    sbrHori->setObjectName(QStringLiteral("sbrHori"));
    sbrVert = new QScrollBar(Qt::Vertical, pnlVert);
    sbrVert->setObjectName(QStringLiteral("sbrVert"));
    for (QScrollBar* bar : {sbrHori, sbrVert}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setSingleStep(16);
        bar->hide();
    }
    connect(sbrHori, &QScrollBar::valueChanged, this, [this] { ScrollBarChange(true); });
    connect(sbrVert, &QScrollBar::valueChanged, this, [this] { ScrollBarChange(false); });
}

void TfrmMapTemplate::CreateMenus()
{
    PopupMenu1 = new QMenu(this);
    N4 = PopupMenu1->addAction(tr("キャンセル"));
    PopupMenu1->addSeparator();
    N901 = PopupMenu1->addAction(tr("90度右回転"));
    N1 = PopupMenu1->addAction(tr("比率をあわせる"));
    N3 = PopupMenu1->addAction(tr("テンプレートサイズ変更..."));
    PopupMenu1->addSeparator();
    N7 = PopupMenu1->addAction(tr("透過色をピックアップ"));

    Edit1 = new QMenu(tr("編集(&E)"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Undo1 = Edit1->addAction(tr("元に戻す"));
    Undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Redo1 = Edit1->addAction(tr("やり直し"));
    Redo1->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    Edit1->addSeparator();
    Copy1 = Edit1->addAction(tr("コピー"));
    Copy1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    Paste1 = Edit1->addAction(tr("貼り付け"));
    Paste1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    Edit1->addSeparator();
    Save1 = Edit1->addAction(tr("テンプレートを保存..."));
    Save1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(Save1);

    N8 = new QMenu(tr("ウインドウ(&W)"), this);
    N8->setObjectName(QStringLiteral("N8"));
    N9 = N8->addAction(tr("プレビューウインドウに切り替え"));
    N9->setShortcut(QKeySequence(Qt::Key_F2));
    N11 = N8->addAction(tr("ズームイン"));
    N11->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
    N12 = N8->addAction(tr("ズームアウト"));
    N12->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F2));
    Tile1 = N8->addAction(tr("並べて表示(&T)"));
    Tile1->setShortcut(QKeySequence(Qt::Key_F3));

    connect(N4, &QAction::triggered, this, &TfrmMapTemplate::N4Click);
    connect(N901, &QAction::triggered, this, &TfrmMapTemplate::N901Click);
    connect(N1, &QAction::triggered, this, &TfrmMapTemplate::N1Click);
    connect(N3, &QAction::triggered, this, &TfrmMapTemplate::N3Click);
    connect(N7, &QAction::triggered, this, &TfrmMapTemplate::N7Click);
    connect(Undo1, &QAction::triggered, this, &TfrmMapTemplate::UndoClick);
    connect(Redo1, &QAction::triggered, this, &TfrmMapTemplate::RedoClick);
    connect(Copy1, &QAction::triggered, this, &TfrmMapTemplate::btnCopyClick);
    connect(Paste1, &QAction::triggered, this, &TfrmMapTemplate::btnPasteClick);
    connect(Save1, &QAction::triggered, this, &TfrmMapTemplate::SaveTemplateClick);
    connect(N9, &QAction::triggered, this, &TfrmMapTemplate::N9Click);
    connect(N11, &QAction::triggered, this, &TfrmMapTemplate::ZoomIn);
    connect(N12, &QAction::triggered, this, &TfrmMapTemplate::ZoomOut);
    connect(Tile1, &QAction::triggered, this, [this] {
        if (shell_.MainForm)
            shell_.MainForm->Tile1Click();
    });
}

QList<QMenu*> TfrmMapTemplate::MergedMenus() const { return {Edit1, N8}; }

void TfrmMapTemplate::ApplyColours()
{
    const TSettings& settings = CurrentSettings(shell_);
    Colours.TempColor = settings.TempColor;
    Colours.MeshColor = settings.MeshColor;
    Colours.EditMeshColor = settings.EditMeshColor;
    Colours.TempSelColor = settings.TempSelColor;
}

// --- Template, size and scrolling ----------------------------------------------------------

bool TfrmMapTemplate::SetupTemplate(int width, int height)
{
    ApplyColours();
    if (!TMapTemplate::SetupTemplate(width, height))
        return false;
    FitToTemplate();
    return true;
}

void TfrmMapTemplate::RebuildLayout()
{
    history_.Clear();
    TextureShown = false;
    SetupTemplate(Mapping().TemplateWidth, Mapping().TemplateHeight);
    RestartPreview();
}

void TfrmMapTemplate::FitToTemplate()
{
    scrollX_ = 0;
    scrollY_ = 0;
    // The window fits the template at its first zoom, toolbar and scroll-bar panels included,
    // unless it is maximised.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QSize client(ScreenWidth() + bar,
                       ScreenHeight() + bar + PageScroller1->sizeHint().height());
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        if (!sub->isMaximized())
            sub->resize(
                client.grownBy(sub->contentsMargins()) +
                QSize(0, sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub)));
    } else if (!isMaximized()) {
        resize(client);
    }
    ResizePaintArea();
    RepaintTemplate();
}

void TfrmMapTemplate::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int toolbarHeight = PageScroller1->sizeHint().height();
    const int w = width();
    const int h = height();
    PageScroller1->setGeometry(0, 0, w, toolbarHeight);
    const int bodyHeight = std::max(h - toolbarHeight - bar, 0);
    pnlHori->setGeometry(0, h - bar, w, bar);
    pnlVert->setGeometry(w - bar, toolbarHeight, bar, bodyHeight);
    pnlCanvas->setGeometry(0, toolbarHeight, std::max(w - bar, 0), bodyHeight);
    FormResize();
}

void TfrmMapTemplate::ResizePaintArea()
{
    pnlPaint.Width = ScreenWidth();
    pnlPaint.Height = ScreenHeight();
    FormResize();
}

void TfrmMapTemplate::FormResize()
{
    sbrHori->setGeometry(0, 0, std::max(width() - pnlVert->width(), 0), pnlHori->height());
    sbrVert->setGeometry(0, 0, pnlVert->width(), std::max(pnlVert->height() - 4, 0));
    const double zoom = Mapping().Zoom;
    const int canvasWidth = pnlCanvas->width();
    const int canvasHeight = pnlCanvas->height();

    // One axis: hides the bar when the template fits, else sets its range and position from
    // the scroll offset (kept within the range, so the picture never leaves the bar's reach).
    const auto axis = [&](QScrollBar* bar, int canvasSize, int templateSize, int& offset) {
        if (canvasSize > templateSize * zoom) {
            bar->hide();
            offset = 0;
            return;
        }
        scrollGuard_ = true;
        bar->show();
        const int max = NearestInt(templateSize * zoom) - canvasSize;
        bar->setRange(0, max);
        bar->setPageStep(std::max(canvasSize, 1));
        int position = NearestInt(offset * zoom + max / 2);
        if (position < 0 || position > max) {
            position = std::clamp(position, 0, max);
            offset = NearestInt((position - max / 2) / zoom);
        }
        bar->setValue(position);
        scrollGuard_ = false;
    };
    axis(sbrVert, canvasHeight, Mapping().TemplateHeight, scrollY_);
    axis(sbrHori, canvasWidth, Mapping().TemplateWidth, scrollX_);

    pnlPaint.Left = NearestInt((canvasWidth - pnlPaint.Width) / 2 - scrollX_ * zoom);
    pnlPaint.Top = NearestInt((canvasHeight - pnlPaint.Height) / 2 - scrollY_ * zoom);
    PlacePaintBox();
}

void TfrmMapTemplate::ScrollBarChange(bool horizontal)
{
    if (scrollGuard_)
        return;
    QScrollBar* bar = horizontal ? sbrHori : sbrVert;
    const int position = bar->value();
    const int offset = NearestInt((position - bar->maximum() / 2) / Mapping().Zoom);
    if (horizontal) {
        scrollX_ = offset;
        pnlPaint.Left = -position;
    } else {
        scrollY_ = offset;
        pnlPaint.Top = -position;
    }
    PlacePaintBox();
}

void TfrmMapTemplate::PlacePaintBox()
{
    // The box covers the part of the zoomed template inside the canvas panel.
    const long long left = std::max<long long>(pnlPaint.Left, 0);
    const long long top = std::max<long long>(pnlPaint.Top, 0);
    const long long right = std::min<long long>(
        static_cast<long long>(pnlPaint.Left) + pnlPaint.Width, pnlCanvas->width());
    const long long bottom = std::min<long long>(
        static_cast<long long>(pnlPaint.Top) + pnlPaint.Height, pnlCanvas->height());
    if (right <= left || bottom <= top) {
        pbxTemplate->hide();
        return;
    }
    pbxTemplate->SetOrigin(
        QPoint(static_cast<int>(left - pnlPaint.Left), static_cast<int>(top - pnlPaint.Top)));
    pbxTemplate->setGeometry(static_cast<int>(left), static_cast<int>(top),
                             static_cast<int>(right - left), static_cast<int>(bottom - top));
    pbxTemplate->show();
    pbxTemplate->update();
}

void TfrmMapTemplate::ZoomIn()
{
    SetZoom(Mapping().Zoom * 2);
    ResizePaintArea();
}

void TfrmMapTemplate::ZoomOut()
{
    SetZoom(Mapping().Zoom / 2);
    ResizePaintArea();
}

void TfrmMapTemplate::ZoomAbout(double factor, int canvasX, int canvasY)
{
    // The template pixel under the pointer stays under it.
    const double zoom = Mapping().Zoom;
    const double templateX = (canvasX - pnlPaint.Left) / zoom;
    const double templateY = (canvasY - pnlPaint.Top) / zoom;
    SetZoom(zoom * factor);
    const double newZoom = Mapping().Zoom;
    const int width = ScreenWidth();
    const int height = ScreenHeight();
    const double left = canvasX - templateX * newZoom;
    const double top = canvasY - templateY * newZoom;
    scrollX_ = NearestInt(((pnlCanvas->width() - width) / 2 - left) / newZoom);
    scrollY_ = NearestInt(((pnlCanvas->height() - height) / 2 - top) / newZoom);
    ResizePaintArea();
}

void TfrmMapTemplate::ScrollBy(int dx, int dy)
{
    for (const auto& [bar, delta] : {std::pair{sbrHori, dx}, std::pair{sbrVert, dy}}) {
        if (bar->isVisible() && delta != 0)
            bar->setValue(std::clamp(bar->value() + delta, 0, bar->maximum()));
    }
}

// --- Drawing -------------------------------------------------------------------------------

void TfrmMapTemplate::DrawView(TCanvas& canvas, int left, int top)
{
    // The settings' colours may have changed since the last drawing.
    ApplyColours();
    DrawTemplateView(canvas, left, top);
}

void TfrmMapTemplate::RepaintTemplate() { pbxTemplate->update(); }

void TfrmMapTemplate::RepaintTemplateRect(const TTemplateRect& rect)
{
    if (rect.Empty())
        return;
    // Template pixels to the box's pixels, widened by one for the rounding of the zoom.
    const double zoom = Mapping().Zoom;
    const QPoint origin = pbxTemplate->Origin();
    const auto toBox = [](double value, int shift) {
        return static_cast<int>(std::clamp(value - shift, -1.0e6, 1.0e9));
    };
    const int left = toBox(std::floor(rect.Left * zoom) - 1, origin.x());
    const int top = toBox(std::floor(rect.Top * zoom) - 1, origin.y());
    const int right = toBox(std::ceil(rect.Right * zoom) + 1, origin.x());
    const int bottom = toBox(std::ceil(rect.Bottom * zoom) + 1, origin.y());
    const QRect area = QRect(QPoint(left, top), QPoint(right, bottom)) & pbxTemplate->rect();
    if (!area.isEmpty())
        pbxTemplate->update(area);
}

// --- Tools ---------------------------------------------------------------------------------

void TfrmMapTemplate::SetTool(TTemplateTool tool)
{
    Tool = tool;
    UpdateCursor();
}

void TfrmMapTemplate::btnArrowClick()
{
    if (!btnArrow->isChecked())
        return;
    btnPen->setChecked(false);
    SetTool(TTemplateTool::Select);
}

void TfrmMapTemplate::btnPenClick()
{
    if (!btnPen->isChecked())
        return;
    btnArrow->setChecked(false);
    SetTool(TTemplateTool::Pen);
}

void TfrmMapTemplate::N4Click() { SetTool(TTemplateTool::Select); }

void TfrmMapTemplate::N7Click()
{
    btnArrow->setChecked(false);
    btnPen->setChecked(false);
    SetTool(TTemplateTool::PickColour);
}

// --- Layout commands -----------------------------------------------------------------------

void TfrmMapTemplate::N901Click()
{
    history_.RecordWholeTemplate();
    Rotate();
    RepaintTemplate();
    RestartPreview();
}

void TfrmMapTemplate::N1Click()
{
    history_.RecordWholeTemplate();
    ApplyColours();
    // A model with no u or v extent has no ratio to match: nothing changes.
    if (!MatchRatio()) {
        history_.DropLast();
        return;
    }
    FitToTemplate();
    RestartPreview();
}

void TfrmMapTemplate::N3Click()
{
    // The dialog shows the sizes it had when it last closed.
    TdlgTempSize* dialog = shell_.TempSize;
    if (!dialog || !shell_.ShowModal(*dialog))
        return;
    history_.RecordWholeTemplate();
    ApplyColours();
    if (!ChangeSize(dialog->sedX->value(), dialog->sedY->value())) {
        history_.DropLast();
        return;
    }
    FitToTemplate();
    RestartPreview();
}

void TfrmMapTemplate::N9Click()
{
    if (preview_ && shell_.MainForm)
        shell_.MainForm->ActivatePreview(*preview_);
}

// --- Undo ----------------------------------------------------------------------------------

void TfrmMapTemplate::UndoClick()
{
    if (history_.Undo())
        AfterHistoryStep();
}

void TfrmMapTemplate::RedoClick()
{
    if (history_.Redo())
        AfterHistoryStep();
}

void TfrmMapTemplate::AfterHistoryStep()
{
    // The step may have changed the size or zoom along with the picture.
    ResizePaintArea();
    RepaintTemplate();
    RestartPreview();
}

// --- The preview ---------------------------------------------------------------------------

void TfrmMapTemplate::RestartPreview()
{
    if (!preview_ || preview_->IsClosing() || !Model())
        return;
    // The perspective pane shows the texture in the hidden-surface modes, and the marked points
    // in any mode drawn through the bitmap: those are drawn again now, a direct hidden-surface
    // picture filling in on the preview's timer. The mode shown decides, not the mode of the
    // last progressive fill, which may be long gone.
    const TPreviewScene& scene = preview_->Scene();
    const int mode = scene.DisplayMode;
    if (scene.UsesBuffer(mode) || mode == 2 || mode == 3)
        preview_->RedrawView(0);
}

// --- Closing -------------------------------------------------------------------------------

void TfrmMapTemplate::Detach()
{
    if (!Model())
        return;
    SetModel(nullptr);
    history_.Clear();
    delete liveWatcher_;
    liveWatcher_ = nullptr;
    liveDir_.reset();
    // Texture previews of the model fall back to flat colours.
    if (preview_ && !preview_->IsClosing())
        preview_->RepaintAll();
}

void TfrmMapTemplate::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (closed_)
        return;
    closed_ = true;
    Detach();
    // Closed from inside (the object window before its model goes): the frame closes too.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && sub->isVisible())
        sub->close();
}

// --- Opening the window --------------------------------------------------------------------

TfrmMapTemplate* OpenMapTemplateWindow(TShell& shell, TfrmModel* preview, TpreviewObj& model,
                                       int width, int height)
{
    if (!IsValidTemplateSize(width, height) || !shell.MainForm)
        return nullptr;
    auto* window = new TfrmMapTemplate(shell, preview, model);
    QMdiSubWindow* sub = shell.MainForm->mdiArea->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->move(0, 0);
    if (!window->SetupTemplate(width, height)) {
        delete sub;
        return nullptr;
    }
    sub->show();
    shell.MainForm->mdiArea->setActiveSubWindow(sub);
    return window;
}

} // namespace kalvo
