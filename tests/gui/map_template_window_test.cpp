// The map template window as a user meets it: made from the object window, painted on with the
// pen, its UV points clicked and dragged, pictures pasted, opened and copied, the paint program
// started, and closed again; with the preview and the export following.

#include "core/model/preview_obj.h"
#include "core/settings/settings.h"
#include "gui/open_command.h"
#include "gui/settings_controls.h"
#include "gui/temp_size_dialog.h"
#include "gui/template/command_line.h"
#include "gui/template/map_template_window.h"
#include "gui/template/template_pictures.h"
#include "gui/template/template_widgets.h"
#include "tests/gui/support/app_fixture.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

using namespace kalvo;
using namespace kalvo::test;

namespace {

// The preview window, whichever child is active.
TfrmModel& Preview(TAppFixture& app) { return *app.Main().PreviewWindows().first(); }
TfrmObj& Objects(TAppFixture& app) { return Preview(app).ObjectWindow(); }

// A square of two triangles whose corners sit at (0.25, 0.25) .. (0.75, 0.75) of a 0 .. 1 UV
// range: on a 640 x 480 template at zoom 1 the corners fall on (160, 360), (480, 360),
// (480, 120) and (160, 120).
TpreviewObj& AddSquare(TAppFixture& app)
{
    TpreviewObj& model = *CreateModelEntry(Preview(app), "Square").Model;
    const VertexInput a{0, 0, 0, 0.25, 0.25}, b{1, 0, 0, 0.75, 0.25}, c{1, 1, 0, 0.75, 0.75},
        d{0, 1, 0, 0.25, 0.75};
    model.AddPolygonByCorners(0xFFFFFF, {a, b, c});
    model.AddPolygonByCorners(0xFFFFFF, {a, c, d});
    model.MinU = model.MinV = 0.0;
    model.MaxU = model.MaxV = 1.0;
    return model;
}

int VertexAt(const TpreviewObj& model, double u, double v)
{
    for (int i = 0; i < model.VertexCount(); ++i)
        if (model.Vertices[i].u == u && model.Vertices[i].v == v)
            return i;
    return -1;
}

// The template window of the only model, made as the user makes it.
TfrmMapTemplate& MakeTemplate(TAppFixture& app, TpreviewObj& model)
{
    TfrmObj& objects = Objects(app);
    for (int i = 0; i < objects.ItemCount(); ++i)
        objects.SetItemSelected(i, objects.ItemModel(i) == &model);
    app.ModalAnswers.push_back(true);
    objects.mnuMaptClick();
    auto* window = qobject_cast<TfrmMapTemplate*>(objects.TemplateWindowOf(model));
    if (!window || model.TemplateWindow != window)
        qFatal("no template window was made");
    return *window;
}

// A point of the zoomed template, in the paint box's own widget pixels.
QPoint At(TfrmMapTemplate& window, int x, int y)
{
    return QPoint(x, y) - window.pbxTemplate->Origin();
}

void Press(TfrmMapTemplate& w, int x, int y, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    QTest::mousePress(w.pbxTemplate, Qt::LeftButton, keys, At(w, x, y));
}

void Move(TfrmMapTemplate& w, int x, int y) { QTest::mouseMove(w.pbxTemplate, At(w, x, y)); }

void Release(TfrmMapTemplate& w, int x, int y)
{
    QTest::mouseRelease(w.pbxTemplate, Qt::LeftButton, Qt::NoModifier, At(w, x, y));
}

void Click(TfrmMapTemplate& w, int x, int y, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    Press(w, x, y, keys);
    QTest::mouseRelease(w.pbxTemplate, Qt::LeftButton, keys, At(w, x, y));
}

QImage Solid(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class MapTemplateWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { app = std::make_unique<TAppFixture>(); }
    void cleanup() { app.reset(); }

    void OpensAtTheTopLeftWithThePenAndAsksOnceBeforeTheFirstStroke()
    {
        TpreviewObj& model = AddSquare(*app);
        TfrmMapTemplate& w = MakeTemplate(*app, model);
        QCOMPARE(w.windowTitle(), QString("Map template"));
        QCOMPARE(w.parentWidget()->pos(), QPoint(0, 0));
        QVERIFY(w.btnPen->isChecked() && !w.btnArrow->isChecked());
        QCOMPARE(w.ScreenCursor(), kCursorPen);
        // Its menus stand in the main window's menu bar while it is active.
        QVERIFY(app->Main().menuBar()->actions().contains(w.N8->menuAction()));

        const TColour mesh = app->Settings().MeshColor;
        QCOMPARE(w.Bitmap().GetPixel(320, 360), mesh); // the square's lower side

        app->Platform.Answers.push_back(TAnswer::No);
        Press(w, 300, 200);
        Move(w, 340, 200);
        Release(w, 340, 200);
        QCOMPARE(app->Platform.Messages.size(), size_t{1});
        const auto& question = app->Platform.Messages.front();
        QCOMPARE(question.Text, QString("テクスチャ中のメッシュラインを破棄しますか？\n"
                                        "OKを押すと現在のテクスチャ情報が消去されます"));
        QCOMPARE(question.Buttons.size(), size_t{2});
        QCOMPARE(question.Buttons[0].Text, QString("いいえ(&N)"));
        QCOMPARE(question.Buttons[1].Text, QString("OK"));
        QVERIFY(w.TextureShown);
        QCOMPARE(w.Bitmap().GetPixel(320, 200), w.PenColour); // the stroke
        QCOMPARE(w.Bitmap().GetPixel(320, 360), mesh);        // the lines were kept

        Press(w, 300, 250);
        Move(w, 300, 260);
        Release(w, 300, 260);
        QCOMPARE(app->Platform.Messages.size(), size_t{1});
        QCOMPARE(w.Bitmap().GetPixel(300, 255), w.PenColour);

        // What the box shows is the core's drawing of the same area.
        const QImage shown = w.pbxTemplate->grab().toImage().convertToFormat(QImage::Format_RGB32);
        TCanvas expected(w.pbxTemplate->width(), w.pbxTemplate->height());
        w.DrawTemplateView(expected, w.pbxTemplate->Origin().x(), w.pbxTemplate->Origin().y());
        QCOMPARE(shown, ImageFromCanvas(expected));
    }

    void CentresASmallTemplateAndShowsBarsAtMidRangeWhenZoomedIn()
    {
        TfrmMapTemplate& w = MakeTemplate(*app, AddSquare(*app));
        w.parentWidget()->resize(900, 760);
        QVERIFY(!w.sbrHori->isVisible() && !w.sbrVert->isVisible());
        QCOMPARE(w.PaintArea().Left, (w.pnlCanvas->width() - 640) / 2);
        QCOMPARE(w.PaintArea().Top, (w.pnlCanvas->height() - 480) / 2);

        w.SpeedButton2->click();
        w.SpeedButton2->click();
        QCOMPARE(w.Mapping().Zoom, 4.0);
        QVERIFY(w.sbrHori->isVisible() && w.sbrVert->isVisible());
        for (QScrollBar* bar : {w.sbrHori, w.sbrVert})
            QCOMPARE(bar->value(), bar->maximum() / 2);
        QCOMPARE(w.sbrHori->maximum(), 2560 - w.pnlCanvas->width());

        // Space held: the hand; dragging then scrolls the view with the pointer.
        QTest::keyPress(w.pbxTemplate, Qt::Key_Space);
        QCOMPARE(w.ScreenCursor(), kCursorHand);
        const int before = w.sbrHori->value();
        Press(w, 1200, 900);
        QTest::mouseMove(w.pbxTemplate, At(w, 1200, 900) + QPoint(-30, 0));
        Release(w, 1170, 900);
        QCOMPARE(w.sbrHori->value(), before + 30);
        QVERIFY(app->Platform.Messages.empty()); // the pen did not start
        QTest::keyRelease(w.pbxTemplate, Qt::Key_Space);
        QCOMPARE(w.ScreenCursor(), kCursorPen);
    }

    void SelectsClicksAndDragsUVPointsAndUndoesTheDrag()
    {
        TpreviewObj& model = AddSquare(*app);
        TfrmMapTemplate& w = MakeTemplate(*app, model);
        w.btnArrow->click();
        QCOMPARE(w.Tool, TTemplateTool::Select);
        const int a = VertexAt(model, 0.25, 0.25); // at (160, 360)
        const int b = VertexAt(model, 0.75, 0.25); // at (480, 360)
        const int c = VertexAt(model, 0.75, 0.75); // at (480, 120)

        Move(w, 161, 359);
        QCOMPARE(w.ScreenCursor(), kCursorPointSelect);
        Move(w, 320, 361);
        QCOMPARE(w.ScreenCursor(), kCursorEdgeSelect);

        Click(w, 160, 360);
        Click(w, 480, 360, Qt::ShiftModifier);
        QVERIFY(model.Vertices[a].Mark && model.Vertices[b].Mark);
        Click(w, 480, 120); // without Shift: alone
        QVERIFY(!model.Vertices[a].Mark && !model.Vertices[b].Mark && model.Vertices[c].Mark);
        Click(w, 480, 120); // a marked point clicked without moving
        QVERIFY(!model.Vertices[c].Mark);

        Click(w, 160, 360);
        Click(w, 480, 360, Qt::ShiftModifier);
        Press(w, 160, 360);
        Move(w, 192, 360);
        Move(w, 224, 312);
        Release(w, 224, 312);
        QVERIFY(model.Vertices[a].Mark && model.Vertices[b].Mark);
        QCOMPARE(model.Vertices[a].u, 0.25 + 64 / 640.0);
        QCOMPARE(model.Vertices[a].v, 0.25 + 48 / 480.0);
        QCOMPARE(model.Vertices[b].u, 0.75 + 64 / 640.0);
        QCOMPARE(model.Vertices[c].u, 0.75);

        w.Undo1->trigger();
        QCOMPARE(model.Vertices[a].u, 0.25);
        QCOMPARE(model.Vertices[a].v, 0.25);
        QCOMPARE(model.Vertices[b].u, 0.75);
        w.Redo1->trigger();
        QCOMPARE(model.Vertices[b].u, 0.75 + 64 / 640.0);
    }

    void PickFollowsThePointerAndPasteFillsTheTemplate()
    {
        TfrmMapTemplate& w = MakeTemplate(*app, AddSquare(*app));
        QImage picture = Solid(100, 50, QColor(0, 200, 0));
        for (int y = 0; y < 50; ++y)
            for (int x = 50; x < 100; ++x)
                picture.setPixelColor(x, y, QColor(200, 0, 0));
        app->Platform.Clipboard = picture;
        w.btnPaste->click();
        QVERIFY(w.TextureShown);
        QCOMPARE(w.Bitmap().Width(), 640);
        QCOMPARE(w.Bitmap().GetPixel(0, 0), TColour(0x00C800));
        QCOMPARE(w.Bitmap().GetPixel(639, 479), TColour(0x0000C8));

        w.N7->trigger();
        QVERIFY(!w.btnPen->isChecked() && !w.btnArrow->isChecked());
        QCOMPARE(w.ScreenCursor(), kCursorPickup);
        Press(w, 100, 100);
        Move(w, 110, 100);
        QCOMPARE(w.pnlTransparent->Colour(), TColour(0x00C800));
        Move(w, 600, 100);
        QCOMPARE(w.pnlTransparent->Colour(), TColour(0x0000C8));
        Release(w, 600, 100);
        QVERIFY(!w.pnlTransparent->isEnabled());
        w.btnTransparent->click();
        QVERIFY(w.pnlTransparent->isEnabled() && w.IsTransparent(0x0000C8));

        // Copy gives the clipboard the template's own picture.
        app->Platform.Clipboard = QImage();
        w.Copy1->trigger();
        QCOMPARE(app->Platform.Clipboard.size(), QSize(640, 480));
        QCOMPARE(app->Platform.Clipboard.pixelColor(639, 0), QColor(200, 0, 0));
    }

    void OpenLoadsAnyPictureAndRefusesUnreadableFilesWithoutChange()
    {
        TfrmMapTemplate& w = MakeTemplate(*app, AddSquare(*app));
        const QString good = app->Dir.filePath("texture.png");
        QVERIFY(Solid(8, 8, QColor(10, 20, 30)).save(good));
        const QString bad = app->Dir.filePath("broken.bmp");
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("BM not a picture") > 0);
        file.close();

        app->Platform.FileAnswers.push_back(TScriptedPlatform::FileAnswer{bad, 0});
        w.btnOpenClick();
        QCOMPARE(app->Platform.FileDialogs.size(), size_t{1});
        QCOMPARE(app->Platform.FileDialogs.back().Filter.section('|', 0, 1),
                 QString("Windows Bitmap (*.bmp)|*.bmp"));
        QVERIFY(app->Platform.FileDialogs.back().Filter.contains("*.png"));
        QCOMPARE(app->Platform.Messages.size(), size_t{1});
        QVERIFY2(app->Platform.Messages.back().Text.contains("broken.bmp"),
                 qPrintable(app->Platform.Messages.back().Text));
        QVERIFY(!w.TextureShown);
        QCOMPARE(w.Bitmap().GetPixel(320, 360), app->Settings().MeshColor);

        // The main window's Open acts on the active template window, with the folder rule.
        app->Settings().LockOrUnLock = 0;
        app->Platform.FileAnswers.push_back(TScriptedPlatform::FileAnswer{good, 0});
        app->Main().mnuOpenClick();
        QVERIFY(w.TextureShown);
        QCOMPARE(w.Bitmap().GetPixel(320, 240), TColour(0x1E140A));
        QCOMPARE(QString::fromStdString(app->Settings().OpenDir), FolderOfFileQ(good));
        QCOMPARE(Objects(*app).ItemCount(), 1); // no model was read

        w.Undo1->trigger();
        QVERIFY(!w.TextureShown);
        QCOMPARE(w.Bitmap().GetPixel(320, 360), app->Settings().MeshColor);
    }

