#include "gui/export_command.h"

#include "core/base/errors.h"
#include "core/io/export_check.h"
#include "core/io/rds_writer.h"
#include "core/model/preview_obj.h"
#include "gui/bar_window.h"
#include "gui/core_texts.h"
#include "gui/object_window.h"
#include "gui/platform.h"
#include "gui/preview/model_window.h"
#include "gui/shell.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace kalvo {

namespace {

// Whether model goes into the file, after asking the user where the model leaves a choice.
bool AcceptAsking(TPlatform& platform, TpreviewObj& model)
{
    const auto askKeepLines = [&platform](const std::string& question) {
        return platform.MessageBox(TMsgKind::Confirmation, CoreText(question), TButtons::YesNo) ==
               TAnswer::Yes;
    };
    std::string refusal;
    if (AcceptForExport(model, askKeepLines, refusal))
        return true;
    platform.MessageBox(TMsgKind::Information, CoreText(refusal), TButtons::Ok);
    return false;
}

} // namespace

TExportResult ExportSelectedObjects(TShell& shell, TfrmModel& window, TFileDialog& saveDialog)
{
    TPlatform& platform = *shell.Platform;
    TfrmObj& objects = window.ObjectWindow();
    TRDSwriter writer;
    bool accepted = false;
    for (int i = 0; i < objects.ItemCount(); ++i) {
        if (!objects.ItemSelected(i))
            continue;
        TpreviewObj& model = *objects.ItemModel(i);
        if (!AcceptAsking(platform, model))
            continue;
        writer.AddObject(model);
        accepted = true;
    }
    if (!accepted)
        return TExportResult::NothingToSave;

    if (!platform.SaveFileDialog(saveDialog))
        return TExportResult::Cancelled;
    const QString path = saveDialog.FileName;
    if (QFileInfo::exists(path)) {
        const TAnswer answer = platform.MessageBox(
            TMsgKind::Information,
            QCoreApplication::translate("kalvo::ExportSelectedObjects",
                                        "ファイル%1は既に存在します。 上書きしますか？")
                .arg(path),
            TButtons::OkCancel);
        if (answer != TAnswer::Ok)
            return TExportResult::Cancelled;
    }

    QString failure;
    {
        // The wait window goes before a message about the write shows, so it cannot cover it.
        TWaitWindow wait(shell.Bar);
        try {
            writer.OpenFile(path.toStdString());
            writer.WriteLines(RdsHeaderLines());
            writer.WriteObjects();
            writer.WriteFooter();
            writer.CloseFile();
        } catch (const TWriteError& error) {
            failure = CoreText(error.what());
        }
    }
    if (!failure.isEmpty()) {
        platform.MessageBox(TMsgKind::Error, failure, TButtons::Ok);
        return TExportResult::Failed;
    }
    return TExportResult::Written;
}

} // namespace kalvo
