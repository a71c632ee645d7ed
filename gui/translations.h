#pragma once

class QCoreApplication;

namespace kalvo {

// Puts Qt's own dialog texts (standard buttons, file and colour dialogs) into Japanese, to match
// the program's texts. Call once after the application object exists; false when Qt's Japanese
// translation is not installed (the dialogs then stay in English).
bool InstallQtTranslations(QCoreApplication& app);

} // namespace kalvo
