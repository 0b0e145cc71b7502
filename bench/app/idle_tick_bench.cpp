// The cost of a timer tick that has nothing to do, against one empty pass of the event loop
// in the same run: the program polls on every idle pass, so an empty tick must stay a small
// fraction of the pass itself.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "app/main_core.h"
#include "platform/app_paths.h"

namespace {

class QuietScreen : public MainScreen {
  public:
    void SetCaption(const QString&) override {}
    void SetStatusText(int, const QString&) override {}
    void SetPaintCursor(int) override {}
    void Beep() override {}
    void ErrorBox(const QString&) override {}
    void PaintSurfaceResized(int, int) override {}
    void RepaintPaintSurface(const QRect&) override {}
    void CopyToLoupe(const Bitmap&) override {}
    void SetToolPanelLeft(bool) override {}
    void MenuChecksChanged() override {}
    WindowPlacement Placement(WindowId) override { return {}; }
    void SetPlacement(WindowId, const WindowPlacement&) override {}
    bool WindowVisible(WindowId) override { return true; }
    void SetWindowVisible(WindowId, bool) override {}
    void CloseMainWindow() override {}
};

struct Fixture {
    Fixture() : core(screen) {
        AppPaths::OverrideExecutableDir(dir.path());
        core.FormCreate({}, dir.path());
        core.Timer1.SetEnabled(false);
    }
    QTemporaryDir dir;
    QuietScreen screen;
    MainWindowCore core;
};

void BM_EmptyEventLoopPass(benchmark::State& state) {
    for (auto _ : state) QCoreApplication::processEvents();
}
BENCHMARK(BM_EmptyEventLoopPass);

void BM_IdleTickWithNothingToDo(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) f.core.Timer1Timer(1);
    benchmark::DoNotOptimize(f.core.TickCount);
}
BENCHMARK(BM_IdleTickWithNothingToDo);

void BM_IdlePassThroughTheTimer(benchmark::State& state) {
    Fixture f;
    f.core.Timer1.SetActiveOnly(false);
    f.core.Timer1.SetEnabled(true);
    for (auto _ : state) f.core.Timer1.IdlePass();
    f.core.Timer1.SetEnabled(false);
}
BENCHMARK(BM_IdlePassThroughTheTimer);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
