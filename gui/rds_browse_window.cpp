#include "gui/rds_browse_window.h"

#include "core/base/cp932.h"
#include "core/model/preview_obj.h"
#include "gui/main_form.h"
#include "gui/model_window.h"
#include "gui/object_window.h"
#include "gui/open_command.h"
#include "gui/shell.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace kalvo {

TfrmRDSbrows::TfrmRDSbrows(TShell& shell, TfrmModel& target)
    : QDialog(shell.MainForm), shell_(shell), target_(target), browser_(shell.Sink)
{
    setObjectName(QStringLiteral("frmRDSbrows"));
    setWindowTitle(QStringLiteral("RDS オブジェクト選択"));
    lbxRDS = new QListWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbxRDS);
}

TfrmRDSbrows::~TfrmRDSbrows() = default;

bool TfrmRDSbrows::ScanFile(const std::string& fileName)
{
    const bool found = browser_.ScanFile(fileName);
    lbxRDS->clear();
    for (const TRDSentry& entry : browser_.Entries())
        lbxRDS->addItem(QString::fromStdString(Cp932ToUtf8(entry.Name)));
    return found;
}

void TfrmRDSbrows::LoadObjects()
{
    TRDSloadCallbacks callbacks;
    callbacks.CreateModelEntry = [this](const std::string& name) -> TpreviewObj& {
        return *CreateModelEntry(target_, name).Model;
    };
    callbacks.ObjectLoaded = [this](TpreviewObj& model) {
        target_.ObjectWindow().AddGroups(model);
    };
    if (TMainForm* main = shell_.MainForm) {
        callbacks.Progress.Begin = [main](const std::string& text) {
            main->BeginProgress(QString::fromStdString(text));
        };
        callbacks.Progress.Step = [main] { main->StepProgress(); };
        callbacks.Progress.End = [main] { main->EndProgress(); };
    }
    struct TEndProgress
    {
        TMainForm* Main;
        ~TEndProgress()
        {
            if (Main)
                Main->EndProgress();
        }
    } endProgress{shell_.MainForm}; // a failed read must not leave the status bar busy
    browser_.LoadObjects(callbacks);
}

} // namespace kalvo
