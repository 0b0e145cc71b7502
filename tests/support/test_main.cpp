// Test entry: a Qt application on the offscreen platform, then every test.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>

#ifdef KASUMIRO_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TestApplication app(argc, argv);
    // Recovery copies and their locks go to a folder of the run's own, never the user's.
    QTemporaryDir state;
    setenv("XDG_STATE_HOME", state.path().toLocal8Bit().constData(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
