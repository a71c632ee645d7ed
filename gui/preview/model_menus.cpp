// The preview window's menus: the window menu merged into the main window's bar, the
// viewpoint, zoom and view menus, and their commands.

#include "core/model/box.h"
#include "core/model/preview_obj.h"
#include "core/preview/navigation.h"
#include "core/preview/views.h"
#include "gui/core_texts.h"
#include "gui/main_form.h"
#include "gui/object_window.h"
#include "gui/platform.h"
#include "gui/preview/model_window.h"
#include "gui/preview/toolbar_glyphs.h"
#include "gui/shell.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace kalvo {

namespace {

QAction* MenuItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

void TfrmModel::CreateMenus()
{
    WindowMenu = new QMenu(tr("ウインドウ(&W)"), this);
    WindowMenu->setObjectName(QStringLiteral("WindowMenu"));
    N5 = MenuItem(WindowMenu, "N5", tr("テンプレートに切り替え"));
    N5->setShortcut(QKeySequence(Qt::Key_F2));
    N15 = MenuItem(WindowMenu, "N15", tr("ズームイン"));
    N15->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
    N16 = MenuItem(WindowMenu, "N16", tr("ズームアウト"));
    N16->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F2));
    Tile1 = MenuItem(WindowMenu, "Tile1", tr("並べて表示(&T)"));
    Tile1->setShortcut(QKeySequence(Qt::Key_F3));
    connect(N5, &QAction::triggered, this, &TfrmModel::N5Click);
    connect(N15, &QAction::triggered, this, &TfrmModel::N15Click);
    connect(N16, &QAction::triggered, this, &TfrmModel::N16Click);
    connect(Tile1, &QAction::triggered, this, [this] {
        if (shell_.MainForm)
            shell_.MainForm->Tile1Click();
    });

    // "全体表示" works from the keyboard whenever the focus is in this window.
    mnuFrameAll = new QAction(tr("全体表示"), this);
    mnuFrameAll->setObjectName(QStringLiteral("mnuFrameAll"));
    mnuFrameAll->setShortcut(QKeySequence(Qt::Key_Home));
    mnuFrameAll->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(mnuFrameAll);
    connect(mnuFrameAll, &QAction::triggered, this, &TfrmModel::FrameAllClick);

    popViewPoint = new QMenu(this);
    popViewPoint->setObjectName(QStringLiteral("popViewPoint"));
    QAction* save =
        popViewPoint->addAction(GlyphIcon(TGlyph::SaveViewpoint), tr("現在の視点を保存"));
    save->setEnabled(false);
    popViewPoint->addSeparator();
    N14 = MenuItem(popViewPoint, "N14", tr("原点を注視点に"));
    N14->setIcon(GlyphIcon(TGlyph::TargetOrigin));
    N27 = MenuItem(popViewPoint, "N27", tr("選択オブジェクトの中心へ"));
    popViewPoint->addAction(mnuFrameAll);
    popViewPoint->addSeparator();
    for (const TFixedViewpoint& viewpoint : FixedViewpoints()) {
        QAction* item = MenuItem(popViewPoint, viewpoint.Item, CoreText(viewpoint.Caption));
        connect(item, &QAction::triggered, this, [this, &viewpoint] {
            ApplyFixedViewpoint(scene_.View, scene_.Camera, viewpoint);
            Invalidate(kPerspectiveView, scene_.DisplayMode);
        });
    }
    popViewPoint->addSeparator();
    popViewPoint->addAction(tr("数値入力..."))->setEnabled(false);
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
    N10 = MenuItem(popView, "N10", tr(" ＋゜ パースビュー(R)"));
    N8 = MenuItem(popView, "N8", tr("゜＋  トップビュー(E)"));
    N9 = MenuItem(popView, "N9", tr("｡＋  サイドビュー(D)"));
    F1 = MenuItem(popView, "F1", tr(" ＋。 フェイスビュー (F)"));
    popView->addSeparator();
    N12 = MenuItem(popView, "N12", tr("最大<->標準 切り替え(W)"));
    popView->addSeparator();
    mnuChangeCenter = MenuItem(popView, "mnuChangeCenter", tr("ここを表示の中心にする"));
    mnuGo = MenuItem(popView, "mnuGo", tr("選択オブジェクトの中心"));
    popView->addAction(mnuFrameAll);
    const std::pair<QAction*, int> views[] = {{N10, 0}, {N8, 1}, {N9, 2}, {F1, 3}};
    for (const auto& [item, view] : views)
        connect(item, &QAction::triggered, this, [this, v = view] { SelectView(v); });
    connect(N12, &QAction::triggered, this, &TfrmModel::N12Click);
    connect(mnuChangeCenter, &QAction::triggered, this, &TfrmModel::mnuChangeCenterClick);
    connect(mnuGo, &QAction::triggered, this, &TfrmModel::mnuGoClick);
}

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
    Invalidate(kPerspectiveView, scene_.DisplayMode);
}

void TfrmModel::mnuGoClick()
{
    const std::optional<TBox> box = objectWindow_->SelectedBox();
    if (!box)
        return;
    switch (CentreOnBoxes(scene_.View, scene_.Camera, std::span<const TBox>(&*box, 1))) {
    case TViewChange::Perspective:
        Invalidate(kPerspectiveView, scene_.DisplayMode);
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

} // namespace kalvo
