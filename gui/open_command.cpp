#include "gui/open_command.h"

#include "core/base/errors.h"
#include "core/io/model_files.h"
#include "core/io/rok_reader.h"
#include "core/model/preview_obj.h"
#include "gui/bar_window.h"
#include "gui/model_window.h"
#include "gui/object_window.h"
#include "gui/platform.h"
#include "gui/rds_browse_window.h"
#include "gui/shell.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTreeWidgetItem>

namespace kalvo {

namespace {

// Keeps the wait window up exactly while a file is read, however the read ends.
class TWaitWindow
{
public:
    explicit TWaitWindow(TfrmBar* bar) : bar_(bar)
    {
        if (bar_)
            bar_->ShowNow();
    }
    ~TWaitWindow()
    {
        if (bar_)
            bar_->hide();
    }
    TWaitWindow(const TWaitWindow&) = delete;
    TWaitWindow& operator=(const TWaitWindow&) = delete;

private:
    TfrmBar* bar_;
};

void ReadDxf(TShell& shell, TfrmModel& target, const std::string& path)
{
    TModelEntry& entry = CreateModelEntry(target, ModelNameOfPath(path));
    TDXFobject reader(*shell.Sink);
    reader.Read(path);
    reader.HandOver(*entry.Model);
}

void ReadRok(TShell& shell, TfrmModel& target, const std::string& path)
{
    TModelEntry& entry = CreateModelEntry(target, ModelNameOfPath(path));
    TROKobject reader(*shell.Sink);
    if (!reader.ReadPalette(path))
        return;
    TpreviewObj& model = *entry.Model;
    reader.ReadGeometry(model);
    target.ObjectWindow().AddGroups(model);
}

void ReadRds(TShell& shell, TfrmModel& target, const std::string& path)
{
    TfrmRDSbrows browser(shell, target);
    if (browser.ScanFile(path))
        browser.LoadObjects();
    else
        shell.Platform->MessageBox(TMsgKind::Information, QString::fromUtf8(kRdsNoMeshMessage),
                                   TButtons::Ok);
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
    case TModelFormat::Unknown:
        break;
    }
    return 0;
}

std::string FolderOfFile(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath() + QLatin1Char('/'))
        .toStdString();
}

bool ReadModelInto(TShell& shell, TfrmModel& target, const QString& path, int filterIndex)
{
    target.Edit1->setText(path);
    const std::string file = path.toStdString();
    bool read = true;
    {
        TWaitWindow wait(shell.Bar);
        try {
            switch (filterIndex) {
            case kFilterDxf:
                ReadDxf(shell, target, file);
                break;
            case kFilterRok:
                ReadRok(shell, target, file);
                break;
            case kFilterRds:
                ReadRds(shell, target, file);
                break;
            default:
                break;
            }
        } catch (const TReadError& error) {
            read = false;
            shell.Platform->MessageBox(TMsgKind::Error, QString::fromUtf8(error.what()),
                                       TButtons::Ok);
        }
    }
    if (filterIndex >= kFilterDxf && filterIndex <= kFilterRds) {
        target.Layout();
        target.RepaintAll();
    }
    return read;
}

} // namespace kalvo
