#include "gui/app_windows.h"

#include "core/model/preview_obj.h"
#include "core/settings/settings.h"
#include "gui/bar_window.h"
#include "gui/environ_dialog.h"
#include "gui/info_window.h"
#include "gui/main_form.h"
#include "gui/object_window.h"
#include "gui/temp_size_dialog.h"
#include "gui/template/map_template_window.h"
#include "gui/test_window.h"
#include "gui/tool_window.h"

#include <QDialog>

namespace kalvo {

namespace {

template <typename Window> Window* Created(Window* window, std::vector<QString>& order)
{
    QString name = QString::fromLatin1(window->metaObject()->className());
    order.push_back(name.mid(name.lastIndexOf(QLatin1Char(':')) + 1));
    return window;
}

} // namespace

TApplicationWindows::TApplicationWindows(TPlatform& platform,
                                         const std::filesystem::path& settingsPath)
    : sink_(platform), settingsPath_(settingsPath)
{
    shell_.Platform = &platform;
    shell_.Sink = &sink_;
    shell_.ShowModal = [](QDialog& dialog) { return dialog.exec() == QDialog::Accepted; };

    settings_ = std::make_unique<TSettings>();
    shell_.Settings = settings_.get();
    shell_.SaveSettings = [this] { shell_.Environ->SaveSettings(); };

    shell_.OpenMapTemplate = [this](TfrmObj& owner, TpreviewObj& model, int width, int height) {
        if (TfrmMapTemplate* window =
                OpenMapTemplateWindow(shell_, &owner.Owner(), model, width, height))
            owner.SetTemplateWindow(model, window);
    };

    shell_.RebuildMapTemplate = [](TpreviewObj& model) {
        if (auto* window = dynamic_cast<TfrmMapTemplate*>(model.TemplateWindow))
            window->RebuildLayout();
    };

    shell_.MainForm = Created(new TMainForm(shell_), creationOrder_);
    shell_.Tool = Created(new TfrmTool(), creationOrder_);
    shell_.TempSize = Created(new TdlgTempSize(sink_), creationOrder_);
    shell_.Bar = Created(new TfrmBar(), creationOrder_);
    shell_.Test = Created(new TfrmTest(), creationOrder_);
    shell_.Environ = Created(new TfrmEnviron(platform, *settings_, settingsPath_), creationOrder_);
    shell_.Info = Created(new TfrmInfo(platform), creationOrder_);
    for (QWidget* window :
         std::initializer_list<QWidget*>{shell_.MainForm, shell_.Tool, shell_.TempSize, shell_.Bar,
                                         shell_.Test, shell_.Environ, shell_.Info})
        windows_.emplace_back(window);
}

TApplicationWindows::~TApplicationWindows()
{
    // The main window first: its preview windows and their models refer to the others, which
    // then go in the reverse order of their creation.
    windows_.front().reset();
    shell_.MainForm = nullptr;
    while (!windows_.empty())
        windows_.pop_back();
}

} // namespace kalvo
