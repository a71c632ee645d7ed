#pragma once

#include <QLocale>

class QCoreApplication;

namespace kalvo {

// The languages the desktop program shows its texts in. Its own texts are written in Japanese;
// English comes from the translation file translations/kalvo3d_en.qm.
enum class TLanguage { Japanese, English };

// The language the Language setting stands for: 0 Japanese, 1 English, 2 the system's, which
// is Japanese when the system's first interface language is and English otherwise (the only
// other translation there is). An unknown value gives Japanese.
TLanguage LanguageOf(int setting, const QLocale& system = QLocale::system());

// Installs the translators of language, replacing those of an earlier call, so that windows
// created afterwards show their texts in it: Japanese adds Qt's own Japanese texts (standard
// buttons, file and colour dialogs); English adds the program's English translation (Qt's own
// texts are English already). False when a translation file is missing: the texts concerned
// then stay as written. The translators belong to app.
bool InstallTranslations(QCoreApplication& app, TLanguage language);

} // namespace kalvo
