// The object window's rules: clicks by column, selection and the preview's object button,
// delete, the selected box, and the map template command up to its size dialog.

#include "core/model/preview_obj.h"
#include "core/model/template_link.h"
#include "core/model/uv_projection.h"
#include "gui/main_form.h"
#include "gui/open_command.h"
#include "gui/temp_size_dialog.h"
#include "tests/gui/support/app_fixture.h"

#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <new>
#include <stdexcept>

using namespace kalvo;
using namespace kalvo::test;

namespace {

// Counts the redraws of the preview's perspective pane.
struct TRedrawCounter
{
    explicit TRedrawCounter(TfrmModel& window)
    {
        window.pbxModel->OnPaint = [this, paint = window.pbxModel->OnPaint] {
            ++Count;
            return paint();
        };
    }
    int Count = 0;
};

TpreviewObj& AddModel(TAppFixture& app, const std::string& name, double minX, double maxX)
{
    TpreviewObj& model = *CreateModelEntry(app.Preview(), name).Model;
    model.AddVertex({minX, 0, 0});
    model.AddVertex({maxX, 1, 2});
    return model;
}

void Click(TfrmObj& objects, int item, int x, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QRect rect = objects.lvwObj->visualItemRect(objects.lvwObj->topLevelItem(item));
    QTest::mouseClick(objects.lvwObj->viewport(), Qt::LeftButton, modifiers,
                      QPoint(rect.left() + x, rect.center().y()));
}

// A map template window as the object window sees one.
struct TTemplateStandIn : QWidget, TTemplateLink
{
    TColour SampleTexture(double, double) const override { return 0; }
    bool IsTransparent(TColour) const override { return false; }
};

} // namespace

class ObjectWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        app = std::make_unique<TAppFixture>();
        app->Preview().btnObjClick();
        QVERIFY(app->Objects().isVisible());
        QCOMPARE(app->Objects().windowTitle(), QString("オブジェクト"));
    }
    void cleanup() { app.reset(); }

    void MakeUvActsOnTheSelectionAndAsksBeforeReplacing()
    {
        TpreviewObj& a = AddModel(*app, "A", 0, 4);
        TpreviewObj& b = AddModel(*app, "B", 0, 4);
        TfrmObj& objects = app->Objects();
        QPointer<TTemplateStandIn> window = new TTemplateStandIn;
        objects.SetTemplateWindow(a, window);
        std::vector<TpreviewObj*> rebuilt;
        app->Shell().RebuildMapTemplate = [&rebuilt](TpreviewObj& model) {
            rebuilt.push_back(&model);
        };
        QCOMPARE(objects.mnuMakeUv->actions().size(), 8);
        objects.SetItemSelected(0, true);

        // Planar along Y lays x out backwards: the vertex at x 0 gets u 1. No UVs yet: no
        // question.
        objects.mnuMakeUv->actions()[1]->trigger();
        QCOMPARE(a.Vertices[0].u, 1.0);
        QCOMPARE(b.Vertices[0].u, 0.0);
        QVERIFY(app->Platform.Messages.empty());
        QCOMPARE(rebuilt, std::vector<TpreviewObj*>{&a});

        // Now there are UVs to lose: asked, and "No" keeps them.
        app->Platform.Answers.push_back(TAnswer::No);
        objects.mnuMakeUvClick(TUvProjection::PlanarX);
        QCOMPARE(app->Platform.Messages.size(), size_t{1});
        QCOMPARE(app->Platform.Messages[0].Kind, TMsgKind::Confirmation);
        QCOMPARE(a.Vertices[0].u, 1.0);
        objects.mnuMakeUvClick(TUvProjection::PlanarX); // answered Yes
        QCOMPARE(a.Vertices[0].u, 0.0);
        QCOMPARE(a.Vertices[1].u, 1.0);
    }

    void ClickOnTheStateImageHidesWithoutSelecting()
    {
        AddModel(*app, "A", 0, 1);
        TfrmObj& objects = app->Objects();
        TRedrawCounter redraws(app->Preview());
        Click(objects, 0, 10);
        QCOMPARE(objects.ItemStateIndex(0), 1);
        QCOMPARE(objects.SelectedCount(), 0);
        QTest::qWait(20);
        QVERIFY(redraws.Count > 0);
        Click(objects, 0, 10);
        QCOMPARE(objects.ItemStateIndex(0), 0);

        Click(objects, 0, 40); // the icon column flips the icon and selects
        QCOMPARE(objects.ItemIconIndex(0), 1);
        QCOMPARE(objects.SelectedCount(), 1);
        QCOMPARE(objects.ItemStateIndex(0), 0);
    }

    void SelectionSetsTheObjectButtonAndCommands()
    {
        TpreviewObj& a = AddModel(*app, "Alpha", 0, 1);
        AddModel(*app, "Beta", 5, 6);
        TfrmObj& objects = app->Objects();
        QToolButton& caption = *app->Preview().btnObj;

        Click(objects, 0, 100);
        QCOMPARE(caption.text(), QString("Alpha"));
        QCOMPARE(objects.CurrentModel(), &a);
        QVERIFY(objects.btnDelete->isEnabled() && objects.btnMakeTemplate->isEnabled());

        Click(objects, 1, 100, Qt::ControlModifier);
        QCOMPARE(objects.SelectedCount(), 2);
        QCOMPARE(caption.text(), QString("<Multi>"));
        QVERIFY(objects.btnDelete->isEnabled());
        QVERIFY(!objects.btnMakeTemplate->isEnabled());
        QCOMPARE(objects.CurrentModel(), &a); // several selected: unchanged

        objects.lvwObj->clearSelection();
        QCOMPARE(caption.text(), QString("<未選択>"));
        QCOMPARE(objects.CurrentModel(), nullptr);
        QVERIFY(!objects.btnDelete->isEnabled() && !objects.btnMakeTemplate->isEnabled());
    }

    void RedrawsWhenTheSelectedCountChanges()
    {
        AddModel(*app, "A", 0, 1);
        AddModel(*app, "B", 0, 1);
        TfrmObj& objects = app->Objects();
        QTest::qWait(20);
        TRedrawCounter redraws(app->Preview());
        objects.SetItemSelected(0, true);
        QTest::qWait(20);
        QVERIFY(redraws.Count > 0);
        QCOMPARE(TfrmObj::LastSelectionCount, 1);

        // Another single item: the count stays 1, so nothing is redrawn.
        redraws.Count = 0;
        Click(objects, 1, 100);
        QCOMPARE(objects.SelectedCount(), 1);
        QTest::qWait(20);
        QCOMPARE(redraws.Count, 0);
    }

    void SelectedBoxTakesTheSelectionOrEverything()
    {
        AddModel(*app, "Left", 0, 1);
        AddModel(*app, "Right", 5, 6);
        TfrmObj& objects = app->Objects();
        std::optional<TBox> box = objects.SelectedBox();
        QVERIFY(box);
        QCOMPARE(box->MinX, 0.0);
        QCOMPARE(box->MaxX, 6.0);
        QCOMPARE(box->MaxZ, 2.0);

        objects.SetItemSelected(1, true);
        box = objects.SelectedBox();
        QCOMPARE(box->MinX, 5.0);
        QCOMPARE(box->MaxX, 6.0);

        // A hidden model still counts.
        Click(objects, 1, 10);
        QCOMPARE(objects.ItemStateIndex(1), 1);
        QCOMPARE(objects.SelectedBox()->MinX, 5.0);
    }

    void SelectedBoxOfNothingIsNothing()
    {
        QVERIFY(!app->Objects().SelectedBox());
        CreateModelEntry(app->Preview(), "Empty"); // no vertices, no box
        QVERIFY(!app->Objects().SelectedBox());
    }

    void DeleteDestroysTheSelectedModelsAndTheirTemplates()
    {
        TpreviewObj& a = AddModel(*app, "A", 0, 1);
        AddModel(*app, "B", 2, 3);
        TpreviewObj& c = AddModel(*app, "C", 5, 6);
        QPointer<TTemplateStandIn> templateA = new TTemplateStandIn;
        QPointer<TTemplateStandIn> templateC = new TTemplateStandIn;
        TfrmObj& objects = app->Objects();
        objects.SetTemplateWindow(a, templateA);
        objects.SetTemplateWindow(c, templateC);
        a.SetTemplateWindow(templateA);
        c.SetTemplateWindow(templateC);
        objects.SetItemSelected(0, true);
        objects.SetItemSelected(2, true);
        objects.btnDelete->click();

        QCOMPARE(objects.ItemCount(), 1);
        QCOMPARE(objects.lvwObj->topLevelItem(0)->text(0), QString("B"));
        QVERIFY(templateA.isNull() && templateC.isNull());
        QCOMPARE(app->Preview().btnObj->text(), QString("<未選択>"));
        QVERIFY(!objects.btnDelete->isEnabled());
        QCOMPARE(objects.tvwObj->topLevelItemCount(), 3); // the tree is left as it was
        QCOMPARE(objects.SelectedBox()->MinX, 2.0);

        objects.Close1Click(); // nothing selected: nothing happens
        QCOMPARE(objects.ItemCount(), 1);
    }

    void ClosingThePreviewFreesItsTemplateWindows()
    {
        TpreviewObj& a = AddModel(*app, "A", 0, 1);
        QPointer<TTemplateStandIn> window = new TTemplateStandIn;
        app->Objects().SetTemplateWindow(a, window);
        QCOMPARE(app->Objects().TemplateWindowOf(a), window.data());
        QPointer<TfrmModel> preview = &app->Preview();
        app->Main().mdiArea->closeAllSubWindows();
        QTest::qWait(20); // the sub-window frees itself from the event loop
        QVERIFY(preview.isNull());
        QVERIFY(window.isNull());
    }

    void TemplateCommandAsksForTheSize()
    {
        TpreviewObj& model = AddModel(*app, "A", 0, 1);
        app->Settings().Xsize = "320";
        app->Settings().Ysize = "200";
        int opened = 0;
        app->Shell().OpenMapTemplate = [&](TfrmObj&, TpreviewObj& target, int w, int h) {
            QCOMPARE(&target, &model);
            QCOMPARE(w, 320);
            QCOMPARE(h, 100);
            ++opened;
        };
        TfrmObj& objects = app->Objects();
        objects.SetItemSelected(0, true);

        objects.mnuMaptClick(); // cancelled
        QCOMPARE(app->ModalDialogs.size(), size_t{1});
        QCOMPARE(opened, 0);

        app->OnModal = [](QDialog& dialog) {
            auto& size = static_cast<TdlgTempSize&>(dialog);
            QCOMPARE(size.sedX->value(), 320);
            QCOMPARE(size.sedY->value(), 200);
            size.sedY->setValue(100);
            size.OKBtn->click();
        };
        objects.btnMakeTemplate->click();
        QCOMPARE(opened, 1);
        QVERIFY(!objects.isVisible()); // auto-hide is on

        // A model that has its template window gets no second one and no dialog.
        TTemplateStandIn existing;
        objects.SetTemplateWindow(model, &existing);
        objects.mnuMaptClick();
        QCOMPARE(app->ModalDialogs.size(), size_t{2});
    }

    void AFailingCommandIsReportedAndTheModelsStay()
    {
        AddModel(*app, "A", 0, 1);
        app->Settings().Xsize = "320";
        app->Settings().Ysize = "200";
        app->OnModal = [](QDialog& dialog) { static_cast<TdlgTempSize&>(dialog).OKBtn->click(); };
        const std::pair<std::function<void()>, QString> failures[] = {
            {[] { throw std::bad_alloc(); }, "メモリが足りないため、処理を中止しました。"},
            {[] { throw std::runtime_error("iconv failed"); },
             "処理を中止しました。\niconv failed"},
            {[] { throw 42; }, "予期しないエラーのため、処理を中止しました。"},
        };
        TfrmObj& objects = app->Objects();
        objects.SetItemSelected(0, true);
        for (const auto& [fail, text] : failures) {
            app->Shell().OpenMapTemplate = [&fail](TfrmObj&, TpreviewObj&, int, int) { fail(); };
            app->Platform.Messages.clear();
            objects.mnuMaptClick();
            QCOMPARE(app->Platform.Messages.size(), size_t{1});
            QCOMPARE(app->Platform.Messages[0].Kind, TMsgKind::Error);
            QCOMPARE(app->Platform.Messages[0].Text, text);
            QCOMPARE(objects.ItemCount(), 1);
        }
    }

    void TemplateSizeBelowOneIsRefused()
    {
        TdlgTempSize& dialog = *app->Shell().TempSize;
        QCOMPARE(dialog.windowTitle(), QString("ﾀﾞｲｱﾛｸﾞ"));
        dialog.setResult(0);
        // One rule for the dialog and the command line: 1 to 16384 on each side.
        for (auto [x, y] : {std::pair{0, 480}, std::pair{640, -3}, std::pair{16385, 480}}) {
            dialog.sedX->setValue(x);
            dialog.sedY->setValue(y);
            dialog.OKBtn->click();
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        }
        QCOMPARE(app->Platform.Messages.size(), size_t{3});
        QCOMPARE(app->Platform.Messages[0].Kind, TMsgKind::Error);
        QCOMPARE(app->Platform.Messages[0].Text,
                 QString("テンプレートの大きさは 1 から 16384 ピクセルまでです。"));
        dialog.sedX->setValue(16384);
        dialog.sedY->setValue(1);
        dialog.OKBtn->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    // On a machine of 1 GiB: the largest template (3 GiB) is refused, saying why; 4096 x 4096
    // (192 MiB) is not.
    void TemplateSizeBeyondTheMachinesMemoryIsRefused()
    {
        TdlgTempSize& dialog = *app->Shell().TempSize;
        dialog.MachineMemory = std::uint64_t(1) << 30;
        dialog.setResult(0);
        dialog.sedX->setValue(16384);
        dialog.sedY->setValue(16384);
        dialog.OKBtn->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(app->Platform.Messages.size(), size_t{1});
        QCOMPARE(app->Platform.Messages[0].Text,
                 QString("16384 x 16384 のテンプレートには約 3.0 GiB のメモリが必要です。"
                         "このコンピュータのメモリ (1.0 GiB) では足りません。"));
        dialog.sedX->setValue(4096);
        dialog.sedY->setValue(4096);
        dialog.OKBtn->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void TabPositionFollowsThePopupMenu()
    {
        TfrmObj& objects = app->Objects();
        objects.N3->trigger();
        QCOMPARE(objects.PageControl1->tabPosition(), QTabWidget::South);
        objects.N5->trigger();
        QCOMPARE(objects.PageControl1->tabPosition(), QTabWidget::West);
        QVERIFY(!objects.PageControl1->isTabEnabled(1));
    }

    void ReadButtonFillsItsOwnPreviewWindow()
    {
        TfrmModel& first = app->Preview();
        TfrmModel* second = app->Main().FileNewItemClick();
        QCOMPARE(app->Main().ActivePreview(), second);
        app->Platform.FileAnswers.push_back(
            TScriptedPlatform::FileAnswer{SourcePath("data/samples/cube.dxf"), kFilterDxf});
        first.ObjectWindow().SpeedButton1->click();
        QCOMPARE(first.ObjectWindow().ItemCount(), 1);
        QCOMPARE(second->ObjectWindow().ItemCount(), 0);
    }

    void ObjectButtonShowsAndHidesTheWindow()
    {
        TfrmModel& preview = app->Preview();
        preview.btnObjClick();
        QVERIFY(!app->Objects().isVisible());
        QVERIFY(!preview.btnObj->isChecked());
        preview.btnObjClick();
        QVERIFY(app->Objects().isVisible());
        QVERIFY(preview.btnObj->isChecked());
    }

private:
    std::unique_ptr<TAppFixture> app;
};

QTEST_MAIN(ObjectWindowTest)
#include "object_window_test.moc"
