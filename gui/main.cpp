#include "core/settings/settings.h"
#include "gui/app_windows.h"
#include "gui/main_form.h"
#include "gui/qt_platform.h"
#include "gui/translations.h"

#include <QApplication>
#include <clocale>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // QApplication takes the locale from the environment; numbers in files never follow it,
    // and nothing else should either.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setApplicationName(QStringLiteral("Kalvo /3D for Windows"));
    kalvo::InstallQtTranslations(app);

    kalvo::TQtPlatform platform;
    kalvo::TApplicationWindows windows(
        platform, kalvo::SettingsPath(QCoreApplication::applicationFilePath().toStdString()));
    windows.MainForm().showMaximized();
    // Model files named on the command line open into the first preview window, as Open
    // would read them.
    QStringList files = QCoreApplication::arguments();
    files.removeFirst();
    if (!files.isEmpty())
        windows.MainForm().OpenFiles(files);
    return app.exec();
}
