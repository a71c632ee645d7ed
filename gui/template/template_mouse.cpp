// The template window's mouse and keyboard: the pen, the selection and dragging of UV points,
// the colour pick, panning with Space held, the wheel, and the cursor that shows which of them
// a press would start.
#include "core/model/preview_obj.h"
#include "gui/settings_controls.h"
#include "gui/shell.h"
#include "gui/template/map_template_window.h"
#include "gui/template/template_widgets.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>

namespace kalvo {

namespace {

const char* const kDiscardQuestion =
    QT_TRANSLATE_NOOP("kalvo::TfrmMapTemplate", "テクスチャ中のメッシュラインを破棄しますか？\n"
                                                "OKを押すと現在のテクスチャ情報が消去されます");

// Pixels the view moves per notch of the wheel.
constexpr int kWheelStep = 48;

} // namespace

// --- Cursor ------------------------------------------------------------------------------

int TfrmMapTemplate::ToolCursor() const
{
    switch (Tool) {
    case TTemplateTool::PickColour:
        return kCursorPickup;
    case TTemplateTool::Pen:
        return kCursorPen;
    case TTemplateTool::Select:
        break;
    }
    return kCursorDefault;
}

int TfrmMapTemplate::HoverCursor(int x, int y) const
{
    if (spaceHeld_)
        return kCursorHand;
    if (Tool != TTemplateTool::Select || !pointerInside_)
        return kCursorDefault;
    if (VertexAtPixel(x, y) >= 0)
        return kCursorPointSelect;
    if (EdgeAtPixel(x, y) >= 0)
        return kCursorEdgeSelect;
    return kCursorDefault;
}

void TfrmMapTemplate::UpdateCursor()
{
    const int hover = HoverCursor(pointerX_, pointerY_);
    const int slot = hover != kCursorDefault ? hover : ToolCursor();
    if (slot == screenCursor_ && pbxTemplate->testAttribute(Qt::WA_SetCursor))
        return;
    screenCursor_ = slot;
    pbxTemplate->setCursor(platform_.CursorOf(slot == kCursorDefault ? kCursorArrow : slot));
}

void TfrmMapTemplate::SetSpaceHeld(bool held)
{
    if (spaceHeld_ == held)
        return;
    spaceHeld_ = held;
    UpdateCursor();
}

bool TfrmMapTemplate::IsActiveTemplate() const
{
    if (closed_)
        return false;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        return sub->mdiArea() && sub->mdiArea()->activeSubWindow() == sub;
    return isActiveWindow();
}

bool TfrmMapTemplate::event(QEvent* event)
{
    // Keys held while the window was inactive: ask once when it becomes active again.
    if (event->type() == QEvent::WindowActivate)
        SetSpaceHeld(platform_.IsKeyDown(TKey::Space));
    return QWidget::event(event);
}

bool TfrmMapTemplate::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && IsActiveTemplate()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && !key->isAutoRepeat()) {
            SetSpaceHeld(type == QEvent::KeyPress);
            // Inside this window Space has no other use; elsewhere it keeps its own.
            auto* widget = qobject_cast<QWidget*>(watched);
            return widget && isAncestorOf(widget);
        }
    } else if (type == QEvent::ApplicationDeactivate) {
        // The release of a key held while the program lost the focus never arrives.
        SetSpaceHeld(false);
    }
    return QWidget::eventFilter(watched, event);
}

// --- Mouse -------------------------------------------------------------------------------

void TfrmMapTemplate::pbxTemplateMouseDown(Qt::MouseButton button, int x, int y,
                                           Qt::KeyboardModifiers keys)
{
    if (button != Qt::LeftButton || !Model())
        return;
    pointerX_ = x;
    pointerY_ = y;
    pointerInside_ = true;
    UpdateCursor();
    originX_ = x;
    originY_ = y;
    dragging_ = false;
    pickedEdge_ = -1;
    pickedVertex_ = -1;

    // In pnlCanvas coordinates when the picture reaches past the panel's top-left corner.
    const int canvasX = x + std::min(pnlPaint.Left, 0);
    const int canvasY = y + std::min(pnlPaint.Top, 0);

    if (screenCursor_ == kCursorHand) {
        panning_ = true;
        originX_ = canvasX;
        originY_ = canvasY;
        return;
    }

    switch (Tool) {
    case TTemplateTool::Pen:
        stroking_ = true;
        history_.BeginBitmapChange();
        if (!TextureShown) {
            TextureShown = true;
            const TAnswer answer =
                platform_.MessageBox(TMsgKind::Information, tr(kDiscardQuestion),
                                     {TMsgButton{tr("いいえ(&N)"), TAnswer::No},
                                      TMsgButton{QStringLiteral("OK"), TAnswer::Ok}});
            if (answer == TAnswer::Ok) {
                history_.BeforeBitmapChange({0, 0, Bitmap().Width(), Bitmap().Height()});
                ClearBitmap();
            }
            RepaintTemplate();
        }
        break;
    case TTemplateTool::Select: {
        const bool onVertex = screenCursor_ == kCursorPointSelect;
        const bool onEdge = screenCursor_ == kCursorEdgeSelect;
        if (!onVertex && !onEdge)
            break;
        TpreviewObj& model = *Model();
        const int found = onVertex ? VertexAtPixel(x, y) : EdgeAtPixel(x, y);
        if (found < 0)
            break;
        bool& mark = onVertex ? model.Vertices[found].Mark : model.Edges[found].Mark;
        const bool wasMarked = mark;
        if (wasMarked) {
            (onVertex ? pickedVertex_ : pickedEdge_) = found;
        } else if (!keys.testFlag(Qt::ShiftModifier)) {
            ClearMarks();
        }
        mark = true;
        if (!wasMarked)
            RepaintTemplate();
        originX_ = canvasX;
        originY_ = canvasY;
        dragging_ = true;
        history_.BeginUVChange();
        break;
    }
    case TTemplateTool::PickColour:
        break;
    }
}

