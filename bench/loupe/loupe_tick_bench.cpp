// What the loupe adds to a drawing tick. The main window and its loupe window run offscreen
// with the brush as a first start sets it; a stroke is held down and its tip walks round a
// square, one pointer move and one tick at a time, and the window system repaints both windows.
// The setups tick in turn, so that a busy spell on the shared machine falls on all alike:
// the loupe hidden, shown, and shown and following; and, for comparison, following while every
// tick copies the whole picture into the loupe. The figures that matter are the ratios to the
// hidden loupe, on a 400 x 400 and on a 4000 x 3000 picture.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QTemporaryDir>

#include "app/main_window.h"
#include "loupe/loupe_window.h"
#include "loupe/lupe.h"
#include "platform/app_paths.h"
#include "platform/shift_state.h"

namespace {

// The tip walks a square of 96 pixels around the picture's middle, 3 pixels a tick.
QPoint TipAt(const MainWindowCore& core, int step) {
    const int side = 96, s = step % (4 * side / 3) * 3;
    const int left = core.PictureWidth() / 2 - side / 2, top = core.PictureHeight() / 2 - side / 2;
    if (s < side) return {left + s, top};
    if (s < 2 * side) return {left + side, top + s - side};
    if (s < 3 * side) return {left + 3 * side - s, top + side};
    return {left, top + 4 * side - s};
}

// The main window as it would be if every drawing tick copied the whole picture into the
// loupe: the figure the shared picture is measured against.
class CopyingForm : public TForm1 {
  public:
    using TForm1::TForm1;
    TForm11* loupe = nullptr;
    void CopyToLoupe(const Bitmap& picture) override { loupe->Lupe1->SetBitmap(picture); }
};

// A main window with its loupe window on a picture of the given size.
struct Setup {
    Setup(int width, int height, bool shown, bool following, bool copying = false) {
        AppPaths::OverrideExecutableDir(dir.path());
        TIniGT ini;
        ini.WriteInteger(QStringLiteral("Image"), QStringLiteral("Width"), width);
        ini.WriteInteger(QStringLiteral("Image"), QStringLiteral("Height"), height);
        auto copier = copying ? std::make_unique<CopyingForm>(QStringList(), dir.path()) : nullptr;
        form = copier ? std::move(copier) : std::make_unique<TForm1>(QStringList(), dir.path());
        loupe = new TForm11(form.get(), form->Core(), &form->Core().IniGT1);
        if (copying) static_cast<CopyingForm*>(form.get())->loupe = loupe;
        form->SetToolWindows(nullptr, loupe);
        MainWindowCore& core = form->Core();
        core.Checks.L1 = shown;
        form->show();
        if (shown) {
            loupe->show();
            form->CopyToLoupe(core.Image1);
        }
        // After the showing, which reads the option from the settings.
        core.Loupe.F1 = following;
        QApplication::processEvents();
        const QPoint tip = TipAt(core, 0);
        core.Image1MouseDown(mbLeft, ssLeft, tip.x(), tip.y());
        core.Timer1Timer(1);
        AppPaths::OverrideExecutableDir(QString());
    }

    QTemporaryDir dir;
    std::unique_ptr<TForm1> form;
    TForm11* loupe = nullptr;
    int step = 0;
};

// One drawing tick of a stroke held down: a pointer move, the main window's tick (which draws,
// works the ink and lets the loupe follow), and the window system's repaints.
void DrawingTick(Setup& s) {
    MainWindowCore& core = s.form->Core();
    const QPoint tip = TipAt(core, ++s.step);
    core.Image1MouseMove(ssLeft, tip.x(), tip.y());
    core.Timer1Timer(1);
    QApplication::processEvents();
}

// Processor time of the whole process, the painter's worker threads included: on a shared
// machine it is not stretched by other people's work as the wall clock is.
double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

struct Kind {
    const char* name;
    bool shown, following, copying;
};

// Ticks the setups in turn, each taking its turn at going first so that none gains from the
// others' caches, and reports each one's ticks per second and its ratio to the first.
void TickInTurn(benchmark::State& state, const std::vector<Kind>& kinds) {
    const int width = int(state.range(0)), height = int(state.range(1));
    std::vector<std::unique_ptr<Setup>> setups;
    for (const Kind& k : kinds)
        setups.push_back(std::make_unique<Setup>(width, height, k.shown, k.following, k.copying));
    const std::size_t n = setups.size();
    std::vector<double> times(n);
    std::size_t first = 0;
    for (auto _ : state) {
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t i = (first + k) % n;
            const double t0 = CpuSeconds();
            DrawingTick(*setups[i]);
            times[i] += CpuSeconds() - t0;
        }
        first = (first + 1) % n;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const std::string name = kinds[i].name;
        state.counters[name + "_ticks/s"] = double(state.iterations()) / times[i];
        if (i > 0) state.counters[name + "/" + kinds[0].name] = times[i] / times[0];
    }
}

void BM_DrawingTick(benchmark::State& state) {
    TickInTurn(state, {{"hidden", false, false, false},
                       {"shown", true, false, false},
                       {"following", true, true, false}});
}

// The same stroke if every drawing tick copied the whole picture into the loupe; apart, so
// that its copies do not cool the caches of the setups above.
void BM_DrawingTickCopyingWholePicture(benchmark::State& state) {
    TickInTurn(state, {{"hidden", false, false, false}, {"copying", true, true, true}});
}

BENCHMARK(BM_DrawingTick)
    ->Args({400, 400})
    ->Args({4000, 3000})
    ->MinTime(1.0)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_DrawingTickCopyingWholePicture)->Args({400, 400})->Args({4000, 3000})->MinTime(0.5);

}  // namespace
