#include "gui/translations.h"

#include "gui/shipped_files.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace kalvo {

namespace {

// Marks the translators this file installed, so that a later call can take them out again.
const char* const kTranslatorName = "kalvo3d";

bool Install(QCoreApplication& app, const QString& name, const QString& folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder))
        return false;
    translator->setObjectName(QString::fromLatin1(kTranslatorName));
    translator->setParent(&app); // the application owns it from here on
    return QCoreApplication::installTranslator(translator.release());
}

} // namespace

TLanguage LanguageOf(int setting, const QLocale& system)
{
    switch (setting) {
    case 1:
        return TLanguage::English;
    case 2: {
        const QStringList languages = system.uiLanguages();
        const QString first = languages.isEmpty() ? system.name() : languages.front();
        return first.startsWith(QStringLiteral("ja")) ? TLanguage::Japanese : TLanguage::English;
    }
    default:
        return TLanguage::Japanese;
    }
}

bool InstallTranslations(QCoreApplication& app, TLanguage language)
{
    for (QTranslator* old : app.findChildren<QTranslator*>(QString::fromLatin1(kTranslatorName),
                                                           Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
    if (language == TLanguage::Japanese)
        return Install(app, QStringLiteral("qtbase_ja"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    const QFileInfo file(
        ShippedFilePath(QStringLiteral("translations/kalvo3d_en.qm"), TLookFirst::ProgramFolder));
    return Install(app, file.fileName(), file.path());
}

} // namespace kalvo
