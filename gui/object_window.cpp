#include "gui/object_window.h"

#include "core/base/cp932.h"
#include "core/model/preview_obj.h"
#include "core/settings/settings.h"
#include "gui/command_guard.h"
#include "gui/list_pictures.h"
#include "gui/main_form.h"
#include "gui/platform.h"
#include "gui/preview/model_window.h"
#include "gui/shell.h"
#include "gui/temp_size_dialog.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cassert>

namespace kalvo {

int TfrmObj::LastSelectionCount = 0;

namespace {

constexpr int kModelRole = Qt::UserRole;

// Both pictures of an item side by side: the state image in the first 32 pixels, the icon in
// the next 32, so that the mouse rules by column fall on the pictures.
QIcon DrawItemPicture(int stateIndex, int iconIndex)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(64 * scale, 32 * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.drawPixmap(0, 0, StateImage(stateIndex).pixmap(32, 32, QIcon::Normal));
        painter.drawPixmap(32, 0, ObjectIcon(iconIndex).pixmap(32, 32, QIcon::Normal));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

TpreviewObj* ModelOf(const QTreeWidgetItem* item)
{
    return reinterpret_cast<TpreviewObj*>(item->data(0, kModelRole).value<quintptr>());
}

QString NameOf(const TModelEntry& entry) { return QString::fromStdString(Cp932ToUtf8(entry.Name)); }

QToolButton* MakeButton(QWidget* parent, const QString& hint, QStyle::StandardPixmap picture)
{
    auto* button = new QToolButton(parent);
    button->setToolTip(hint);
    button->setIcon(parent->style()->standardIcon(picture));
    button->setAutoRaise(true);
    button->setFixedSize(28, 28);
    return button;
}

} // namespace

TfrmObj::TfrmObj(TShell& shell, TfrmModel& owner)
    : QWidget(&owner,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      shell_(shell), owner_(owner)
{
    setObjectName(QStringLiteral("frmObj"));
    setWindowTitle(tr("オブジェクト"));
    resize(245, 367);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedHeight(34);
    SpeedButton1 = MakeButton(panel, tr("読み込み"), QStyle::SP_DialogOpenButton);
    btnMakeTemplate = MakeButton(panel, tr("テンプレート作成"), QStyle::SP_FileDialogDetailedView);
    btnMakeTemplate->setEnabled(false);
    btnAlwaysView = new QToolButton(panel);
    btnAlwaysView->setText(tr("自動的に隠す"));
    btnAlwaysView->setCheckable(true);
    btnAlwaysView->setChecked(true);
    btnDelete = MakeButton(panel, tr("削除"), QStyle::SP_DialogDiscardButton);
    btnDelete->setEnabled(false);

    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(3, 3, 3, 3);
    panelLayout->setSpacing(2);
    panelLayout->addWidget(SpeedButton1);
    panelLayout->addWidget(btnMakeTemplate);
    panelLayout->addWidget(btnAlwaysView);
    panelLayout->addWidget(btnDelete);
    panelLayout->addStretch();

    lvwObj = new QTreeWidget(this);
    lvwObj->setObjectName(QStringLiteral("lvwObj"));
    lvwObj->setColumnCount(1);
    lvwObj->setHeaderHidden(true);
    lvwObj->setRootIsDecorated(false);
    lvwObj->setIndentation(0);
    lvwObj->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvwObj->setIconSize(QSize(64, 32));
    lvwObj->header()->setStretchLastSection(false);
    lvwObj->setColumnWidth(0, 500);
    lvwObj->setContextMenuPolicy(Qt::CustomContextMenu);
    lvwObj->viewport()->installEventFilter(this);

    tvwObj = new QTreeWidget(this);
    tvwObj->setObjectName(QStringLiteral("tvwObj"));
    tvwObj->setHeaderHidden(true);
    tvwObj->setIndentation(19);
    tvwObj->setIconSize(QSize(16, 16));

    PageControl1 = new QTabWidget(this);
    PageControl1->setUsesScrollButtons(false); // tab texts wrap rather than scroll
    PageControl1->addTab(lvwObj, tr("オブジェクト リスト"));
    PageControl1->addTab(tvwObj, tr("ツリー"));
    PageControl1->setTabEnabled(1, false);

    PopupMenu1 = new QMenu(this);
    mnuMapt = PopupMenu1->addAction(tr("マッピング テンプレート..."));
    Close1 = PopupMenu1->addAction(tr("閉じる"));
    mnuMakeUv = PopupMenu1->addMenu(tr("UV を生成"));
    mnuMakeUv->setObjectName(QStringLiteral("mnuMakeUv"));
    const std::pair<TUvProjection, const char*> projections[] = {
        {TUvProjection::PlanarX, QT_TR_NOOP("平面 X")},
        {TUvProjection::PlanarY, QT_TR_NOOP("平面 Y")},
        {TUvProjection::PlanarZ, QT_TR_NOOP("平面 Z")},
        {TUvProjection::Box, QT_TR_NOOP("ボックス")},
        {TUvProjection::CylinderX, QT_TR_NOOP("円筒 X")},
        {TUvProjection::CylinderY, QT_TR_NOOP("円筒 Y")},
        {TUvProjection::CylinderZ, QT_TR_NOOP("円筒 Z")},
        {TUvProjection::Sphere, QT_TR_NOOP("球")},
    };
    for (const auto& [projection, text] : projections) {
        QAction* action = mnuMakeUv->addAction(tr(text));
        connect(action, &QAction::triggered, this,
                [this, projection] { mnuMakeUvClick(projection); });
    }
    PopupMenu1->addSeparator();
    QMenu* tabs = PopupMenu1->addMenu(tr("タブ位置"));
    N2 = tabs->addAction(tr("上"));
    N3 = tabs->addAction(tr("下"));
    N4 = tabs->addAction(tr("右"));
    N5 = tabs->addAction(tr("左"));
    const std::pair<QAction*, QTabWidget::TabPosition> positions[] = {{N2, QTabWidget::North},
                                                                      {N3, QTabWidget::South},
                                                                      {N4, QTabWidget::East},
                                                                      {N5, QTabWidget::West}};
    for (const auto& [action, position] : positions)
        connect(action, &QAction::triggered, this,
                [this, position] { PageControl1->setTabPosition(position); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel);
    layout->addWidget(PageControl1, 1);

    connect(SpeedButton1, &QToolButton::clicked, this, &TfrmObj::SpeedButton1Click);
    connect(btnMakeTemplate, &QToolButton::clicked, this, &TfrmObj::mnuMaptClick);
    connect(btnDelete, &QToolButton::clicked, this, &TfrmObj::Close1Click);
    connect(mnuMapt, &QAction::triggered, this, &TfrmObj::mnuMaptClick);
    connect(Close1, &QAction::triggered, this, &TfrmObj::Close1Click);
    connect(lvwObj, &QTreeWidget::itemSelectionChanged, this, &TfrmObj::lvwObjChange);
    connect(lvwObj, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(lvwObj->viewport()->mapToGlobal(pos)); });

    models_.BeforeRemove = [this](TModelEntry& entry) {
        if (currentModel_ == entry.Model.get())
            currentModel_ = nullptr;
        CloseTemplateWindow(*entry.Model);
        // The tree keeps the node (a delete leaves the tree as it was) but no longer refers
        // to the model.
        if (QTreeWidgetItem* node = TreeNodeOf(*entry.Model))
            node->setData(0, kModelRole, QVariant::fromValue(quintptr{0}));
    };
}

TfrmObj::~TfrmObj()
{
    // Items refer to the entries: let them go first so nothing can reach a freed model.
    busy_ = true;
    lvwObj->clear();
    models_.Clear();
    tvwObj->clear();
}

TModelEntry& TfrmObj::AddEntry(std::unique_ptr<TpreviewObj> model)
{
    TModelEntry& entry = models_.Add(std::move(model));
    const QString name = NameOf(entry);
    const QVariant data = QVariant::fromValue(reinterpret_cast<quintptr>(entry.Model.get()));

    auto* node = new QTreeWidgetItem(tvwObj, QStringList(name));
    node->setData(0, kModelRole, data);
    node->setIcon(0, TreePicture(0));

    auto* item = new QTreeWidgetItem(lvwObj, QStringList(name));
    item->setData(0, kModelRole, data);
    ShowItemPicture(models_.Count() - 1);
    return entry;
}

void TfrmObj::AddGroups(const TpreviewObj& model)
{
    TModelEntry* entry = models_.Find(&model);
    QTreeWidgetItem* modelNode = TreeNodeOf(model);
    if (!entry || !modelNode)
        return;
    for (int n = 1; n <= model.GroupCount; ++n) {
        entry->Groups.push_back(n);
        auto* node = new QTreeWidgetItem(modelNode, QStringList(tr("グループ %1").arg(n)));
        node->setIcon(0, TreePicture(1));
    }
}

QTreeWidgetItem* TfrmObj::TreeNodeOf(const TpreviewObj& model) const
{
    for (int i = 0; i < tvwObj->topLevelItemCount(); ++i) {
        QTreeWidgetItem* node = tvwObj->topLevelItem(i);
        if (ModelOf(node) == &model)
            return node;
    }
    return nullptr;
}

QWidget* TfrmObj::TemplateWindowOf(const TpreviewObj& model) const
{
    const auto found = templateWindows_.find(&model);
    return found == templateWindows_.end() ? nullptr : found->second.data();
}

void TfrmObj::SetTemplateWindow(const TpreviewObj& model, QWidget* window)
{
    assert(models_.Find(&model));
    templateWindows_[&model] = window;
}

void TfrmObj::CloseTemplateWindow(TpreviewObj& model)
{
    const auto found = templateWindows_.find(&model);
    if (found != templateWindows_.end()) {
        // The window draws from the model's vertices: it must be gone before the model is.
        if (QWidget* window = found->second.data()) {
            window->close();
            delete window;
        }
        templateWindows_.erase(found);
    }
    model.SetTemplateWindow(nullptr);
}

int TfrmObj::ItemCount() const { return models_.Count(); }

TpreviewObj* TfrmObj::ItemModel(int index) const { return models_[index].Model.get(); }

bool TfrmObj::ItemSelected(int index) const { return lvwObj->topLevelItem(index)->isSelected(); }

int TfrmObj::ItemStateIndex(int index) const { return models_[index].Shown ? 0 : 1; }

int TfrmObj::ItemIconIndex(int index) const { return models_[index].Icon; }

void TfrmObj::SetItemSelected(int index, bool selected)
{
    lvwObj->topLevelItem(index)->setSelected(selected);
}

int TfrmObj::SelectedCount() const
{
    int count = 0;
    for (int i = 0; i < ItemCount(); ++i)
        count += ItemSelected(i) ? 1 : 0;
    return count;
}

QIcon TfrmObj::ItemPicture(int stateIndex, int iconIndex)
{
    QIcon& icon = pictures_[stateIndex & 1][iconIndex & 1];
    if (icon.isNull())
        icon = DrawItemPicture(stateIndex & 1, iconIndex & 1);
    return icon;
}

QIcon TfrmObj::TreePicture(int index)
{
    QIcon& icon = treePictures_[index & 1];
    if (icon.isNull())
        icon = TreeImage(index & 1);
    return icon;
}

void TfrmObj::ShowItemPicture(int index)
{
    const TModelEntry& entry = models_[index];
    lvwObj->topLevelItem(index)->setIcon(0, ItemPicture(entry.Shown ? 0 : 1, entry.Icon));
}

void TfrmObj::SetObjectButtonCaption(const QString& caption) { owner_.btnObj->setText(caption); }

void TfrmObj::TakeSelection()
{
    // While a delete runs, items and entries differ for a moment; the delete clears the
    // selection at its end.
    if (lvwObj->topLevelItemCount() != models_.Count())
        return;
    for (int i = 0; i < models_.Count(); ++i)
        models_[i].Selected = lvwObj->topLevelItem(i)->isSelected();
}

void TfrmObj::SpeedButton1Click()
{
    // The read button fills this object window's preview window, whichever child is active.
    if (shell_.MainForm) {
        shell_.MainForm->ActivatePreview(owner_);
        shell_.MainForm->mnuOpenClick();
    }
}

bool TfrmObj::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lvwObj->viewport() && (event->type() == QEvent::MouseButtonPress ||
                                          event->type() == QEvent::MouseButtonDblClick)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (lvwObjMouseDown(mouse->position().toPoint()))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TfrmObj::lvwObjMouseDown(const QPoint& pos)
{
    QTreeWidgetItem* item = lvwObj->itemAt(pos);
    if (!item)
        return false;
    const int index = lvwObj->indexOfTopLevelItem(item);
    TModelEntry& entry = models_[index];
    const int x = pos.x() - lvwObj->visualItemRect(item).left();
    if (x < 32) {
        entry.Shown = !entry.Shown;
        ShowItemPicture(index);
        owner_.RepaintAll();
        return true;
    }
    if (x < 64) {
        entry.Icon = 1 - entry.Icon;
        ShowItemPicture(index);
    }
    return false;
}

void TfrmObj::lvwObjChange()
{
    TakeSelection();
    if (busy_)
        return;
    const int count = SelectedCount();
    if (count == 0) {
        btnDelete->setEnabled(false);
        btnMakeTemplate->setEnabled(false);
        SetObjectButtonCaption(tr("<未選択>"));
        currentModel_ = nullptr;
    } else if (count == 1) {
        for (int i = 0; i < ItemCount(); ++i) {
            if (ItemSelected(i)) {
                currentModel_ = ItemModel(i);
                SetObjectButtonCaption(lvwObj->topLevelItem(i)->text(0));
            }
        }
        btnDelete->setEnabled(true);
        btnMakeTemplate->setEnabled(true);
    } else {
        btnMakeTemplate->setEnabled(false);
        SetObjectButtonCaption(QStringLiteral("<Multi>"));
    }
    if (count != LastSelectionCount)
        owner_.RepaintAll();
    LastSelectionCount = count;
}

void TfrmObj::mnuMaptClick()
{
    RunCommand(shell_.Platform, [this] { MapTemplateCommand(); });
}

void TfrmObj::MapTemplateCommand()
{
    if (SelectedCount() != 1)
        return;
    TpreviewObj* model = nullptr;
    for (int i = 0; i < ItemCount() && !model; ++i)
        if (ItemSelected(i))
            model = ItemModel(i);
    if (TemplateWindowOf(*model))
        return;

    const TSettings& settings = CurrentSettings(shell_);
    int width = 0;
    int height = 0;
    for (const auto& [text, value] :
         {std::pair{&settings.Xsize, &width}, std::pair{&settings.Ysize, &height}}) {
        if (!TemplateSize(*text, *value)) {
            shell_.Platform->MessageBox(
                TMsgKind::Error, tr("'%1' は整数ではありません").arg(QString::fromStdString(*text)),
                TButtons::Ok);
            return;
        }
    }
    TdlgTempSize& dialog = *shell_.TempSize;
    dialog.sedX->setValue(width);
    dialog.sedY->setValue(height);
    if (!shell_.ShowModal(dialog))
        return;
    if (!shell_.OpenMapTemplate)
        return;
    shell_.OpenMapTemplate(*this, *model, dialog.sedX->value(), dialog.sedY->value());
    if (btnAlwaysView->isChecked())
        hide();
}

void TfrmObj::Close1Click()
{
    if (SelectedCount() == 0)
        return;
    // Freeing cannot fail; a template window that throws while closing must still not leave
    // the busy flag set.
    RunCommand(shell_.Platform, [this] { DeleteSelected(); });
    busy_ = false;
}

void TfrmObj::DeleteSelected()
{
    busy_ = true;
    for (;;) {
        int first = 0;
        while (first < ItemCount() && !ItemSelected(first))
            ++first;
        if (first == ItemCount())
            break;
        QTreeWidgetItem* item = lvwObj->topLevelItem(first);
        models_.RemoveAt(first); // closes the model's template window first
        delete item;
    }
    TakeSelection();
    SetObjectButtonCaption(tr("<未選択>"));
    currentModel_ = nullptr;
    lvwObj->clearSelection();
    owner_.RepaintAll();
    btnDelete->setEnabled(false);
    btnMakeTemplate->setEnabled(false);
    busy_ = false;
}

void TfrmObj::mnuMakeUvClick(TUvProjection projection)
{
    std::vector<TpreviewObj*> models;
    bool anyUv = false;
    for (int i = 0; i < ItemCount(); ++i) {
        if (ItemSelected(i)) {
            models.push_back(ItemModel(i));
            anyUv = anyUv || HasUv(*models.back());
        }
    }
    if (models.empty())
        return;
    if (anyUv && shell_.Platform->MessageBox(
                     TMsgKind::Confirmation,
                     tr("選択したオブジェクトの UV を置き換えます。よろしいですか？"),
                     TButtons::YesNo) != TAnswer::Yes)
        return;
    for (TpreviewObj* model : models) {
        ProjectUv(*model, projection);
        if (TemplateWindowOf(*model) && shell_.RebuildMapTemplate)
            shell_.RebuildMapTemplate(*model);
    }
    owner_.RepaintAll();
}

} // namespace kalvo