void TfrmMapTemplate::pbxTemplateMouseMove(Qt::MouseButtons buttons, int x, int y)
{
    pointerX_ = x;
    pointerY_ = y;
    pointerInside_ = true;
    if (!buttons.testFlag(Qt::LeftButton) || !Model()) {
        UpdateCursor();
        return;
    }
    const int canvasX = x + std::min(pnlPaint.Left, 0);
    const int canvasY = y + std::min(pnlPaint.Top, 0);

    if (panning_) {
        for (const auto& [bar, delta] :
             {std::pair{sbrHori, canvasX - originX_}, std::pair{sbrVert, canvasY - originY_}}) {
            if (bar->isVisible())
                bar->setValue(std::clamp(bar->value() - delta, 0, bar->maximum()));
        }
        // The picture moved under the pointer: its canvas position is what stays.
        originX_ = canvasX;
        originY_ = canvasY;
        return;
    }
    if (dragging_) {
        // A drag never unmarks what was clicked.
        pickedEdge_ = -1;
        pickedVertex_ = -1;
        const TUVPoint delta = PixelDeltaToUV(canvasX - originX_, canvasY - originY_);
        if (canvasX != originX_ || canvasY != originY_) {
            MoveMarked(delta.u, delta.v);
            RepaintTemplate();
        }
        originX_ = canvasX;
        originY_ = canvasY;
        UpdateCursor();
        return;
    }
    const double zoom = Mapping().Zoom;
    switch (Tool) {
    case TTemplateTool::PickColour: {
        const TColour colour = BitmapPixel(NearestInt(x / zoom), NearestInt(y / zoom));
        pnlTransparent->SetColour(colour);
        TransparentColour = colour;
        break;
    }
    case TTemplateTool::Pen: {
        if (!stroking_)
            break;
        const int x0 = NearestInt(originX_ / zoom);
        const int y0 = NearestInt(originY_ / zoom);
        const int x1 = NearestInt(x / zoom);
        const int y1 = NearestInt(y / zoom);
        history_.BeforeBitmapChange(StrokeBounds(x0, y0, x1, y1));
        RepaintTemplateRect(PenStroke(x0, y0, x1, y1));
        originX_ = x;
        originY_ = y;
        break;
    }
    case TTemplateTool::Select:
        break;
    }
}

void TfrmMapTemplate::pbxTemplateMouseUp(Qt::MouseButton button, int x, int y)
{
    Q_UNUSED(button);
    pointerX_ = x;
    pointerY_ = y;
    panning_ = false;
    if (Model()) {
        if (pickedEdge_ != -1 && pickedEdge_ < Model()->EdgeCount()) {
            Model()->Edges[pickedEdge_].Mark = false;
            RepaintTemplate();
        }
        if (pickedVertex_ != -1 && pickedVertex_ < Model()->VertexCount()) {
            Model()->Vertices[pickedVertex_].Mark = false;
            RepaintTemplate();
        }
    }
    pickedEdge_ = -1;
    pickedVertex_ = -1;
    if (dragging_)
        history_.EndUVChange();
    if (stroking_)
        history_.EndBitmapChange();
    dragging_ = false;
    stroking_ = false;
    UpdateCursor();
    RestartPreview();
}

void TfrmMapTemplate::pbxTemplateLeave()
{
    pointerInside_ = false;
    UpdateCursor();
}

void TfrmMapTemplate::pbxTemplateWheel(int x, int y, QPoint angleDelta, Qt::KeyboardModifiers keys)
{
    if (keys.testFlag(Qt::ControlModifier)) {
        if (angleDelta.y() == 0)
            return;
        ZoomAbout(angleDelta.y() > 0 ? 2.0 : 0.5, x + pnlPaint.Left, y + pnlPaint.Top);
        return;
    }
    int dx = -angleDelta.x() * kWheelStep / 120;
    int dy = -angleDelta.y() * kWheelStep / 120;
    if (keys.testFlag(Qt::ShiftModifier) && dx == 0)
        std::swap(dx, dy);
    ScrollBy(dx, dy);
}

} // namespace kalvo
