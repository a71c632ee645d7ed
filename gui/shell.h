#pragma once

#include <functional>
#include <string>

class QDialog;

namespace kalvo {

class TMainForm;
class TMessageSink;
class TPlatform;
class TdlgTempSize;
class TfrmBar;
class TfrmEnviron;
class TfrmInfo;
class TfrmObj;
class TfrmTest;
class TfrmTool;
class TpreviewObj;
struct TSettings;

// The long-lived windows of one run and the services every window shares. The application
// (TApplicationWindows) fills it as it creates the windows; windows keep a reference and look
// the others up when they need them, so the order of creation does not constrain who may
// refer to whom.
struct TShell
{
    TPlatform* Platform = nullptr;
    TMessageSink* Sink = nullptr; // message boxes for the core's readers and writer

    // The settings as the settings dialog holds them, and how to write them to the INI file.
    TSettings* Settings = nullptr;
    std::function<void()> SaveSettings;

    // Shows a dialog modally and returns true when it closed with OK. The program runs the
    // dialog's own loop; tests answer without one.
    std::function<bool(QDialog& dialog)> ShowModal;

    // Opens the map template window of model at the given size, owned by the object window.
    // Empty while the program has no template window: the template command then ends after
    // the size dialog.
    std::function<void(TfrmObj& owner, TpreviewObj& model, int width, int height)> OpenMapTemplate;
    // Shows the open map template window of model and brings it forward (the preview window's
    // "テンプレートに切り替え"). Empty while the program has no template window.
    std::function<void(TpreviewObj& model)> ShowMapTemplate;
    // Sets the open map template window of model up again from the model's (u, v) and range,
    // after they were replaced (the object window's "UV を生成"). Empty while the program has
    // no template window; the template window then shows the new layout when opened again.
    std::function<void(TpreviewObj& model)> RebuildMapTemplate;

    // How long a model file is read before its progress dialog shows.
    int ProgressShowAfterMs = 500;

    TMainForm* MainForm = nullptr;
    TfrmTool* Tool = nullptr;
    TdlgTempSize* TempSize = nullptr;
    TfrmBar* Bar = nullptr;
    TfrmTest* Test = nullptr;
    TfrmEnviron* Environ = nullptr;
    TfrmInfo* Info = nullptr;
};

// The settings as the settings dialog holds them now.
const TSettings& CurrentSettings(const TShell& shell);
// After a model file was opened: with "remember the last folder" chosen, the folder (with its
// trailing separator) becomes the open dialogs' folder and the settings are saved.
void RememberOpenFolder(TShell& shell, const std::string& folder);

} // namespace kalvo
