// The preview window driven with real mouse and key events: layouts, view selection, display
// modes and the progressive fill, perspective and orthographic navigation, the menus and keys,
// and the object window's automatic opening. Pane pictures are checked against what the
// drawing core paints for the same state.

#include "core/model/preview_obj.h"
#include "core/preview/draw_settings.h"
#include "gui/open_command.h"
#include "tests/gui/support/app_fixture.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <cmath>

using namespace kalvo;
using namespace kalvo::test;

namespace {

QRect Geometry(const QWidget* widget) { return widget->geometry(); }

// What the core paints for pane v in the window's present state, in a scene of its own.
QImage CorePicture(TfrmModel& window, int v)
{
    const TPreviewScene& shown = window.Scene();
    TPreviewScene scene;
    scene.Settings = shown.Settings;
    scene.Models = shown.Models;
    scene.View = shown.View;
    scene.DisplayMode = shown.DisplayMode;
    scene.TexturePreview = shown.TexturePreview;
    scene.SplitView = shown.SplitView;
    scene.ThreeView = shown.ThreeView;
    scene.Layout(window.pnlModel->width(), window.pnlModel->height());
    ApplyView(scene.View, scene.Camera);
    scene.RedrawView(v, v == 0 ? scene.DisplayMode : 0);
    scene.FinishFill();
    const TCanvas& canvas = scene.Pane(v);
    QImage image(canvas.Width(), canvas.Height(), QImage::Format_RGB32);
    CanvasToScreen(canvas, reinterpret_cast<std::uint32_t*>(image.bits()),
                   static_cast<int>(image.bytesPerLine() / 4));
    return image;
}

QImage ShownPicture(TPaintBox& box)
{
    return box.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void Drag(QWidget* widget, Qt::MouseButton button, QPoint from, QPoint to, int steps = 4)
{
    QTest::mousePress(widget, button, Qt::NoModifier, from);
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(widget, from + (to - from) * i / steps);
    QTest::mouseRelease(widget, button, Qt::NoModifier, to);
}

// A move with no button held, sent to the widget itself (the test library would move the
// system pointer instead, which reaches whichever window lies under it).
void Hover(QWidget* widget, QPoint position)
{
    QMouseEvent move(QEvent::MouseMove, position, widget->mapToGlobal(position), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// The application-wide cursor follows the keys once the events have been handled.
void Settle() { QCoreApplication::processEvents(); }

} // namespace

class PreviewWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        app = std::make_unique<TAppFixture>();
        QVERIFY(QTest::qWaitForWindowExposed(&app->Preview()));
    }
    void cleanup()
    {
        window.reset();
        app.reset();
    }

    void NewWindowShowsThePerspectiveAloneAndItsStripButtonSplits()
    {
        TfrmModel& preview = app->Preview();
        QVERIFY(preview.Pane[0]->isVisible());
        for (int v = 1; v <= 3; ++v)
            QVERIFY(!preview.Pane[v]->isVisible());
        QCOMPARE(Geometry(preview.Pane[0]), preview.pnlModel->rect());
        QVERIFY(preview.btnFrame->isChecked() && preview.btnTexture->isChecked());

        QTest::mouseClick(preview.Pane[0]->StripButton, Qt::LeftButton);
        const int w = preview.pnlModel->width() / 2;
        const int h = preview.pnlModel->height() / 2;
        QCOMPARE(Geometry(preview.Pane[1]), QRect(0, 0, w, h));
        QCOMPARE(Geometry(preview.Pane[0]), QRect(w, 0, w, h));
        QCOMPARE(Geometry(preview.Pane[2]), QRect(0, h, w, h));
        QCOMPARE(Geometry(preview.Pane[3]), QRect(w, h, w, h));
        for (int v = 0; v < 4; ++v)
            QVERIFY(preview.Pane[v]->isVisible());
    }

    void LayoutFiguresOfASixHundredByThreeHundredArea()
    {
        window = std::make_unique<TfrmModel>(app->Shell());
        window->resize(600, 324);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->pnlModel->size(), QSize(600, 300));

        QTest::mouseClick(window->Pane[0]->StripButton, Qt::LeftButton);
        QCOMPARE(window->pbxXZ->size(), QSize(292, 142));
        QCOMPARE(Geometry(window->Pane[3]), QRect(300, 150, 300, 150));

        // Clicking the side pane makes it active: its strip turns red and the zoom label
        // moves to its lower-left corner, right of the strip.
        QTest::mouseClick(window->pbxYZ, Qt::LeftButton, Qt::NoModifier, QPoint(100, 60));
        QCOMPARE(window->ViewState().ActiveView, 2);
        QVERIFY(window->Pane[2]->IsActive() && !window->Pane[0]->IsActive());
        QCOMPARE(window->pnlZoom->pos(), QPoint(11, 300 - 17));

        QTest::mouseClick(window->btnView, Qt::LeftButton);
        QVERIFY(!window->Pane[0]->isVisible());
        QCOMPARE(Geometry(window->Pane[2]), QRect(0, 0, 400, 300));
        QCOMPARE(Geometry(window->Pane[1]), QRect(400, 0, 200, 150));
        QCOMPARE(Geometry(window->Pane[3]), QRect(400, 150, 200, 150));
    }

