#pragma once

#include "gui/platform.h"
#include "gui/shell.h"

#include <QString>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <vector>

namespace kalvo {

// The windows that live for the whole run, created in a fixed order: the main window, the tool
// palette, the template size dialog, the wait window, the test window, the settings dialog and
// the information window. main() makes one and shows the main window; tests make their own
// with a scripted platform and a settings file of their own.
class TApplicationWindows
{
public:
    // platform must outlive the windows. settingsPath is the INI file the settings dialog
    // loads now and writes back.
    TApplicationWindows(TPlatform& platform, const std::filesystem::path& settingsPath);
    ~TApplicationWindows();
    TApplicationWindows(const TApplicationWindows&) = delete;
    TApplicationWindows& operator=(const TApplicationWindows&) = delete;

    TShell& Shell() { return shell_; }
    TMainForm& MainForm() { return *shell_.MainForm; }
    // The windows' class names in the order they were created.
    const std::vector<QString>& CreationOrder() const { return creationOrder_; }

private:
    TPlatformSink sink_;
    TShell shell_;
    std::filesystem::path settingsPath_;
    std::vector<QString> creationOrder_;
    std::unique_ptr<TSettings> settings_;
    std::vector<std::unique_ptr<QWidget>> windows_; // the long-lived windows, in creation order
};

} // namespace kalvo
