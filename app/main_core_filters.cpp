// The main window's filter commands: the frame every filter shares around the pixel work.
#include "app/main_core.h"
#include "platform/runtime_errors.h"
#include "tools/layer_filter.h"

namespace {

// The main window's progress bar and message pump as the running filter sees them.
class ScreenProgress : public FilterProgress {
  public:
    explicit ScreenProgress(MainScreen& screen) : screen_(screen) {}
    void SetRange(int minimum, int maximum) override { screen_.SetProgressRange(minimum, maximum); }
    void SetPosition(int position) override { screen_.SetProgressPosition(position); }
    void Pump() override { screen_.ProcessMessages(); }

  private:
    MainScreen& screen_;
};

}  // namespace

void MainWindowCore::I1Click() {
    RunFilter(fkSoft);
}
void MainWindowCore::I2Click() {
    RunFilter(fkInvert);
}
void MainWindowCore::I3Click() {
    RunFilter(fkContrast);
}
void MainWindowCore::I4Click() {
    RunFilter(fkGammaPlus);
}
void MainWindowCore::I5Click() {
    RunFilter(fkGammaMinus);
}
void MainWindowCore::I6Click() {
    RunFilter(fkColourCorrection);
}
void MainWindowCore::I7Click() {
    RunFilter(fkValueExtraction);
}
void MainWindowCore::I8Click() {
    RunFilter(fkCustom);
}

bool MainWindowCore::ReadFilterDialog(FilterJob& job) {
    switch (job.Kind) {
        case fkContrast:
            return screen_.ContrastDialog(job.ContrastStrength);
        case fkColourCorrection:
            return screen_.ColourCorrectionDialog(job.Offsets);
        case fkValueExtraction:
            return screen_.LevelDialog(job.Level);
        case fkCustom: {
            CustomFilterText text;
            if (!screen_.CustomFilterDialog(text)) return false;
            try {
                job.Custom = ReadCustomFilter(text);
            } catch (const UserError& e) {
                screen_.ErrorBox(e.Text());
                return false;
            }
            return true;
        }
        default:
            return true;
    }
}

void MainWindowCore::RunFilter(FilterKind kind) {
    // One filter at a time, and nothing on a hidden layer.
    if (filterRunning_ || !Layers.IsShown(Layers.CurrentLayerIndex())) return;
    FilterJob job;
    job.Kind = kind;
    // The dialog comes before the snapshot, so that a filter given up there (a value that is
    // no number, a dialog closed without its button) leaves the undo step before it intact.
    if (!ReadFilterDialog(job)) return;

    const long long snapshots = beforeSnapshots_;
    filterRunning_ = true;
    const bool ticking = Timer1.Enabled();
    Timer1.SetEnabled(false);
    bool outOfMemory = false;
    try {
        TakeBeforeSnapshot();
        Document.Modified = true;
        ScreenProgress progress(screen_);
        ApplyLayerFilter(Compositor.CurrentLayerImage(), job, progress, FilterPumpIntervalMs);
        screen_.SetProgressPosition(0);
        Compositor.CompositeRefresh();
        TakeAfterSnapshot();
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    } catch (const OutOfMemoryError&) {
        outOfMemory = true;
    }
    Timer1.SetEnabled(ticking);
    filterRunning_ = false;
    // The window is the user's again before the message shows; a close asked for meanwhile
    // still comes after it.
    if (outOfMemory) RecoverFromOutOfMemory(snapshots);

    if (closeAfterFilter_) {
        closeAfterFilter_ = false;
        screen_.CloseMainWindow();
    }
}