    void ThreeViewButtonFromThePerspectiveActivatesTheTopView()
    {
        TfrmModel& preview = app->Preview();
        QTest::mouseClick(preview.btnView, Qt::LeftButton);
        QCOMPARE(preview.ViewState().ActiveView, 1);
        QVERIFY(preview.Pane[1]->isVisible() && !preview.Pane[0]->isVisible());
        // Up again: the four-pane layout.
        QTest::mouseClick(preview.btnView, Qt::LeftButton);
        for (int v = 0; v < 4; ++v)
            QVERIFY(preview.Pane[v]->isVisible());
    }

    void PanesShowWhatTheCoreDrawsInEveryMode()
    {
        OpenCube();
        TfrmModel& preview = app->Preview();
        app->Objects().SetItemSelected(0, true);
        QTest::mouseClick(preview.Pane[0]->StripButton, Qt::LeftButton);
        // Batch display for the shaded wireframe, direct for the hidden-surface modes.
        app->Settings().FrameMode = 1;
        for (QToolButton* mode :
             {preview.btnFrame, preview.btnZFlame, preview.btnZFlat, preview.btnZFlat2}) {
            QTest::mouseClick(mode, Qt::LeftButton);
            preview.pbxModel->Redraw();
            QTRY_VERIFY(!preview.FillPending());
            for (int v = 0; v < 4; ++v) {
                TPaintBox& box = *preview.Pane[v]->PaintBox;
                QVERIFY2(
                    ShownPicture(box) == CorePicture(preview, v),
                    qPrintable(QString("mode %1 pane %2").arg(preview.Scene().DisplayMode).arg(v)));
            }
        }
        QCOMPARE(preview.Scene().DisplayMode, 3);
    }

    void DirectRedrawRestartsTheFill()
    {
        OpenCube();
        TfrmModel& preview = app->Preview();
        // Every slice runs out of time after its first polygon.
        std::int64_t now = 0;
        preview.Scene().Clock = [&now] { return now += 1000; };
        QTest::mouseClick(preview.btnZFlat, Qt::LeftButton);
        preview.pbxModel->Redraw();
        QVERIFY(preview.FillPending());
        QCOMPARE(preview.Scene().ProgressIndex, 0);
        QTRY_VERIFY(preview.Scene().ProgressIndex >= 2);

        QTest::mouseClick(preview.btnZFlat, Qt::LeftButton);
        preview.pbxModel->Redraw();
        QCOMPARE(preview.Scene().ProgressIndex, 0);
        QVERIFY(preview.FillPending());
        QTRY_VERIFY(!preview.FillPending());
        QCOMPARE(ShownPicture(*preview.pbxModel), CorePicture(preview, 0));
    }

