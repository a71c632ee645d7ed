#include "gui/shell.h"

#include "core/settings/settings.h"

#include <cassert>

namespace kalvo {

const TSettings& CurrentSettings(const TShell& shell)
{
    assert(shell.Settings);
    return *shell.Settings;
}

void RememberOpenFolder(TShell& shell, const std::string& folder)
{
    assert(shell.Settings);
    if (shell.Settings->LockOrUnLock != 0)
        return;
    shell.Settings->OpenDir = folder;
    if (shell.SaveSettings)
        shell.SaveSettings();
}

} // namespace kalvo
