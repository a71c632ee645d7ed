// The preview window driven offscreen as a user drags it: time per processed mouse move of an
// orbit drag, from the event to the picture handed to Qt, for a 100 k- and a 1 M-triangle grid
// in a 1024 x 768 perspective pane; the core's frame time for the same pictures beside it; and
// the progressive fill of the 1 M grid (first slice on screen, longest slice).
//
//   QT_QPA_PLATFORM=offscreen build/bin/kalvo3d-gui-bench [benchmark options]

#include "bench/wavy_grid.h"
#include "core/model/model_list.h"
#include "core/model/preview_obj.h"
#include "core/preview/draw_settings.h"
#include "core/settings/settings.h"
#include "gui/app_windows.h"
#include "gui/object_window.h"
#include "gui/preview/model_window.h"
#include "gui/qt_platform.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QToolButton>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>

namespace {

using namespace kalvo;
using Clock = std::chrono::steady_clock;

constexpr int kPaneWidth = 1024;
constexpr int kPaneHeight = 768;

// The shading benchmarks' grid, named (224: 100,352 triangles; 708: 1,002,528).
std::unique_ptr<TpreviewObj> MakeGrid(int cells)
{
    auto model = MakeWavyGrid(cells);
    model->Name = "Grid";
    return model;
}

// The program's windows with one preview window per grid size, each showing its grid at the
// view the benchmarks of the core use.
class TBenchApp
{
public:
    TBenchApp() : windows_(platform_, dir_.filePath(QStringLiteral("kalvo3d.ini")).toStdString()) {}

    TSettings& Settings() { return *windows_.Shell().Settings; }

    TfrmModel& Window(int cells)
    {
        std::unique_ptr<TfrmModel>& window = previews_[cells];
        if (!window) {
            window = std::make_unique<TfrmModel>(windows_.Shell());
            window->ObjectWindow().AddEntry(MakeGrid(cells));
            window->resize(kPaneWidth + 8, kPaneHeight + 8 + 24);
            window->show();
            QCoreApplication::processEvents();
        }
        TViewState& view = window->ViewState();
        view.ViewAngleH = 20;
        view.ViewAngleV = 35;
        view.ViewDistance = 4.0;
        ApplyView(view, window->Camera());
        return *window;
    }

