// The cost of a timer tick that has nothing to do, against one empty pass of the event loop
// in the same run: the program polls on every idle pass, so an empty tick must stay a small
// fraction of the pass itself.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "app/main_core.h"
#include "app/null_screen.h"
#include "platform/app_paths.h"

namespace {

struct Fixture {
    Fixture() : core(screen) {
        AppPaths::OverrideExecutableDir(dir.path());
        core.FormCreate({}, dir.path());
        core.Timer1.SetEnabled(false);
    }
    QTemporaryDir dir;
    NullScreen screen;
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
