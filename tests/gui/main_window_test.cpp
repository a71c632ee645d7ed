// The main window driven as a user would: start-up, the Open command for each file kind, the
// folder rule, and the Export command with its questions.

#include "core/io/rds_writer.h"
#include "core/model/preview_obj.h"
#include "gui/bar_window.h"
#include "gui/info_window.h"
#include "gui/open_command.h"
#include "gui/qt_platform.h"
#include "tests/gui/support/app_fixture.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

using namespace kalvo;
using namespace kalvo::test;

namespace {

QStringList NodeTexts(const QTreeWidgetItem* node)
{
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts << node->child(i)->text(0);
    return texts;
}

QStringList ItemTexts(const TfrmObj& objects)
{
    QStringList texts;
    for (int i = 0; i < objects.lvwObj->topLevelItemCount(); ++i)
        texts << objects.lvwObj->topLevelItem(i)->text(0);
    return texts;
}

// A ROK file whose points fall into three groups, one triangle each.
QByteArray ThreeGroupRok()
{
    QStringList lines{"ROKU4 test", "PALC0", "1", "0", "200",   "100",  "50",
                      "0",          "0",     "0", "0", "ENDP0", "POINT"};
    int point = 0;
    for (int group = 0; group < 3; ++group)
        for (const char* xyz : {"0 0 %1", "1 0 %1", "0 1 %1"})
            lines << QString::number(++point) << QString::number(group) << "0"
                  << "0"
                  << "0" << QString::fromLatin1(xyz).arg(group * 10);
    lines << "LINE0";
    for (int group = 0; group < 3; ++group)
        for (auto [a, b] : {std::pair{1, 2}, std::pair{2, 3}, std::pair{3, 1}})
            lines << QString::number(group * 3 + a) << QString::number(group * 3 + b) << "0"
                  << "0";
    lines << "FACE0";
    for (int group = 0; group < 3; ++group) {
        lines << "3"
              << "0"
              << "0";
        for (int side = 1; side <= 3; ++side)
            lines << QString::number(group * 3 + side);
    }
    lines << "END00";
    return lines.join("\r\n").toLatin1() + "\r\n";
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TpreviewObj& AddTriangle(TpreviewObj& model, double x)
{
    const VertexInput corners[3] = {{x, 0, 0}, {x + 1, 0, 0}, {x, 1, 0}};
    model.AddPolygonByCorners(0, corners, 3);
    return model;
}

// A model with an edge that three triangles share.
void AddFan(TpreviewObj& model)
{
    for (double z : {1.0, 2.0, 3.0}) {
        const VertexInput corners[3] = {{0, 0, 0}, {1, 0, 0}, {0.5, 0, z}};
        model.AddPolygonByCorners(0, corners, 3);
    }
}

// Whether the canvas holds any pixel of colour.
bool HasColour(const TCanvas& canvas, TColour colour)
{
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            if (canvas.GetPixel(x, y) == colour)
                return true;
    return false;
}

// Records when a window is shown and hidden.
class TVisibilityLog : public QObject
{
public:
    explicit TVisibilityLog(QWidget& window) { window.installEventFilter(this); }
    QStringList Events;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            Events << "show";
        else if (event->type() == QEvent::Hide)
            Events << "hide";
        return false;
    }
};

// Records the keys that reach a widget.
class TKeyLog : public QObject
{
public:
    explicit TKeyLog(QWidget& widget) { widget.installEventFilter(this); }
    std::vector<int> Keys;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
            Keys.push_back(static_cast<QKeyEvent*>(event)->key());
        return false;
    }
};

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void StartsWindowsInOrderWithTheirTexts()
    {
        TAppFixture app;
        QCOMPARE(app.App->CreationOrder(),
                 (std::vector<QString>{"TMainForm", "TfrmTool", "TdlgTempSize", "TfrmBar",
                                       "TfrmTest", "TfrmEnviron", "TfrmInfo"}));
        TMainForm& main = app.Main();
        QCOMPARE(main.windowTitle(), QString("Kalvo/3D"));
        QCOMPARE(app.Shell().Bar->windowTitle(), QString("お待ちください..."));
        QCOMPARE(app.Shell().Info->windowTitle(), QString("Information"));
        QCOMPARE(main.sbrStatPanel->text(), QString("Kalvo/3D (β2 version)"));
        QVERIFY(main.pbrStat->isHidden());

        // The menus and their order, by the form's own items rather than copies of their
        // captions: the Edit menu stays hidden, and the window menu reads the same whichever
        // window's menu is merged in.
        QList<QAction*> visibleMenus;
        for (QAction* action : main.menuBar()->actions())
            if (action->isVisible())
                visibleMenus << action;
        QCOMPARE(visibleMenus.size(), 3);
        QCOMPARE(visibleMenus[0], main.FileMenu->menuAction());
        QCOMPARE(visibleMenus[1]->text(), main.W1->title());
        QCOMPARE(visibleMenus[2], main.HelpMenu->menuAction());
        const std::vector<QAction*> fileItems{
            main.FileNewItem, main.FileOpenItem, main.FileSaveItem, main.FileSaveAsItem,
            nullptr,          main.mnuOpen,      main.RDS1,         nullptr,
            main.N6,          nullptr,           main.FileExitItem};
        const QList<QAction*> shown = main.FileMenu->actions();
        QCOMPARE(std::size_t(shown.size()), fileItems.size());
        for (std::size_t i = 0; i < fileItems.size(); ++i) {
            if (fileItems[i] == nullptr)
                QVERIFY2(shown[i]->isSeparator(), qPrintable(QString::number(i)));
            else
                QCOMPARE(shown[i], fileItems[i]);
        }
        // Only the commands the program carries out can be chosen.
        for (QAction* item : fileItems)
            if (item != nullptr)
                QCOMPARE(item->isEnabled(), item != main.FileOpenItem &&
                                                item != main.FileSaveItem &&
                                                item != main.FileSaveAsItem);

        // Showing the main window loads the cursors and opens one preview window.
        std::map<int, QString> cursorNames;
        for (const auto& [slot, path] : app.Platform.LoadedCursors)
            cursorNames[slot] = QFileInfo(path).fileName();
        QCOMPARE(cursorNames, (std::map<int, QString>{{5, "HAND.cur"},
                                                      {6, "VIEW.cur"},
                                                      {7, "PICKUP.cur"},
                                                      {9, "ESel.cur"},
                                                      {10, "PSel.cur"},
                                                      {11, "Pen.cur"}}));
        QCOMPARE(main.PreviewWindows().size(), 1);
        QCOMPARE(app.Preview().windowTitle(), QString("Preview Window"));
    }

    void ShippedFilesComeFromTheCurrentFolderBeforeTheShareFolder()
    {
        // An installed program started in a folder of the user's: what that folder holds wins,
        // the rest comes from the share folder.
        QTemporaryDir share, current;
        const QDir shipped(share.filePath("kalvo3d"));
        QVERIFY(QDir().mkpath(shipped.path()));
        for (const char* name : {"HAND.cur", "VIEW.cur", "PICKUP.cur", "ESel.cur", "PSel.cur",
                                 "Pen.cur", "Kalvo3D.txt"})
            QVERIFY(QFile::copy(SourcePath(QString("data/") + name), shipped.filePath(name)));
        QVERIFY(QFile::copy(SourcePath("data/VIEW.cur"), current.filePath("HAND.cur")));
        const QByteArray oldDataDirs = qgetenv("XDG_DATA_DIRS");
        const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
        const QString oldCurrent = QDir::currentPath();
        qputenv("XDG_DATA_DIRS", share.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", current.filePath("nowhere").toLocal8Bit());
        QDir::setCurrent(current.path());
        auto restore = qScopeGuard([&] {
            QDir::setCurrent(oldCurrent);
            qputenv("XDG_DATA_DIRS", oldDataDirs);
            qputenv("XDG_DATA_HOME", oldDataHome);
        });

        TAppFixture app;
        QCOMPARE(app.Platform.LoadedCursors.at(kCursorHand), current.filePath("HAND.cur"));
        QCOMPARE(app.Platform.LoadedCursors.at(kCursorPen), shipped.filePath("Pen.cur"));
        QCOMPARE(app.Platform.LoadedCursors.size(), size_t{6});
        app.Shell().Info->Button2->click();
        QVERIFY(app.Platform.StartedPrograms.at(0).endsWith(shipped.filePath("Kalvo3D.txt")));
    }

    void AltKeyNeverReachesTheWindows()
    {
        TAppFixture app;
        for (QWidget* target : {static_cast<QWidget*>(app.Main().menuBar()),
                                static_cast<QWidget*>(app.Preview().pbxModel)}) {
            TKeyLog log(*target);
            QTest::keyPress(target, Qt::Key_Alt, Qt::AltModifier);
            QTest::keyRelease(target, Qt::Key_Alt);
            QTest::keyClick(target, Qt::Key_E);
            QCOMPARE(log.Keys, (std::vector<int>{Qt::Key_E, Qt::Key_E}));
        }
    }

    void ShippedCursorFilesLoadWithTheirHotspots()
    {
        const std::pair<const char*, QPoint> cursors[] = {
            {"HAND.cur", {16, 16}}, {"VIEW.cur", {16, 16}}, {"PICKUP.cur", {12, 0}},
            {"ESel.cur", {0, 0}},   {"PSel.cur", {0, 0}},   {"Pen.cur", {0, 31}}};
        for (const auto& [name, hotspot] : cursors) {
            QCursor cursor;
            QVERIFY2(ReadCursorFile(SourcePath(QString("data/") + name), cursor), name);
            QCOMPARE(cursor.hotSpot(), hotspot);
            QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
        }
    }

    void OpenDxfAddsOneEntryAndShowsIt()
    {
        TAppFixture app;
        app.Open(SourcePath("data/samples/cube.dxf"), kFilterDxf);
        QCOMPARE(ItemTexts(app.Objects()), QStringList{"cube.dxf"});
        QCOMPARE(app.Objects().tvwObj->topLevelItemCount(), 1);
        QCOMPARE(app.Objects().ItemModel(0)->PolygonCount(), 12);
        QCOMPARE(app.Objects().ItemStateIndex(0), 0);
        QVERIFY(app.Shell().Bar->isHidden());
        QCOMPARE(app.Preview().Edit1->text(), SourcePath("data/samples/cube.dxf"));

        // The new model is drawn at once, in the mesh colour over the background.
        TPaintBox& pane = *app.Preview().pbxModel;
        QVERIFY(pane.width() > 50 && pane.height() > 50);
        pane.Redraw();
        QVERIFY(pane.Canvas());
        QVERIFY(HasColour(*pane.Canvas(), app.Settings().BackColor));
        QVERIFY(HasColour(*pane.Canvas(), app.Settings().ObjectColor));
    }

    void OpenDialogStartsOnAllModelsAndReadsByExtension()
    {
        TAppFixture app;
        const QString obj = app.Dir.filePath("square.OBJ");
        WriteFile(obj, "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n");
        app.Open(obj, kFilterAllModels);
        app.Open(SourcePath("data/samples/cube.dxf"), kFilterAllModels);
        app.Open(obj, kFilterLibrary);
        QCOMPARE(app.Platform.FileDialogs.front().FilterIndex, int(kFilterAllModels));
        // The filters keep their places; the two new ones follow.
        const QStringList filters = QtNameFilters(app.Platform.FileDialogs.front().Filter);
        QCOMPARE(filters.size(), 6);
        QVERIFY(filters[kFilterRds - 1].contains("*.rds"));
        QVERIFY(filters[kFilterLibrary - 1].contains("*.gltf"));
        QVERIFY(filters[kFilterAllModels - 1].startsWith("すべてのモデル"));
        QVERIFY(filters[kFilterAllModels - 1].contains("*.dxf"));
        QCOMPARE(ItemTexts(app.Objects()), (QStringList{"square.OBJ", "cube.dxf", "square.OBJ"}));
        QCOMPARE(app.Objects().ItemModel(0)->PolygonCount(), 1);
        QCOMPARE(app.Objects().ItemModel(0)->Polygons[0].count(), 4);
        QCOMPARE(app.Objects().ItemModel(1)->PolygonCount(), 12);
        QVERIFY(app.Platform.Messages.empty());
    }

    void OpenWithTheOwnFormatReadsNothing()
    {
        TAppFixture app;
        TVisibilityLog bar(*app.Shell().Bar);
        app.Open(SourcePath("data/samples/cube.dxf"), kFilterOwnFormat);
        QCOMPARE(app.Objects().ItemCount(), 0);
        QCOMPARE(bar.Events, (QStringList{"show", "hide"}));
    }

    void OpenOfAMissingOrDamagedDxfStillAddsItsEntry()
    {
        TAppFixture app;
        WriteFile(app.Dir.filePath("broken.dxf"), "not a drawing\n");
        app.Open(app.Dir.filePath("broken.dxf"), kFilterDxf);
        app.Open(app.Dir.filePath("missing.dxf"), kFilterDxf);
        QCOMPARE(ItemTexts(app.Objects()), (QStringList{"broken.dxf", "missing.dxf"}));
        QCOMPARE(app.Platform.Messages.size(), size_t{1});
        QCOMPARE(app.Platform.Messages[0].Text, QString("DXF fileではありません"));
        QCOMPARE(QString::fromStdString(app.Settings().OpenDir), app.Dir.path() + "/");
    }

    void OpenOfAnUnreadableFileReportsItAndKeepsTheFolder()
    {
        TAppFixture app;
        const QString folder = app.Dir.filePath("folder.dxf");
        QVERIFY(QDir().mkdir(folder));
        app.Open(folder, kFilterDxf);
        QCOMPARE(app.Objects().ItemCount(), 1);
        QCOMPARE(app.Platform.Messages.size(), size_t{1});
        QCOMPARE(app.Platform.Messages[0].Kind, TMsgKind::Error);
        QVERIFY(app.Shell().Bar->isHidden());
        QVERIFY(app.Settings().OpenDir.empty());
    }

    void OpenRokAddsOneGroupNodePerGroup()
    {
        TAppFixture app;
        const QString path = app.Dir.filePath("groups.rok");
        WriteFile(path, ThreeGroupRok());
        app.Open(path, kFilterRok);
        QCOMPARE(ItemTexts(app.Objects()), QStringList{"groups.rok"});
        QCOMPARE(NodeTexts(app.Objects().tvwObj->topLevelItem(0)),
                 (QStringList{"グループ 1", "グループ 2", "グループ 3"}));
        QVERIFY(app.Platform.Messages.empty());
    }

    void OpenRdsAddsOneEntryPerMeshObject()
    {
        TAppFixture app;
        TpreviewObj first;
        first.Name = "First";
        TpreviewObj second;
        second.Name = "Second";
        TRDSwriter writer;
        writer.AddObject(AddTriangle(first, 0));
        writer.AddObject(AddTriangle(second, 5));
        const QString path = app.Dir.filePath("two.rds");
        writer.WriteFile(path.toStdString());

        QStringList status;
        QObject::connect(app.Main().sbrStat, &QStatusBar::messageChanged,
                         [&status](const QString& text) { status << text; });
        app.Open(path, kFilterRds);
        QCOMPARE(ItemTexts(app.Objects()), (QStringList{"\"First\"", "\"Second\""}));
        QVERIFY(status.contains("RDSファイル読み込み中..."));
        QCOMPARE(status.last(), QString());
        for (int i = 0; i < 2; ++i)
            QCOMPARE(NodeTexts(app.Objects().tvwObj->topLevelItem(i)), QStringList{"グループ 1"});
        QCOMPARE(app.Objects().ItemModel(1)->MinX, 5.0);
        // The status bar is back to its panel once the read is over.
        QVERIFY(app.Main().pbrStat->isHidden());
        QVERIFY(app.Main().sbrStat->currentMessage().isEmpty());
    }

    void OpenRdsWithoutMeshSaysSo()
    {
        TAppFixture app;
        const QString path = app.Dir.filePath("empty.rds");
        TRDSwriter writer;
        writer.WriteFile(path.toStdString());
        app.Open(path, kFilterRds);
        QCOMPARE(app.Objects().ItemCount(), 0);
        QCOMPARE(app.Platform.Messages.size(), size_t{1});
        QCOMPARE(app.Platform.Messages[0].Text,
                 QString("このファイルにはメッシュ形状がふくまれていません。"));
    }

    void OpenRemembersTheFolderUnlessItIsFixed()
    {
        TAppFixture app;
        const QString cube = SourcePath("data/samples/cube.dxf");
        app.Open(cube, kFilterDxf);
        const QString folder = QFileInfo(cube).absolutePath() + "/";
        QCOMPARE(QString::fromStdString(app.Settings().OpenDir), folder);
        QVERIFY(ReadAll(app.IniPath()).contains("OpenDir=" + folder));
        app.Main().mnuOpenClick(); // cancelled: only the dialog's set-up matters
        QCOMPARE(app.Platform.FileDialogs.back().InitialDir, folder);
        QCOMPARE(app.Platform.FileDialogs.back().FilterIndex, kFilterDxf);

        TAppFixture locked("[Other]\r\nLockDir=/fixed/\r\nLockOrUnLock=1\r\n");
        locked.Open(cube, kFilterDxf);
        QCOMPARE(locked.Platform.FileDialogs.back().InitialDir, QString("/fixed/"));
        QCOMPARE(QString::fromStdString(locked.Settings().OpenDir), QString("/fixed/"));
    }

    void OpenWithATemplateWindowActiveOpensATexture()
    {
        struct TTemplateStandIn : QWidget, TTextureOpenTarget
        {
            int Opened = 0;
            void btnOpenClick() override { ++Opened; }
        };
        TAppFixture app;
        auto* stand = new TTemplateStandIn;
        stand->setWindowTitle("Map template");
        QMdiSubWindow* sub = app.Main().mdiArea->addSubWindow(stand);
        sub->show();
        app.Main().mdiArea->setActiveSubWindow(sub);
        app.Main().mnuOpenClick();
        QCOMPARE(stand->Opened, 1);
        QVERIFY(app.Platform.FileDialogs.empty());
    }

    void DroppedModelFilesAreOpened()
    {
        TAppFixture app;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(SourcePath("data/samples/pyramid.dxf")),
                      QUrl::fromLocalFile(SourcePath("data/Kalvo3D.txt"))});
        const QPoint at = app.Main().rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&app.Main(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&app.Main(), &drop);
        QCOMPARE(ItemTexts(app.Objects()), QStringList{"pyramid.dxf"});
    }

    void ExportWritesTheAcceptedObjectsOnly()
    {
        TAppFixture app;
        TpreviewObj& good = *CreateModelEntry(app.Preview(), "Good").Model;
        AddTriangle(good, 0);
        AddFan(*CreateModelEntry(app.Preview(), "Fan").Model);
        CreateModelEntry(app.Preview(), "Unselected");
        app.Objects().SetItemSelected(0, true);
        app.Objects().SetItemSelected(1, true);

        const QString path = app.Dir.filePath("out.rds");
        app.Platform.FileAnswers.push_back(TScriptedPlatform::FileAnswer{path, 0});
        app.Main().RDS1Click();

        QCOMPARE(app.Platform.Messages.size(), size_t{1});
        QCOMPARE(app.Platform.Messages[0].Text,
                 QString("オブジェクトFanには3つ以上の面を共有する\n"
                         "稜線がふくまれているため、RDS形式で保存できません"));
        const QString text = ReadAll(path);
        QVERIFY(text.startsWith("3DC {\r\n  asci 1\r\n"));
        QVERIFY(text.contains("nm \"Good\""));
        QVERIFY(!text.contains("Fan"));
        QVERIFY(!text.contains("Unselected"));
        QCOMPARE(app.Platform.FileDialogs[0].Filter, QString("RayDream Studio 5(*.rds)|*.rds"));
    }

    void ExportAsksAboutLooseLines_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("edges");
        QTest::newRow("yes writes the lines") << int(TAnswer::Yes) << 2;
        QTest::newRow("no leaves them out") << int(TAnswer::No) << 0;
    }

    void ExportAsksAboutLooseLines()
    {
        QFETCH(int, answer);
        QFETCH(int, edges);
        TAppFixture app;
        TpreviewObj& lines = *CreateModelEntry(app.Preview(), "Lines").Model;
        lines.AddEdgeByInputs({0, 0, 0}, {1, 0, 0});
        lines.AddEdgeByInputs({1, 0, 0}, {1, 1, 0});
        app.Objects().SetItemSelected(0, true);
        const QString path = app.Dir.filePath("lines.rds");
        app.Platform.Answers.push_back(TAnswer(answer));
        app.Platform.FileAnswers.push_back(TScriptedPlatform::FileAnswer{path, 0});
        app.Main().RDS1Click();

        QCOMPARE(app.Platform.Messages.size(), size_t{1});
        QCOMPARE(app.Platform.Messages[0].Kind, TMsgKind::Confirmation);
        QCOMPARE(app.Platform.Messages[0].Standard, TButtons::YesNo);
        QCOMPARE(app.Platform.Messages[0].Text,
                 QString("オブジェクトLinesには面を構成しない線があります。\n"
                         "面を構成しない線を書き出しますか？"));
        const QString text = ReadAll(path);
        QVERIFY(text.contains("nm \"Lines\""));
        QCOMPARE(int(text.count("EdgA ")), edges);
    }

    void ExportWithNothingToWriteShowsNoDialog()
    {
        TAppFixture app;
        AddFan(*CreateModelEntry(app.Preview(), "Fan").Model);
        CreateModelEntry(app.Preview(), "Other");
        app.Main().RDS1Click(); // nothing selected
        QVERIFY(app.Platform.FileDialogs.empty());
        app.Objects().SetItemSelected(0, true);
        app.Main().RDS1Click(); // the only selected object is refused
        QVERIFY(app.Platform.FileDialogs.empty());
    }

    void ExportAsksBeforeReplacingAFile_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("cancel keeps the file") << int(TAnswer::Cancel) << false;
        QTest::newRow("ok replaces it") << int(TAnswer::Ok) << true;
    }

    void ExportAsksBeforeReplacingAFile()
    {
        QFETCH(int, answer);
        QFETCH(bool, replaced);
        TAppFixture app;
        AddTriangle(*CreateModelEntry(app.Preview(), "Good").Model, 0);
        app.Objects().SetItemSelected(0, true);
        const QString path = app.Dir.filePath("old.rds");
        WriteFile(path, "old contents");
        app.Platform.FileAnswers.push_back(TScriptedPlatform::FileAnswer{path, 0});
        app.Platform.Answers.push_back(TAnswer(answer));
        app.Main().RDS1Click();

        QCOMPARE(app.Platform.Messages.size(), size_t{1});
        QCOMPARE(app.Platform.Messages[0].Text,
                 "ファイル" + path + "は既に存在します。 上書きしますか？");
        QCOMPARE(app.Platform.Messages[0].Standard, TButtons::OkCancel);
        QCOMPARE(ReadAll(path) == "old contents", !replaced);
    }

    void InformationAndSettingsWindowsAreShownModally()
    {
        TAppFixture app;
        app.Shell().Info->Button2->click();
        QCOMPARE(app.Platform.StartedPrograms.size(), size_t{1});
        QVERIFY(app.Platform.StartedPrograms[0].endsWith("Kalvo3D.txt"));
        app.Main().HelpAboutItem->trigger();
        app.Main().N6->trigger();
        QCOMPARE(app.ModalDialogs, (std::vector<QString>{"kalvo::TfrmInfo", "kalvo::TfrmEnviron"}));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
