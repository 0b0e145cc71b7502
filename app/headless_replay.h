#pragma once
// A main window core started headless for a recorded stroke: its settings live in a private
// folder, the picture has the recording's size, and the seed and brush settings are applied.
// Used by the tests, the benchmarks and the command-line replay.
#include <QTemporaryDir>
#include <memory>

#include "app/main_core.h"
#include "app/null_screen.h"
#include "app/stroke_recording.h"

class HeadlessReplay {
  public:
    // screen may be null: nothing is shown.
    explicit HeadlessReplay(const StrokeRecording& recording, MainScreen* screen = nullptr);
    ~HeadlessReplay();
    HeadlessReplay(const HeadlessReplay&) = delete;
    HeadlessReplay& operator=(const HeadlessReplay&) = delete;

    MainWindowCore& Core() { return *core_; }
    const Bitmap& CurrentLayer() { return core_->Compositor.CurrentLayerImage(); }
    ReplayResult Run(bool rest = false) { return ReplayEvents(*core_, recording_, rest); }

  private:
    const StrokeRecording& recording_;
    QTemporaryDir dir_;
    NullScreen nullScreen_;
    std::unique_ptr<MainWindowCore> core_;
};
