#pragma once
// A started main window core over a recording screen, in a folder of its own, for the tests
// that drive the core's handlers.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "app/main_core.h"
#include "platform/app_paths.h"
#include "recording_screen.h"

class CoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        AppPaths::OverrideExecutableDir(dir.path());
        core = std::make_unique<MainWindowCore>(screen);
        core->FormCreate({}, dir.path());
    }
    void TearDown() override {
        core.reset();
        AppPaths::OverrideExecutableDir(QString());
    }
    Bitmap& Layer(int index) { return core->LayerImages()[std::size_t(index)]; }

    QTemporaryDir dir;
    RecordingScreen screen;
    std::unique_ptr<MainWindowCore> core;
};