    void GeneratingUvsRebuildsTheOpenTemplate()
    {
        // The square's UV range made 0 .. 2 in u: the template takes 320 pixels a unit. The box
        // layout gives 0 .. 1 again and puts the square (facing +Z) in the upper right cell.
        TpreviewObj& model = AddSquare(*app);
        model.MaxU = 2.0;
        TfrmMapTemplate& w = MakeTemplate(*app, model);
        QCOMPARE(w.Mapping().UScale, 320.0);
        const TColour mesh = app->Settings().MeshColor;
        QCOMPARE(w.Bitmap().GetPixel(160, 360), mesh);
        app->Platform.Answers.push_back(TAnswer::No); // keep the lines under the first stroke
        Press(w, 300, 200);
        Move(w, 340, 200);
        Release(w, 340, 200);
        QCOMPARE(w.Bitmap().GetPixel(320, 200), w.PenColour);
        QVERIFY(w.History().CanUndo());

        app->Platform.Answers.push_back(TAnswer::Yes); // replace the UVs there are
        Objects(*app).mnuMakeUv->actions()[3]->trigger();
        QCOMPARE(app->Platform.Messages.back().Kind, TMsgKind::Confirmation);
        QCOMPARE(w.Mapping().UScale, 640.0);
        QVERIFY(!w.History().CanUndo());
        QVERIFY(!w.TextureShown);
        const TColour background = app->Settings().TempColor;
        QCOMPARE(w.Bitmap().GetPixel(160, 360), background);
        QCOMPARE(w.Bitmap().GetPixel(320, 200), background);
        // The side at y = 0 runs down u = 2.05 / 3 (column 437) from v 0.975 to 0.525.
        QCOMPARE(w.Bitmap().GetPixel(437, 120), mesh);
    }

