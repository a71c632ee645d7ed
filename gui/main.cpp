#include "core/settings/settings.h"
#include "gui/app_windows.h"
#include "gui/command_guard.h"
#include "gui/main_form.h"
#include "gui/qt_platform.h"
#include "gui/translations.h"
#include "kalvo_version.h"

#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    // Answered before the application object exists: that needs a display, these do not.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("kalvo3d %s\n", kalvo::kProgramVersion);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("Usage: kalvo3d [FILE...]\n\n"
                        "Opens the DXF, ROK and RDS files named in a preview window.\n"
                        "'kalvo3d --version' prints the version.\n");
            return 0;
        }
    }
    kalvo::TGuardedApplication app(argc, argv);
    // QApplication takes the locale from the environment; numbers in files never follow it,
    // and nothing else should either.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setApplicationName(QStringLiteral("Kalvo /3D for Windows"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kalvo::kProgramVersion));
    // Lets the desktop match the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kalvo3d.Kalvo3D"));
    kalvo::InstallQtTranslations(app);

    kalvo::TQtPlatform platform;
    app.Platform = &platform;
    kalvo::TApplicationWindows windows(
        platform, kalvo::SettingsPath(QCoreApplication::applicationFilePath().toStdString()));
    windows.MainForm().showMaximized();
    // Model files named on the command line open into the first preview window, as Open
    // would read them.
    QStringList files = QCoreApplication::arguments();
    files.removeFirst();
    if (!files.isEmpty())
        windows.MainForm().OpenFiles(files);
    const int status = app.exec();
    app.Platform = nullptr;
    return status;
}
