#include "gui/model_window.h"

#include "core/model/preview_obj.h"
#include "core/preview/draw_settings.h"
#include "core/settings/settings.h"
#include "gui/object_window.h"
#include "gui/platform.h"
#include "gui/shell.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace kalvo {

TPaintBox::TPaintBox(int tag, QWidget* parent) : QWidget(parent), tag_(tag)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::Redraw() { canvas_ = OnPaint ? OnPaint() : nullptr; }

void TPaintBox::paintEvent(QPaintEvent*)
{
    Redraw();
    if (!canvas_ || canvas_->Width() == 0 || canvas_->Height() == 0)
        return;
    QImage image(canvas_->Width(), canvas_->Height(), QImage::Format_RGB32);
    CanvasToScreen(*canvas_, reinterpret_cast<std::uint32_t*>(image.bits()),
                   static_cast<int>(image.bytesPerLine() / 4));
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), image);
}

TfrmModel::TfrmModel(TShell& shell, QWidget* parent) : QWidget(parent), shell_(shell)
{
    setObjectName(QStringLiteral("frmModel"));
    setWindowTitle(QStringLiteral("Preview Window"));
    resize(503, 342);

    auto* toolbar = new QWidget(this);
    toolbar->setObjectName(QStringLiteral("Panel1"));
    btnObj = new QToolButton(toolbar);
    btnObj->setObjectName(QStringLiteral("btnObj"));
    btnObj->setText(QStringLiteral("   オブジェクト  "));
    btnObj->setToolTip(QStringLiteral("オブジェクト選択やテンプレート作成作業等を行います"));
    btnObj->setCheckable(true);
    QFont bold = btnObj->font();
    bold.setBold(true);
    btnObj->setFont(bold);
    connect(btnObj, &QToolButton::clicked, this, &TfrmModel::btnObjClick);
    auto* toolbarLayout = new QHBoxLayout(toolbar);
    toolbarLayout->setContentsMargins(0, 0, 0, 0);
    toolbarLayout->addWidget(btnObj);
    toolbarLayout->addStretch();

    Edit1 = new QLineEdit(this);
    Edit1->hide();

    pnlModel = new QWidget(this);
    pnlModel->setObjectName(QStringLiteral("pnlModel"));
    pnlModel->setAutoFillBackground(true);
    QPalette white = pnlModel->palette();
    white.setColor(QPalette::Window, Qt::white);
    pnlModel->setPalette(white);
    pnlModel->installEventFilter(this);
    for (int v = 0; v < 4; ++v) {
        Pane[v] = new QWidget(pnlModel);
        paintBoxes_[v] = new TPaintBox(v, Pane[v]);
        paintBoxes_[v]->OnPaint = [this, v] { return &RedrawView(v); };
        Pane[v]->hide();
    }
    pbxModel = paintBoxes_[0];
    pbxXY = paintBoxes_[1];
    pbxYZ = paintBoxes_[2];
    pbxXZ = paintBoxes_[3];

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(pnlModel, 1);

    objectWindow_ = std::make_unique<TfrmObj>(shell_, *this);
    scene_.Models = &objectWindow_->Models();
}

TfrmModel::~TfrmModel()
{
    // The object window (declared after the scene) goes first, with the models and their
    // template windows; nothing draws meanwhile.
    scene_.Closing = true;
}

void TfrmModel::Layout()
{
    if (IsClosing())
        return;
    scene_.Settings = DrawSettingsFrom(CurrentSettings(shell_));
    scene_.Layout(pnlModel->width(), pnlModel->height());
    const TPaneLayout& layout = scene_.Panes();
    for (int v = 0; v < 4; ++v) {
        const TPaneRect& pane = layout.Pane[v];
        Pane[v]->setGeometry(pane.Left, pane.Top, pane.Width, pane.Height);
        const TPaneRect box = layout.PaintBox(v);
        paintBoxes_[v]->setGeometry(box.Left, box.Top, std::max(box.Width, 0),
                                    std::max(box.Height, 0));
        Pane[v]->setVisible(layout.Shown[v]);
    }
    RepaintAll();
}

void TfrmModel::RepaintAll()
{
    for (TPaintBox* box : paintBoxes_)
        box->update();
}

const TCanvas& TfrmModel::RedrawView(int v)
{
    if (IsClosing())
        return scene_.Pane(v);
    // The settings are taken as they stand at each drawing, so a change shows at the next
    // one; the scene reads the object window's model list itself.
    scene_.Settings = DrawSettingsFrom(CurrentSettings(shell_));
    scene_.RedrawView(v, v == 0 ? scene_.DisplayMode : 0);
    if (scene_.ProgressPending)
        scene_.FinishFill(); // no fill timer yet: a direct hidden-surface frame completes here
    return scene_.Pane(v);
}

void TfrmModel::btnObjClick()
{
    TfrmObj& objects = *objectWindow_;
    if (objects.isVisible()) {
        objects.hide();
    } else {
        objects.move(btnObj->mapToGlobal(QPoint(0, btnObj->height())));
        objects.show();
        objects.raise();
    }
    btnObj->setChecked(objects.isVisible());
}

bool TfrmModel::eventFilter(QObject* watched, QEvent* event)
{
    // The panes follow the model area, whose size the window's layout sets.
    if (watched == pnlModel && event->type() == QEvent::Resize)
        Layout();
    return QWidget::eventFilter(watched, event);
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
    scene_.Closing = true;
    objectWindow_->hide();
    event->accept();
}

} // namespace kalvo
