#include "gui/open_command.h"

#include "core/base/errors.h"
#include "core/io/model_files.h"
#include "core/model/preview_obj.h"
#include "gui/bar_window.h"
#include "gui/core_texts.h"
#include "gui/cpu_state.h"
#include "gui/main_form.h"
#include "gui/object_window.h"
#include "gui/open_progress.h"
#include "gui/platform.h"
#include "gui/preview/model_window.h"
#include "gui/shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <memory>
#include <vector>

namespace kalvo {

namespace {

TModelFormat FormatOfFilter(int filterIndex, const QString& path)
{
    switch (filterIndex) {
    case kFilterDxf:
        return TModelFormat::Dxf;
    case kFilterRok:
        return TModelFormat::Rok;
    case kFilterRds:
        return TModelFormat::Rds;
    case kFilterLibrary:
        return TModelFormat::Assimp;
    case kFilterAllModels:
        return FormatOfPath(path.toStdString());
    default:
        return TModelFormat::Unknown;
    }
}

} // namespace

TModelEntry& CreateModelEntry(TfrmModel& window, const std::string& name)
{
    // The model reaches the window's panes, camera and buffer through the window at each
    // drawing, so binding it is registering it with the window's object window.
    auto model = std::make_unique<TpreviewObj>();
    model->Name = name;
    return window.ObjectWindow().AddEntry(std::move(model));
}

int FilterIndexOfPath(const QString& path)
{
    switch (FormatOfPath(path.toStdString())) {
    case TModelFormat::Dxf:
        return kFilterDxf;
    case TModelFormat::Rok:
        return kFilterRok;
    case TModelFormat::Rds:
        return kFilterRds;
    case TModelFormat::Assimp:
        return kFilterLibrary;
    case TModelFormat::Unknown:
        break;
    }
    return 0;
}

QString OpenDialogFilter()
{
    const QString library =
        QStringLiteral("*.obj;*.stl;*.ply;*.gltf;*.glb;*.3ds;*.lwo;*.dae;*.fbx");
    return QCoreApplication::translate(
               "kalvo::OpenDialogFilter",
               "Kalvo/3D (*.k3d)|*.k3d|DXF file (*.dxf)|*.dxf|六角大王 (*.rok)|*.rok|"
               "RayDream Studio5 (*.rds)|*.rds|3D モデル|%1|すべてのモデル|%2")
        .arg(library, QStringLiteral("*.dxf;*.rok;*.rds;") + library);
}

std::string FolderOfFile(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath() + QLatin1Char('/'))
        .toStdString();
}

TOpenResult ReadModelInto(TShell& shell, TfrmModel& target, const QString& path, int filterIndex)
{
    const TModelFormat format = FormatOfFilter(filterIndex, path);
    if (format == TModelFormat::Unknown) { // the program's own format reads nothing
        target.Edit1->setText(path);
        TWaitWindow wait(shell.Bar);
        return TOpenResult::Read;
    }

    // The models are read aside and join the document only once the read has ended: a
    // cancelled read then leaves nothing behind, and no window draws a model half read.
    struct TStaged
    {
        std::unique_ptr<TpreviewObj> Model;
        bool HasGroups = false; // the reader listed its groups (ROK, RDS)
    };
    std::vector<TStaged> staged;
    TModelReadContext context;
    context.Sink = shell.Sink;
    context.CreateModel = [&staged](const std::string& name) -> TpreviewObj& {
        staged.push_back({std::make_unique<TpreviewObj>(), false});
        staged.back().Model->Name = name;
        return *staged.back().Model;
    };
    context.ObjectLoaded = [&staged](TpreviewObj& model) {
        for (TStaged& entry : staged)
            if (entry.Model.get() == &model)
                entry.HasGroups = true;
    };
    if (TMainForm* main = shell.MainForm) {
        context.Progress.Begin = [main](const std::string& text) {
            main->BeginProgress(CoreText(text));
        };
        context.Progress.Step = [main] { main->StepProgress(); };
        context.Progress.End = [main] { main->EndProgress(); };
    }

    bool read = true;
    {
        TWaitWindow wait(shell.Bar);
        TOpenProgress progress(shell.MainForm, QFileInfo(path).fileName(), shell.Bar,
                               shell.ProgressShowAfterMs);
        context.Watch = [&progress](double fraction) { return progress.Advance(fraction); };
        try {
            // A format error was shown to the user by the reader; the file was read all the
            // same, so it still counts as opened.
            ClearUpperVectorState();
            ReadModelFile(path.toStdString(), format, context);
        } catch (const TReadCancelled&) {
            return TOpenResult::Cancelled; // the document stays as it was
        } catch (const TReadError& error) {
            read = false;
            shell.Platform->MessageBox(TMsgKind::Error, CoreText(error.what()), TButtons::Ok);
        }
    }
    // What was read before a failure stays, as the readers promise.
    target.Edit1->setText(path);
    for (TStaged& entry : staged) {
        TModelEntry& added = target.ObjectWindow().AddEntry(std::move(entry.Model));
        if (entry.HasGroups)
            target.ObjectWindow().AddGroups(*added.Model);
    }
    target.Layout();
    target.RepaintAll();
    return read ? TOpenResult::Read : TOpenResult::Failed;
}

} // namespace kalvo