    void ClosingOrDeletingTheModelLeavesTheModelFlat()
    {
        TpreviewObj& model = AddSquare(*app);
        QPointer<TfrmMapTemplate> w = &MakeTemplate(*app, model);
        w->close();
        QVERIFY(model.TemplateWindow == nullptr);

        TpreviewObj& second = AddSquare(*app);
        QPointer<TfrmMapTemplate> other = &MakeTemplate(*app, second);
        QCOMPARE(second.TemplateWindow, static_cast<TTemplateLink*>(other.data()));
        TfrmObj& objects = Objects(*app);
        for (int i = 0; i < objects.ItemCount(); ++i)
            objects.SetItemSelected(i, objects.ItemModel(i) == &second);
        objects.Close1Click();
        QVERIFY(other.isNull());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QMdiSubWindow* sub : app->Main().mdiArea->subWindowList())
            QVERIFY(sub->widget() != nullptr);
    }

    // A drag on the template ended by something else than the button coming up: the window (or
    // its model, preview or the whole program) goes while the button is down, and the pointer
    // events still queued for it arrive afterwards. What was dragged so far stays, and the rest
    // of the program goes on working.
    void DragSurvivesWhatEndsItMidway_data()
    {
        QTest::addColumn<int>("action");
        QTest::newRow("close the template window") << 0;
        QTest::newRow("delete the model") << 1;
        QTest::newRow("close the preview window") << 2;
        QTest::newRow("close the main window") << 3;
    }

    void DragSurvivesWhatEndsItMidway()
    {
        QFETCH(int, action);
        TpreviewObj& model = AddSquare(*app);
        QPointer<TfrmMapTemplate> w = &MakeTemplate(*app, model);
        w->btnArrow->click();
        const int a = VertexAt(model, 0.25, 0.25); // at (160, 360)
        Click(*w, 160, 360);
        Press(*w, 160, 360);
        Move(*w, 192, 360);
        QCOMPARE(model.Vertices[a].u, 0.25 + 32 / 640.0);

        QPointer<TfrmModel> preview = &Preview(*app);
        switch (action) {
        case 0:
            w->close();
            break;
        case 1:
            Objects(*app).SetItemSelected(0, true);
            Objects(*app).btnDelete->click();
            break;
        case 2:
            preview->parentWidget()->close(); // the sub-window's frame, as the user closes it
            break;
        case 3:
            app->Main().close();
            break;
        }
        if (w) {
            Move(*w, 224, 312);
            Release(*w, 224, 312);
        }
        QTest::qWait(20);
        QVERIFY(action == 3 || w.isNull());

        if (action == 0) {
            QCOMPARE(model.Vertices[a].u, 0.25 + 32 / 640.0);
            preview->RepaintAll();
            TfrmMapTemplate& again = MakeTemplate(*app, model);
            QVERIFY(!again.History().CanUndo());
        } else if (action == 1) {
            QCOMPARE(Objects(*app).ItemCount(), 0);
            preview->RepaintAll();
        }
    }

    // The template window closed while the preview is still filling faces with its picture:
    // the fill goes on without the picture and reads nothing of the window.
    void ClosingTheTemplateDuringATexturedFill()
    {
        TpreviewObj& model = AddSquare(*app);
        QPointer<TfrmMapTemplate> w = &MakeTemplate(*app, model);
        app->Platform.Clipboard = Solid(64, 64, QColor(0, 200, 0));
        w->btnPaste->click();
        QVERIFY(w->TextureShown);
        TfrmModel& preview = Preview(*app);
        std::int64_t now = 0;
        preview.Scene().Clock = [&now] { return now += 1000; };
        QTest::mouseClick(preview.btnZFlat, Qt::LeftButton);
        preview.pbxModel->Redraw();
        QVERIFY(preview.FillPending());
        QTRY_VERIFY(preview.Scene().ProgressIndex >= 1);

        w->parentWidget()->close();
        QTRY_VERIFY(w.isNull());
        QTRY_VERIFY(!preview.FillPending());
        QVERIFY(model.TemplateWindow == nullptr);
    }

    void PaintProgramIsSplitLikeAShellAndReportsAFailureByName()
    {
        QStringList words;
        QVERIFY(SplitCommandLine("gimp -n \"my file.png\" 'a b'\\ c \"q\\\"x\" ''", words));
        QCOMPARE(words, QStringList({"gimp", "-n", "my file.png", "a b c", "q\"x", ""}));
        QVERIFY(!SplitCommandLine("paint 'open", words));

        TfrmMapTemplate& w = MakeTemplate(*app, AddSquare(*app));
        app->Settings().PaintSoft = "pbrush.exe";
        app->Platform.ProgramsStart = false;
        w.SpeedButton1->click();
        QCOMPARE(app->Platform.StartedProcesses.back(), QStringList{"pbrush.exe"});
        QCOMPARE(app->Platform.Messages.size(), size_t{1});
        const QString message = app->Platform.Messages.back().Text;
        QVERIFY(message.contains("pbrush.exe") && message.contains("起動ペイントソフト"));
    }

    void LiveLinkReloadsThePictureTheProgramSaves()
    {
        TfrmMapTemplate& w = MakeTemplate(*app, AddSquare(*app));
        app->Settings().PaintSoft = "paint --edit %f";
        w.SpeedButton1->click();
        const QStringList started = app->Platform.StartedProcesses.back();
        QCOMPARE(started.size(), 3);
        const QString path = started[2];
        QCOMPARE(QImage(path).size(), QSize(640, 480));

        QTest::qWait(20);
        QVERIFY(Solid(32, 32, QColor(0, 0, 255)).save(path, "PNG"));
        QTRY_VERIFY_WITH_TIMEOUT(w.TextureShown, 5000);
        QCOMPARE(w.Bitmap().GetPixel(10, 10), TColour(0xFF0000));
        w.close();
        QVERIFY(!QFile::exists(path));
    }

    void TheWholeLoopExportsTheMovedUVs()
    {
        // Read a model, make its template, drag a point, write the model.
        app->Open(SourcePath("tests/data/golden/box.rds"), 4);
        TpreviewObj& model = *Objects(*app).ItemModel(0);
        TfrmMapTemplate& w = MakeTemplate(*app, model);

        // The template is the picture the command-line program draws for the model.
        const QString cli = QCoreApplication::applicationDirPath() + "/kalvo3d-cli";
        if (QFile::exists(cli)) {
            const QString out = app->Dir.filePath("cli.png");
            QCOMPARE(QProcess::execute(cli, {"template", SourcePath("tests/data/golden/box.rds"),
                                             "-o", out, "--size", "640x480"}),
                     0);
            w.btnCopyClick();
            QCOMPARE(app->Platform.Clipboard.convertToFormat(QImage::Format_RGB32),
                     QImage(out).convertToFormat(QImage::Format_RGB32));
        }

        w.btnArrow->click();
        const int corner = VertexAt(model, 1.0, 0.0); // at (640, 480), reached from inside
        Click(w, 638, 478);
        QVERIFY(model.Vertices[corner].Mark);
        Press(w, 638, 478);
        Move(w, 574, 430);
        Release(w, 574, 430);
        QCOMPARE(model.Vertices[corner].u, 0.9);
        QCOMPARE(model.Vertices[corner].v, 0.1);

        app->Main().ActivatePreview(Preview(*app));
        for (int i = 0; i < Objects(*app).ItemCount(); ++i)
            Objects(*app).SetItemSelected(i, true);
        const QString written = app->Dir.filePath("out.rds");
        app->Platform.FileAnswers.push_back(TScriptedPlatform::FileAnswer{written, 0});
        app->Main().RDS1Click();
        QVERIFY(ReadAll(written).contains("UV 0.90000000,0.10000000"));
    }

private:
    static QString FolderOfFileQ(const QString& path)
    {
        return QString::fromStdString(FolderOfFile(path));
    }

    std::unique_ptr<TAppFixture> app;
};

QTEST_MAIN(MapTemplateWindowTest)
#include "map_template_window_test.moc"
