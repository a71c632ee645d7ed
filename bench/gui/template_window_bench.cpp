// The map template window driven offscreen as a user works in it: per mouse move, from the event
// to the picture handed to Qt. Hover feedback over a 100 k-edge layout with the select tool; a
// pen stroke on a 4096 x 4096 template at zoom 1; a drag of 1,000 marked points of a 100 k-edge
// layout. Then, with --idle SECONDS, the window left open and untouched while the process
// measures its own processor time.
//
//   QT_QPA_PLATFORM=offscreen build/bin/kalvo3d-template-bench [benchmark options]
//   xvfb-run build/bin/kalvo3d-template-bench --idle 30

#include "bench/wavy_grid.h"
#include "core/model/preview_obj.h"
#include "core/settings/settings.h"
#include "gui/app_windows.h"
#include "gui/main_form.h"
#include "gui/object_window.h"
#include "gui/preview/model_window.h"
#include "gui/qt_platform.h"
#include "gui/template/map_template_window.h"
#include "gui/template/template_widgets.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

namespace {

using namespace kalvo;
using Clock = std::chrono::steady_clock;

// A triangulated grid of cells x cells squares over the UV square: 3 cells^2 + 2 cells edges
// (182: 99,736 edges).
std::unique_ptr<TpreviewObj> MakeGrid(int cells)
{
    auto model = MakeTriangleGrid(
        cells,
        [cells](int i, int j) {
            const double u = static_cast<double>(i) / cells;
            const double v = static_cast<double>(j) / cells;
            return VertexInput{u, v, 0.0, u, v, 0, 0, false};
        },
        [](int, int) -> TColour { return 0xFFFFFF; });
    model->Name = "Grid";
    return model;
}

constexpr int kCells = 182;

class TBenchApp
{
public:
    TBenchApp() : windows_(platform_, dir_.filePath(QStringLiteral("kalvo3d.ini")).toStdString())
    {
        windows_.MainForm().resize(1280, 900);
        windows_.MainForm().show();
        QCoreApplication::processEvents();
        preview_ = windows_.MainForm().PreviewWindows().first();
    }

    // A template window of a fresh grid model at width x height, shown at zoom 1 in a window of
    // 800 x 600.
    TfrmMapTemplate& Template(int width, int height)
    {
        TfrmObj& objects = preview_->ObjectWindow();
        TpreviewObj& model = *objects.AddEntry(MakeGrid(kCells)).Model;
        TfrmMapTemplate* window =
            OpenMapTemplateWindow(windows_.Shell(), preview_, model, width, height);
        objects.SetTemplateWindow(model, window);
        window->parentWidget()->resize(800, 600);
        window->SetZoom(1.0);
        window->ResizePaintArea();
        QCoreApplication::processEvents();
        return *window;
    }

