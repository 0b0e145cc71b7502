#pragma once
// The main window's tests run in a folder of their own, with error boxes recorded instead of
// shown.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "controls/error_box.h"
#include "platform/app_paths.h"

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        AppPaths::OverrideExecutableDir(dir.path());
        SetErrorBoxRecording(true);
    }
    void TearDown() override {
        SetErrorBoxRecording(false);
        AppPaths::OverrideExecutableDir(QString());
    }

    QTemporaryDir dir;
};
