// Times the desktop program's Open path on model files, offscreen, as a user opening them
// would meet it: the windows of a run, the files read into the first preview window, and the
// first paint of its panes.
//
//   QT_QPA_PLATFORM=offscreen kalvo3d-open-bench FILE... (each opened in turn, fresh windows)

#include "gui/app_windows.h"
#include "gui/main_form.h"
#include "gui/object_window.h"
#include "gui/preview/model_window.h"
#include "gui/qt_platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>
#include <ctime>

namespace {

// Processor time of this process in milliseconds: on a busy machine it shows the work itself.
long long CpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        std::fprintf(stderr, "usage: kalvo3d-open-bench FILE...\n");
        return 2;
    }
    QTemporaryDir settingsFolder;
    kalvo::TQtPlatform platform;
    for (int i = 1; i < argc; ++i) {
        kalvo::TApplicationWindows windows(
            platform, settingsFolder.filePath(QStringLiteral("kalvo3d.ini")).toStdString());
        windows.MainForm().show();
        QApplication::processEvents();

        QElapsedTimer clock;
        clock.start();
        const long long cpuStart = CpuMilliseconds();
        windows.MainForm().OpenFiles({QString::fromLocal8Bit(argv[i])});
        const qint64 readMs = clock.elapsed();
        const long long readCpuMs = CpuMilliseconds() - cpuStart;
        QApplication::processEvents(); // the first paint of the panes
        const qint64 shownMs = clock.elapsed();

        kalvo::TfrmModel* preview = windows.MainForm().ActivePreview();
        const int models = preview ? preview->ObjectWindow().ItemCount() : 0;
        std::printf("%s: %d model(s), read %lld ms (cpu %lld ms), read and painted %lld ms\n",
                    argv[i], models, static_cast<long long>(readMs), readCpuMs,
                    static_cast<long long>(shownMs));
    }
    return 0;
}