    // Sends a mouse event as the system would, to the perspective paint box.
    static void Mouse(TfrmModel& window, QEvent::Type type, QPoint at, Qt::MouseButtons held)
    {
        QMouseEvent event(type, at, window.pbxModel->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(window.pbxModel, &event);
    }

private:
    QTemporaryDir dir_;
    TQtPlatform platform_;
    TApplicationWindows windows_;
    std::map<int, std::unique_ptr<TfrmModel>> previews_;
};

TBenchApp* app = nullptr;

QToolButton* ModeButton(TfrmModel& window, int mode)
{
    QToolButton* const buttons[4] = {window.btnFrame, window.btnZFlame, window.btnZFlat,
                                     window.btnZFlat2};
    return buttons[mode];
}

// One orbit drag: every iteration is one mouse move of 3 pixels and the paint it causes.
void BM_WindowOrbitDrag(benchmark::State& state)
{
    const int cells = static_cast<int>(state.range(0));
    const int mode = static_cast<int>(state.range(1));
    TSettings& settings = app->Settings();
    settings.FrameMode = settings.FlatFrameMode = settings.FlatMode = 1; // batch
    // Mode 0 drags as a wireframe; the others keep their mode while dragging.
    settings.ViewMoveMode = mode == 0 ? 0 : 2;
    TfrmModel& window = app->Window(cells);
    window.btnTexture->setChecked(false);
    ModeButton(window, mode)->click();
    window.pbxModel->repaint();

    QPoint at(kPaneWidth / 2, kPaneHeight / 2);
    TBenchApp::Mouse(window, QEvent::MouseButtonPress, at, Qt::LeftButton);
    int step = 3;
    for (auto _ : state) {
        at.rx() += step;
        if (at.x() > kPaneWidth - 100 || at.x() < 100)
            step = -step;
        const Clock::time_point start = Clock::now();
        TBenchApp::Mouse(window, QEvent::MouseMove, at, Qt::LeftButton);
        window.pbxModel->repaint();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    TBenchApp::Mouse(window, QEvent::MouseButtonRelease, at, Qt::NoButton);
    state.counters["polygons"] = static_cast<double>(cells) * cells * 2;
    state.counters["pane_width"] = window.pbxModel->width();
    state.counters["pane_height"] = window.pbxModel->height();
}

// The core alone drawing the same picture into a scene of its own.
void BM_CoreFrame(benchmark::State& state)
{
    const int cells = static_cast<int>(state.range(0));
    const int mode = static_cast<int>(state.range(1));
    TfrmModel& window = app->Window(cells);
    TPreviewScene scene;
    scene.Models = &window.ObjectWindow().Models();
    scene.Settings = DrawSettingsFrom(app->Settings());
    scene.Settings.FrameMode = scene.Settings.FlatFrameMode = scene.Settings.FlatMode = 1;
    scene.TexturePreview = false;
    scene.DisplayMode = mode;
    scene.View = window.ViewState();
    scene.Layout(kPaneWidth + 8, kPaneHeight + 8);
    ApplyView(scene.View, scene.Camera);
    for (auto _ : state) {
        scene.View.ViewAngleH = (scene.View.ViewAngleH + 3) % 360;
        ApplyView(scene.View, scene.Camera);
        scene.RedrawView(0, mode);
        benchmark::DoNotOptimize(scene.Pane(0).Pixels());
    }
}

void DragArguments(benchmark::internal::Benchmark* bench)
{
    bench->ArgNames({"cells", "mode"});
    bench->Args({224, 0})->Args({708, 0});
    for (const int mode : {1, 2, 3})
        bench->Args({224, mode});
}

BENCHMARK(BM_WindowOrbitDrag)->Apply(DragArguments)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CoreFrame)->Apply(DragArguments)->Unit(benchmark::kMillisecond);

// A direct hidden-surface picture of the 1 M grid filled in on the window's timer: when the
// first filled slice reaches the screen after the redraw began, and the longest time between
// two pictures while it fills.
void ReportProgressiveFill()
{
    TSettings& settings = app->Settings();
    settings.FrameMode = settings.FlatFrameMode = settings.FlatMode = 0; // direct
    TfrmModel& window = app->Window(708);
    window.btnTexture->setChecked(false);
    std::vector<Clock::time_point> shown;
    const auto paint = window.pbxModel->OnPaint;
    window.pbxModel->OnPaint = [&] {
        const TCanvas* canvas = paint();
        shown.push_back(Clock::now());
        return canvas;
    };
    for (int run = 0; run < 3; ++run) {
        shown.clear();
        const Clock::time_point start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        window.btnZFlat2->click();
        window.pbxModel->repaint(); // background, overlays, projection and depth order
        const double redrawCpu = 1000.0 * (std::clock() - cpuStart) / CLOCKS_PER_SEC;
        while (window.FillPending())
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        const auto ms = [](Clock::duration d) {
            return std::chrono::duration<double, std::milli>(d).count();
        };
        double longest = 0.0;
        for (std::size_t i = 1; i < shown.size(); ++i)
            longest = std::max(longest, ms(shown[i] - shown[i - 1]));
        std::printf("progressive fill, 1 M triangles, mode 3 direct: redraw %.1f ms (CPU %.1f "
                    "ms), first slice on screen %.1f ms, longest between pictures %.1f ms, %zu "
                    "pictures, whole %.1f ms\n",
                    ms(shown.front() - start), redrawCpu,
                    shown.size() > 1 ? ms(shown[1] - start) : 0.0, longest, shown.size(),
                    ms(shown.back() - start));
    }
    window.pbxModel->OnPaint = paint;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    TBenchApp bench;
    app = &bench;
    benchmark::Initialize(&argc, argv);
    ReportProgressiveFill();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    app = nullptr;
    return 0;
}
