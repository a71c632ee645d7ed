#include "gui/export_command.h"

#include "core/base/cp932.h"
#include "core/base/errors.h"
#include "core/io/rds_writer.h"
#include "core/model/preview_obj.h"
#include "gui/model_window.h"
#include "gui/object_window.h"
#include "gui/platform.h"
#include "gui/shell.h"

#include <QFileInfo>

namespace kalvo {

namespace {

// Whether model goes into the file, after asking the user where the model leaves a choice.
bool AcceptForExport(TPlatform& platform, TpreviewObj& model)
{
    const QString name = QString::fromStdString(Cp932ToUtf8(model.Name));
    const int use = model.CountEdgeUse();
    if (use > 2) {
        platform.MessageBox(TMsgKind::Information,
                            QStringLiteral("オブジェクト") + name +
                                QStringLiteral("には3つ以上の面を共有する\n"
                                               "稜線がふくまれているため、RDS形式で保存できません"),
                            TButtons::Ok);
        return false;
    }
    if (use < 0) {
        const TAnswer answer =
            platform.MessageBox(TMsgKind::Confirmation,
                                QStringLiteral("オブジェクト") + name +
                                    QStringLiteral("には面を構成しない線があります。\n"
                                                   "面を構成しない線を書き出しますか？"),
                                TButtons::YesNo);
        if (answer == TAnswer::Yes)
            model.SetEdgeUse(1);
    }
    return true;
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
        if (!AcceptForExport(platform, model))
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
        const TAnswer answer =
            platform.MessageBox(TMsgKind::Information,
                                QStringLiteral("ファイル") + path +
                                    QStringLiteral("は既に存在します。 上書きしますか？"),
                                TButtons::OkCancel);
        if (answer != TAnswer::Ok)
            return TExportResult::Cancelled;
    }

    try {
        writer.OpenFile(path.toStdString());
        writer.WriteLines(RdsHeaderLines());
        writer.WriteObjects();
        writer.WriteFooter();
        writer.CloseFile();
    } catch (const TWriteError& error) {
        platform.MessageBox(TMsgKind::Error, QString::fromUtf8(error.what()), TButtons::Ok);
        return TExportResult::Failed;
    }
    return TExportResult::Written;
}

} // namespace kalvo
