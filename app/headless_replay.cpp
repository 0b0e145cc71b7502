#include "app/headless_replay.h"

#include "platform/app_paths.h"

HeadlessReplay::HeadlessReplay(const StrokeRecording& recording, MainScreen* screen)
    : recording_(recording) {
    AppPaths::OverrideExecutableDir(dir_.path());
    WritePictureSize(recording);
    core_ = std::make_unique<MainWindowCore>(screen ? *screen : nullScreen_);
    core_->FormCreate({}, dir_.path());
    // The replay drives the ticks itself.
    core_->Timer1.SetEnabled(false);
    ApplySettings(*core_, recording);
}

HeadlessReplay::~HeadlessReplay() {
    core_.reset();
    AppPaths::OverrideExecutableDir(QString());
}