    void PerspectiveDragsOrbitAndDolly()
    {
        TfrmModel& preview = app->Preview();
        TViewState& view = preview.ViewState();
        Drag(preview.pbxModel, Qt::LeftButton, QPoint(40, 100), QPoint(440, 100));
        QCOMPARE(view.ViewAngleH, 40);
        view.ViewAngleH = 0;
        Drag(preview.pbxModel, Qt::LeftButton, QPoint(200, 100), QPoint(170, 100));
        QCOMPARE(view.ViewAngleH, -30);

        Drag(preview.pbxModel, Qt::RightButton, QPoint(200, 200), QPoint(200, 170), 3);
        QCOMPARE(view.ViewDistance, 47.0);
        QVERIFY(!preview.popView->isVisible()); // it moved: no menu
        Drag(preview.pbxModel, Qt::RightButton, QPoint(200, 280), QPoint(200, 0), 1);
        Drag(preview.pbxModel, Qt::RightButton, QPoint(200, 280), QPoint(200, 0), 1);
        QCOMPARE(view.ViewDistance, 1.0);

        // The wheel: a notch forward is a 12-pixel drag toward the target.
        view.ViewDistance = 50.0;
        QWheelEvent wheel(QPointF(100, 100), preview.pbxModel->mapToGlobal(QPointF(100, 100)),
                          QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(preview.pbxModel, &wheel);
        QCOMPARE(view.ViewDistance, 48.8);
    }

    void RightClickOpensTheViewMenu()
    {
        TfrmModel& preview = app->Preview();
        QTest::mouseClick(preview.pbxModel, Qt::RightButton, Qt::NoModifier, QPoint(50, 50));
        QVERIFY(preview.popView->isVisible());
        QVERIFY(!preview.mnuChangeCenter->isEnabled());
        preview.popView->close();

        QTest::mouseClick(preview.Pane[0]->StripButton, Qt::LeftButton);
        QTest::mousePress(preview.pbxXZ, Qt::RightButton, Qt::NoModifier, QPoint(30, 30));
        QCOMPARE(app->Platform.AppCursorSlot, kCursorCross);
        QTest::mouseRelease(preview.pbxXZ, Qt::RightButton, Qt::NoModifier, QPoint(30, 30));
        QVERIFY(preview.popView->isVisible());
        QVERIFY(preview.mnuChangeCenter->isEnabled());
        QCOMPARE(app->Platform.AppCursorSlot, kCursorDefault);
        preview.popView->close();
    }

    void CtrlShiftMovesTheCrossHairInDepthAndReleaseWarpsThePointer()
    {
        window = std::make_unique<TfrmModel>(app->Shell());
        window->resize(208, 232);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        TPaintBox& top = *window->pbxXY;
        QTest::keyClick(window.get(), Qt::Key_E); // the top view's key
        QCOMPARE(window->ViewState().ActiveView, 1);
        QCOMPARE(top.width(), 200);

        Hover(&top, QPoint(120, 90));
        const VertexInput tracked = window->ViewState().CursorPoint;
        QCOMPARE(tracked.y, 1.0); // (120 - 100) / 20
        QTest::keyPress(&top, Qt::Key_Control);
        QTest::keyPress(&top, Qt::Key_Shift);
        Settle();
        QCOMPARE(app->Platform.AppCursorSlot, kCursorCross);
        Hover(&top, QPoint(120, 100));
        QCOMPARE(window->ViewState().CursorPoint.z, -0.5);
        QCOMPARE(window->ViewState().CursorPoint.y, tracked.y);
        QTest::keyRelease(&top, Qt::Key_Shift);
        QTest::keyRelease(&top, Qt::Key_Control);
        Settle();
        QCOMPARE(app->Platform.AppCursorSlot, kCursorDefault);
        // From the cross back to the default: the pointer goes onto the cross-hair.
        QCOMPARE(app->Platform.Pointer, top.mapToGlobal(QPoint(120, 90)));

        // A right drag ends the same way.
        app->Platform.Pointer = QPoint();
        Hover(&top, QPoint(60, 40));
        Drag(&top, Qt::RightButton, QPoint(60, 40), QPoint(60, 80));
        Settle();
        QCOMPARE(app->Platform.AppCursorSlot, kCursorDefault);
        QCOMPARE(app->Platform.Pointer, top.mapToGlobal(QPoint(60, 40)));
        QVERIFY(!window->popView->isVisible());
    }

    void SpacePansAllOrthographicPanesWithThePointer()
    {
        OpenCube();
        TfrmModel& preview = app->Preview();
        QTest::mouseClick(preview.Pane[0]->StripButton, Qt::LeftButton);
        TPaintBox& face = *preview.pbxXZ;
        const double scale = face.width() / preview.ViewState().OrthoZoom;
        // Without the hand, moving over an inactive pane changes nothing.
        const VertexInput before = preview.ViewState().CursorPoint;
        Hover(&face, QPoint(10, 10));
        Hover(&face, QPoint(70, 50));
        QCOMPARE(preview.ViewState().CursorPoint.x, before.x);

        QTest::keyPress(&face, Qt::Key_Space);
        Settle();
        QCOMPARE(app->Platform.AppCursorSlot, kCursorHand);
        // Three moves of four are skipped; the fourth catches up.
        QTest::mousePress(&face, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
        for (int i = 1; i <= 3; ++i)
            QTest::mouseMove(&face, QPoint(50 + 10 * i, 50 - 5 * i));
        QCOMPARE(preview.ViewState().OrthoCentre.x, 0.0);
        QTest::mouseMove(&face, QPoint(90, 30));
        QTest::mouseRelease(&face, Qt::LeftButton, Qt::NoModifier, QPoint(90, 30));
        QTest::keyRelease(&face, Qt::Key_Space);
        Settle();
        QCOMPARE(app->Platform.AppCursorSlot, kCursorDefault);
        // The face pane shows +X to the left: the picture followed the pointer 40 right and
        // 20 up.
        const VertexInput centre = preview.ViewState().OrthoCentre;
        QCOMPARE(centre.x, 40 / scale);
        QCOMPARE(centre.z, -20 / scale);
        QCOMPARE(preview.ViewState().CursorPoint.x, centre.x);
        for (int v = 1; v <= 3; ++v)
            QCOMPARE(ShownPicture(*preview.Pane[v]->PaintBox), CorePicture(preview, v));
    }

    void HotKeysFollowTheSettingsAndAnEmptyOneNeverMatches()
    {
        TfrmModel& preview = app->Preview();
        app->Settings().TopView.clear();
        app->Settings().SideView.assign(1, 'E');
        QTest::keyClick(preview.pbxModel, Qt::Key_E);
        QCOMPARE(preview.ViewState().ActiveView, 2);
        QKeyEvent noKey(QEvent::KeyPress, 0, Qt::NoModifier);
        QApplication::sendEvent(preview.pbxYZ, &noKey);
        QCOMPARE(preview.ViewState().ActiveView, 2);
        QTest::keyClick(preview.pbxYZ, Qt::Key_R);
        QCOMPARE(preview.ViewState().ActiveView, 0);
        QTest::keyClick(preview.pbxModel, Qt::Key_W);
        QCOMPARE(preview.Scene().SplitView, 1);
    }

    void ZoomCommandsLabelAsThePopupDoes()
    {
        TfrmModel& preview = app->Preview();
        QVERIFY(QTest::qWaitForWindowActive(&app->Main()));
        QMenuBar& bar = *app->Main().menuBar();
        QVERIFY(bar.actions().contains(preview.WindowMenu->menuAction()));
        QVERIFY(!app->Main().W1->menuAction()->isVisible());

        QTest::keyClick(preview.pbxModel, Qt::Key_F2, Qt::ControlModifier);
        QCOMPARE(preview.ViewState().OrthoZoom, 20.0);
        QCOMPARE(preview.pnlZoom->text(), QString("1:2"));
        QTest::keyClick(preview.pbxModel, Qt::Key_F1, Qt::ControlModifier);
        QTest::keyClick(preview.pbxModel, Qt::Key_F1, Qt::ControlModifier);
        QCOMPARE(preview.ViewState().OrthoZoom, 5.0);
        QCOMPARE(preview.pnlZoom->text(), QString("2:1"));

        QTest::mouseClick(preview.pnlZoom, Qt::LeftButton);
        QVERIFY(preview.popZoom->isVisible());
        preview.popZoom->actions().first()->trigger();
        QCOMPARE(preview.ViewState().OrthoZoom, 320.0);
        QCOMPARE(preview.pnlZoom->text(), QString("1:32"));
        preview.N16->trigger(); // at the limit: nothing, not even the label
        QCOMPARE(preview.pnlZoom->text(), QString("1:32"));
    }

    void HomeFramesTheShownModels()
    {
        OpenCube();
        TfrmModel& preview = app->Preview();
        const TpreviewObj& cube = *app->Objects().ItemModel(0);
        QTest::keyClick(preview.pbxModel, Qt::Key_Home);
        const TViewState& view = preview.ViewState();
        QCOMPARE(view.ViewTarget.x, (cube.MinX + cube.MaxX) / 2);
        QCOMPARE(view.OrthoCentre.z, (cube.MinZ + cube.MaxZ) / 2);
        // The bounding sphere just fills the 45-degree field.
        const double dx = cube.MaxX - cube.MinX, dy = cube.MaxY - cube.MinY,
                     dz = cube.MaxZ - cube.MinZ;
        const double radius = std::sqrt(dx * dx + dy * dy + dz * dz) / 2;
        QVERIFY(std::abs(radius / view.ViewDistance - std::sin(22.5 * M_PI / 180)) < 1e-9);
        // The smallest zoom step that holds the box in every orthographic pane.
        QVERIFY(view.OrthoZoom >= std::max(dx, dy));
        QVERIFY(view.OrthoZoom / 2 <
                std::max({dx, dy, dz * preview.pbxXZ->width() / preview.pbxXZ->height()}));
    }

    void ObjectWindowOpensOnHoverAndHidesOverThePanes()
    {
        TfrmModel& preview = app->Preview();
        TfrmObj& objects = app->Objects();
        Hover(preview.btnObj, QPoint(5, 5));
        QVERIFY(!objects.isVisible()); // the setting is off
        app->Settings().AutoMenu = true;
        Hover(preview.btnObj, QPoint(6, 5));
        QVERIFY(objects.isVisible() && preview.btnObj->isChecked());
        Hover(preview.pbxModel, QPoint(50, 50));
        QVERIFY(!objects.isVisible() && !preview.btnObj->isChecked());

        // Near the bottom of the screen the window is moved up onto it.
        const QRect screen = preview.screen()->availableGeometry();
        app->Main().move(screen.left(), screen.bottom() - 150);
        preview.btnObjClick();
        QVERIFY(objects.isVisible());
        QVERIFY(screen.contains(objects.frameGeometry()));
    }

    void FilesFromTheCommandLineOpenDespiteOneMissing()
    {
        const QString unreadable = app->Dir.filePath("folder.dxf");
        QVERIFY(QDir().mkdir(unreadable));
        app->Main().OpenFiles({SourcePath("data/samples/cube.dxf"), unreadable,
                               SourcePath("data/samples/pyramid.dxf")});
        TfrmObj& objects = app->Objects();
        // The unreadable file keeps its entry, as Open gives it one.
        QCOMPARE(objects.ItemCount(), 3);
        QCOMPARE(objects.lvwObj->topLevelItem(2)->text(0), QString("pyramid.dxf"));
        QVERIFY(objects.ItemModel(2)->PolygonCount() > 0);
        QCOMPARE(app->Platform.Messages.size(), std::size_t{1});
    }

private:
    // Reads the sample cube into the preview window; the main window then has the keyboard
    // again, as the window system gives it back when the wait window goes.
    void OpenCube()
    {
        app->Open(SourcePath("data/samples/cube.dxf"), kFilterDxf);
        app->Main().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&app->Main()));
    }

    std::unique_ptr<TAppFixture> app;
    std::unique_ptr<TfrmModel> window;
};

QTEST_MAIN(PreviewWindowTest)
#include "preview_window_test.moc"