    // A mouse event at point at of the window, as the system sends it to the paint box.
    static void Mouse(TfrmMapTemplate& window, QEvent::Type type, QPoint at, Qt::MouseButtons held)
    {
        QWidget* box = window.pbxTemplate;
        const QPoint local = box->mapFrom(&window, at);
        QMouseEvent event(type, local, box->mapToGlobal(local),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(box, &event);
    }

private:
    QTemporaryDir dir_;
    TQtPlatform platform_;
    TApplicationWindows windows_;
    TfrmModel* preview_ = nullptr;
};

TBenchApp* app = nullptr;

// A point inside the paint box, in the window's coordinates, moving in a slow diagonal sweep.
QPoint Sweep(TfrmMapTemplate& window, int step)
{
    const QRect box(window.pbxTemplate->mapTo(&window, QPoint(0, 0)), window.pbxTemplate->size());
    const int x = box.left() + 20 + (step * 7) % std::max(box.width() - 40, 1);
    const int y = box.top() + 20 + (step * 3) % std::max(box.height() - 40, 1);
    return QPoint(x, y);
}

// Hover with the select tool: the picks and the cursor, no picture.
void BM_HoverMove(benchmark::State& state)
{
    TfrmMapTemplate& window = app->Template(640, 480);
    window.btnArrow->click();
    int step = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        TBenchApp::Mouse(window, QEvent::MouseMove, Sweep(window, step++), Qt::NoButton);
        QCoreApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    state.counters["edges"] = window.Model()->EdgeCount();
    window.parentWidget()->close();
}

// One pen stroke on a 4096 x 4096 template at zoom 1: each move draws a segment and repaints
// the part of the box it touched.
void BM_PenStrokeMove(benchmark::State& state)
{
    TfrmMapTemplate& window = app->Template(4096, 4096);
    window.TextureShown = true; // no discard question
    window.PenWidth = static_cast<int>(state.range(0));
    QPoint at = Sweep(window, 0);
    TBenchApp::Mouse(window, QEvent::MouseButtonPress, at, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        at = Sweep(window, ++step);
        const Clock::time_point start = Clock::now();
        TBenchApp::Mouse(window, QEvent::MouseMove, at, Qt::LeftButton);
        QCoreApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    TBenchApp::Mouse(window, QEvent::MouseButtonRelease, at, Qt::NoButton);
    state.counters["box_width"] = window.pbxTemplate->width();
    state.counters["box_height"] = window.pbxTemplate->height();
    window.parentWidget()->close();
}

// A drag of 1,000 marked points: each move moves them and repaints the box.
void BM_DragMarkedMove(benchmark::State& state)
{
    TfrmMapTemplate& window = app->Template(640, 480);
    window.btnArrow->click();
    TpreviewObj& model = *window.Model();
    const int marked = static_cast<int>(state.range(0));
    for (int i = 0; i < marked; ++i)
        model.Vertices[(static_cast<std::size_t>(i) * 7919) % model.Vertices.size()].Mark = true;
    // Press on a marked point.
    const int pressed = kCells / 2 * (kCells + 1) + kCells / 2; // a vertex mid-layout
    model.Vertices[pressed].Mark = true;
    int x = 0, y = 0;
    window.Mapping().ScreenPosition(model.Vertices[pressed].u, model.Vertices[pressed].v,
                                    window.Mapping().Zoom, x, y);
    QPoint at = window.pbxTemplate->mapTo(&window, QPoint(x, y) - window.pbxTemplate->Origin());
    TBenchApp::Mouse(window, QEvent::MouseMove, at, Qt::NoButton);
    TBenchApp::Mouse(window, QEvent::MouseButtonPress, at, Qt::LeftButton);
    int direction = 1;
    int step = 0;
    for (auto _ : state) {
        if (++step % 50 == 0)
            direction = -direction;
        at += QPoint(direction, direction);
        const Clock::time_point start = Clock::now();
        TBenchApp::Mouse(window, QEvent::MouseMove, at, Qt::LeftButton);
        QCoreApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    TBenchApp::Mouse(window, QEvent::MouseButtonRelease, at, Qt::NoButton);
    int count = 0;
    for (const TVecPointC& vertex : model.Vertices)
        count += vertex.Mark ? 1 : 0;
    state.counters["marked"] = count;
    state.counters["edges"] = model.EdgeCount();
    window.parentWidget()->close();
}

BENCHMARK(BM_HoverMove)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PenStrokeMove)->Arg(1)->Arg(16)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragMarkedMove)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond);

// Processor time of this process in seconds (user + system).
double ProcessorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

// The window open with a model and nothing happening, for the given seconds.
int RunIdle(int seconds)
{
    TfrmMapTemplate& window = app->Template(640, 480);
    window.btnArrow->click();
    const double before = ProcessorSeconds();
    QElapsedTimer wall;
    wall.start();
    QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
    QApplication::exec();
    const double used = ProcessorSeconds() - before;
    const double elapsed = wall.elapsed() / 1000.0;
    std::printf("idle template window: %.3f s of processor time in %.1f s = %.2f %% of one core\n",
                used, elapsed, 100.0 * used / elapsed);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    TBenchApp bench;
    app = &bench;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--idle") == 0)
            return RunIdle(std::atoi(argv[i + 1]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    app = nullptr;
    return 0;
}
