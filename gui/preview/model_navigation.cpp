// The preview window's mouse and keyboard navigation: orbit and dolly in the perspective
// pane, cross-hair and panning in the orthographic panes, the view menu, the wheel, the
// application-wide cursor and the object window's automatic opening and hiding.

#include "core/preview/draw_settings.h"
#include "core/preview/navigation.h"
#include "core/preview/views.h"
#include "core/settings/settings.h"
#include "gui/object_window.h"
#include "gui/platform.h"
#include "gui/preview/model_window.h"
#include "gui/shell.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QToolButton>
#include <QWheelEvent>
#include <cstdlib>

namespace kalvo {

namespace {

constexpr int kWheelNotch = 120; // angle delta of one wheel notch

QPoint PositionOf(const QMouseEvent& event) { return event.position().toPoint(); }

} // namespace

bool TfrmModel::eventFilter(QObject* watched, QEvent* event)
{
    if (IsClosing())
        return QWidget::eventFilter(watched, event);

    const QEvent::Type type = event->type();
    if (watched == pnlModel && type == QEvent::Resize) {
        // The panes follow the model area, whose size the window's layout sets.
        Layout();
    } else if (auto* box = qobject_cast<TPaintBox*>(watched);
               box && (box == pbxModel || box == pbxXY || box == pbxYZ || box == pbxXZ)) {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            PaneMouseDown(*box, static_cast<QMouseEvent&>(*event));
            break;
        case QEvent::MouseMove:
            PaneMouseMove(*box, static_cast<QMouseEvent&>(*event));
            break;
        case QEvent::MouseButtonRelease:
            PaneMouseUp(*box, static_cast<QMouseEvent&>(*event));
            break;
        case QEvent::Wheel:
            PaneWheel(*box, static_cast<QWheelEvent&>(*event));
            return true;
        default:
            break;
        }
    } else if (watched == btnObj && type == QEvent::MouseMove) {
        btnObjMouseMove();
        return true; // the panel under the button must not hide what this just opened
    } else if (watched == btnView && type == QEvent::MouseMove) {
        AutoHideObjectWindow();
    } else if (watched == Panel1 && type == QEvent::MouseMove) {
        if (!Panel1->childAt(PositionOf(static_cast<QMouseEvent&>(*event))))
            AutoHideObjectWindow();
    } else if (watched == static_cast<QObject*>(pnlZoom) && type == QEvent::MouseButtonPress) {
        popZoom->popup(static_cast<QMouseEvent&>(*event).globalPosition().toPoint());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// --- Paint boxes ---------------------------------------------------------------------------------

void TfrmModel::PaneMouseDown(TPaintBox& box, QMouseEvent& event)
{
    const QPoint position = PositionOf(event);
    lastButtons_ = event.buttons();
    lastMouse_ = position;
    if (event.button() == Qt::LeftButton)
        pressedBox_ = box.Tag();
    if (event.buttons() & Qt::RightButton) {
        rightDown_ = position;
        // In an orthographic pane the right button moves the cross-hair in depth.
        if (box.Tag() != 0)
            shell_.Platform->SetAppCursor(kCursorCross);
    }
}

void TfrmModel::PaneMouseMove(TPaintBox& box, QMouseEvent& event)
{
    AutoHideObjectWindow();
    if (box.Tag() == kPerspectiveView)
        PerspectiveMouseMove(event);
    else
        OrthoMouseMove(box, event);
}

void TfrmModel::PaneMouseUp(TPaintBox& box, QMouseEvent& event)
{
    const QPoint position = PositionOf(event);
    // A left click selects the pane's view before the release is handled.
    if (event.button() == Qt::LeftButton) {
        const bool click = pressedBox_ == box.Tag() && box.rect().contains(position);
        pressedBox_ = -1;
        if (click)
            SelectView(box.Tag());
    }
    if (box.Tag() == kPerspectiveView)
        PerspectiveMouseUp(event);
    else
        OrthoMouseUp(box, event);
}

void TfrmModel::PerspectiveMouseMove(QMouseEvent& event)
{
    const QPoint position = PositionOf(event);
    const int dx = position.x() - lastMouse_.x();
    const int dy = position.y() - lastMouse_.y();
    lastButtons_ = event.buttons();
    // While a modifier cursor shows, every second long move is let through.
    if (shell_.Platform->AppCursor() != kCursorDefault && (std::abs(dx) > 2 || std::abs(dy) > 2))
        moveSkip_ = (moveSkip_ + 1) % 2;
    else
        moveSkip_ = 0;
    if (moveSkip_ != 0)
        return;

    const TSettings& settings = CurrentSettings(shell_);
    const bool right = event.buttons() & Qt::RightButton;
    const bool left = event.buttons() & Qt::LeftButton;
    if (right)
        DollyView(scene_.View, scene_.Camera, dy, settings.Zoom == 1);
    else if (left)
        OrbitView(scene_.View, scene_.Camera, dx, dy, settings.View == 1);
    lastMouse_ = position;
    if (!left && !right)
        return;

    const int mode = scene_.DisplayMode;
    switch (settings.ViewMoveMode) {
    case 0: // a wireframe while dragging
        Invalidate(kPerspectiveView, kWireframeMode);
        break;
    case 1: { // shaded wireframe while dragging
        scene_.Settings = DrawSettingsFrom(settings);
        const bool switchBuffer =
            scene_.UsesBuffer(kShadedWireframeMode) != scene_.UsesBuffer(mode);
        Invalidate(kPerspectiveView, mode > kWireframeMode ? kShadedWireframeMode : kWireframeMode);
        dragBufferSwitch_ = switchBuffer;
        break;
    }
    case 2: // the display mode itself while dragging
        Invalidate(kPerspectiveView, mode);
        break;
    default:
        break;
    }
}

void TfrmModel::PerspectiveMouseUp(QMouseEvent& event)
{
    const QPoint position = PositionOf(event);
    if ((lastButtons_ & Qt::RightButton) && position == rightDown_) {
        OpenViewMenu(*pbxModel, position, false);
        return;
    }
    const int mode = scene_.DisplayMode;
    switch (CurrentSettings(shell_).ViewMoveMode) {
    case 0:
        if (mode > kWireframeMode)
            Invalidate(kPerspectiveView, mode);
        break;
    case 1:
        if (mode > kShadedWireframeMode)
            Invalidate(kPerspectiveView, mode);
        break;
    default:
        break;
    }
}

void TfrmModel::OrthoMouseMove(TPaintBox& box, QMouseEvent& event)
{
    const int view = box.Tag();
    const QPoint position = PositionOf(event);
    const int cursor = shell_.Platform->AppCursor();
    const TCanvas& pane = scene_.Pane(view);
    const double scale = OrthoScaleFor(pane.Width(), scene_.View.OrthoZoom);
    QPoint& previous = panePrevious_[view - 1];

    if (view == scene_.View.ActiveView && cursor != kCursorHand) {
        const VertexInput point =
            cursor == kCursorCross
                ? OrthoDepthMove(scene_.View, view, position.y() - previous.y(), scale)
                : OrthoPointAt(scene_.View, view, position.x(), position.y(), pane.Width(),
                               pane.Height());
        scene_.SetCursorPoint(point);
        for (int v = 1; v <= 3; ++v)
            paintBoxes_[v]->Refresh();
        previous = position;
        return;
    }

    // Panning with the hand; three moves of four are skipped and caught up by the fourth.
    const int dx = position.x() - lastMouse_.x();
    const int dy = position.y() - lastMouse_.y();
    moveSkip_ = cursor == kCursorHand ? (moveSkip_ + 1) % 4 : 0;
    if (moveSkip_ == 0)
        lastMouse_ = position;
    if ((event.buttons() & Qt::LeftButton) && moveSkip_ == 0 && cursor == kCursorHand) {
        PanOrtho(scene_.View, view, dx, dy, scale);
        RedrawOrthoPanes();
    }
    previous = position;
}

void TfrmModel::OrthoMouseUp(TPaintBox& box, QMouseEvent& event)
{
    const QPoint position = PositionOf(event);
    if (!(lastButtons_ & Qt::RightButton) || position != rightDown_)
        return;
    shell_.Platform->SetAppCursor(kCursorDefault);
    OpenViewMenu(box, position, true);
}

void TfrmModel::OpenViewMenu(TPaintBox& box, QPoint position, bool fromOrtho)
{
    mnuChangeCenter->setEnabled(fromOrtho);
    popView->popup(box.mapToGlobal(position));
}

void TfrmModel::PaneWheel(TPaintBox& box, QWheelEvent& event)
{
    const int delta = event.angleDelta().y();
    if (box.Tag() == kPerspectiveView) {
        WheelDolly(scene_.View, scene_.Camera, static_cast<double>(delta) / kWheelNotch);
        Invalidate(kPerspectiveView, scene_.DisplayMode);
        return;
    }
    // The orthographic zoom goes by whole steps: fine wheels add up to a notch first.
    wheelRemainder_ += delta;
    while (wheelRemainder_ >= kWheelNotch) {
        wheelRemainder_ -= kWheelNotch;
        N15Click();
    }
    while (wheelRemainder_ <= -kWheelNotch) {
        wheelRemainder_ += kWheelNotch;
        N16Click();
    }
}

// --- Object window -------------------------------------------------------------------------------

void TfrmModel::btnObjClick() { btnObj->click(); }

void TfrmModel::ShowObjectWindow(bool show)
{
    TfrmObj& objects = *objectWindow_;
    if (!show) {
        objects.hide();
        return;
    }
    // Below the button, moved back onto the screen where the window would stick out.
    QPoint corner = btnObj->mapToGlobal(QPoint(0, btnObj->height()));
    objects.move(corner);
    objects.show();
    objects.raise();
    QScreen* screen = QGuiApplication::screenAt(corner);
    if (!screen)
        screen = btnObj->screen();
    if (screen) {
        const QRect available = screen->availableGeometry();
        const QSize size = objects.frameGeometry().size();
        corner.setX(
            std::max(available.left(), std::min(corner.x(), available.right() + 1 - size.width())));
        corner.setY(std::max(available.top(),
                             std::min(corner.y(), available.bottom() + 1 - size.height())));
        if (corner != objects.pos())
            objects.move(corner);
    }
}

void TfrmModel::btnObjMouseMove()
{
    if (!btnObj->isChecked() && CurrentSettings(shell_).AutoMenu &&
        objectWindow_->btnAlwaysView->isChecked())
        btnObj->click();
}

void TfrmModel::AutoHideObjectWindow()
{
    if (btnObj->isChecked() && objectWindow_->btnAlwaysView->isChecked())
        btnObj->click();
}

// --- Application-wide cursor ---------------------------------------------------------------------

void TfrmModel::TrackInput(QEvent& event)
{
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto& key = static_cast<QKeyEvent&>(event);
        if (key.isAutoRepeat())
            return;
        const bool down = event.type() == QEvent::KeyPress;
        if (key.key() == Qt::Key_Space)
            spaceHeld_ = down;
        else if (key.key() == Qt::Key_Control)
            ctrlHeld_ = down;
        else if (key.key() == Qt::Key_Shift)
            shiftHeld_ = down;
        else
            return;
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        const auto& mouse = static_cast<QMouseEvent&>(event);
        const bool down = event.type() != QEvent::MouseButtonRelease;
        if (mouse.button() == Qt::LeftButton)
            leftHeld_ = down;
        else if (mouse.button() == Qt::RightButton)
            rightHeld_ = down;
        else
            return;
        break;
    }
    case QEvent::ApplicationStateChange: {
        // Keys pressed or released while another program had the keyboard never came here:
        // ask the system what is held now.
        if (QGuiApplication::applicationState() == Qt::ApplicationActive && shell_.Platform) {
            spaceHeld_ = shell_.Platform->IsKeyDown(TKey::Space);
            ctrlHeld_ = shell_.Platform->IsKeyDown(TKey::Ctrl);
            shiftHeld_ = shell_.Platform->IsKeyDown(TKey::Shift);
        } else {
            spaceHeld_ = ctrlHeld_ = shiftHeld_ = leftHeld_ = rightHeld_ = false;
        }
        break;
    }
    default:
        return;
    }
    // The handler of the event runs first: a right release in an orthographic pane sets the
    // cursor back itself and must not move the pointer.
    if (!cursorUpdateQueued_) {
        cursorUpdateQueued_ = true;
        QMetaObject::invokeMethod(this, &TfrmModel::UpdateAppCursor, Qt::QueuedConnection);
    }
}

bool TfrmModel::IsActivePreview() const
{
    if (!QApplication::activeWindow())
        return false;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && sub->mdiArea())
        return sub->mdiArea()->currentSubWindow() == sub;
    return isActiveWindow();
}

void TfrmModel::UpdateAppCursor()
{
    cursorUpdateQueued_ = false;
    if (IsClosing() || !shell_.Platform || !IsActivePreview())
        return;
    TPlatform& platform = *shell_.Platform;
    const int before = platform.AppCursor();
    int cursor = before;
    if (!leftHeld_ && !rightHeld_)
        cursor = kCursorDefault;
    if (spaceHeld_)
        cursor = kCursorHand;
    if (ctrlHeld_)
        cursor = shiftHeld_ ? kCursorCross : kCursorView;
    platform.SetAppCursor(cursor);
    if (before == kCursorCross && cursor == kCursorDefault)
        WarpPointer(scene_.View.ActiveView);
}

} // namespace kalvo
