// The main window's core: start-up from the settings, the close sequence, the tool panel side
// and the tick's window bookkeeping.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "app/main_core.h"
#include "platform/app_paths.h"
#include "recording_screen.h"

namespace {

class MainCoreTest : public ::testing::Test {
  protected:
    void SetUp() override { AppPaths::OverrideExecutableDir(dir.path()); }
    void TearDown() override {
        core.reset();
        AppPaths::OverrideExecutableDir(QString());
    }

    // A core started as the program starts, with the given arguments.
    MainWindowCore& Start(const QStringList& args = {}, const QString& startDir = QString()) {
        core = std::make_unique<MainWindowCore>(screen);
        core->FormCreate(args, startDir.isEmpty() ? dir.path() : startDir);
        core->StartUpFinished();
        return *core;
    }
    QString IniPath() { return TIniGT().Path(); }
    void WriteIni(const QByteArray& text) {
        QFile f(IniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray ReadIni() {
        QFile f(IniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    RecordingScreen screen;
    std::unique_ptr<MainWindowCore> core;
};

}  // namespace

TEST_F(MainCoreTest, FreshStartWithoutSettingsFile) {
    MainWindowCore& c = Start();
    EXPECT_EQ(c.PictureWidth(), 400);
    EXPECT_EQ(c.PictureHeight(), 400);
    EXPECT_EQ(c.Image1.Pixel(399, 399), clWhite);
    EXPECT_TRUE(screen.PanelLeft);
    EXPECT_EQ(screen.Caption, QStringLiteral("無題 - Kasumiro"));
    EXPECT_EQ(screen.Status[1], QStringLiteral("サイズ( 400 x 400 )"));
    EXPECT_EQ(screen.Cursor, MainScreen::crPen);
    const MenuChecks& m = c.Checks;
    EXPECT_TRUE(m.K3 && !m.K1 && !m.K2 && !m.K4);
    EXPECT_TRUE(m.M1 && m.H1 && !m.N8);
    EXPECT_TRUE(m.C2);  // density by speed is on, unlike the menu's design state
    EXPECT_TRUE(m.P1);
    EXPECT_TRUE(m.R1 && !m.R2 && !m.R3 && !m.R4 && !m.R5 && !m.R6 && !m.R7 && !m.R8);
    EXPECT_TRUE(m.R9 && m.L1);
    EXPECT_TRUE(m.S3);
    EXPECT_EQ(c.Stroke.BrushSize, 13);
    EXPECT_EQ(c.Document.JpegQuality, 75);
    EXPECT_FALSE(c.Document.Modified);
    EXPECT_TRUE(c.Image3 == c.Image1);
    EXPECT_TRUE(c.Image4 == c.Image1);
    EXPECT_TRUE(c.Timer1.Enabled());
    EXPECT_EQ(c.Timer1.Interval(), 0);
}

TEST_F(MainCoreTest, SettingsFileValuesAreApplied) {
    WriteIni(
        "[Image]\nWidth=0x20\nHeight=48\n[Form1]\npalette=0\nPos.X=5\nPos.Y=6\nPos.XSize=505\n"
        "Pos.YSize=406\nPos.Show=3\n[tavo]\nK3=0\nK2=1\nC2=0\nN8=1\nP1=0\n[show]\nR9=0\n"
        "[retachi]\nR1=0\nR7=1\n");
    MainWindowCore& c = Start();
    EXPECT_EQ(c.PictureWidth(), 32);
    EXPECT_EQ(c.PictureHeight(), 48);
    EXPECT_EQ(screen.Status[1], QStringLiteral("サイズ( 32 x 48 )"));
    EXPECT_FALSE(screen.PanelLeft);
    EXPECT_TRUE(c.Checks.K2 && !c.Checks.K3 && !c.Checks.C2 && c.Checks.N8 && !c.Checks.P1);
    EXPECT_FALSE(c.Checks.R9);
    EXPECT_TRUE(c.Checks.R7 && !c.Checks.R1);
    const WindowPlacement& p = screen.Placements[MainScreen::wiMain];
    EXPECT_EQ(p.X, 5);
    EXPECT_EQ(p.YSize, 406);
    EXPECT_EQ(p.Show, WindowPlacement::swMaximized);
}

TEST_F(MainCoreTest, ImpossiblePictureSizesFallBackToTheDefault) {
    WriteIni("[Image]\nWidth=0\nHeight=-7\n");
    EXPECT_EQ(Start().PictureWidth(), 400);
    EXPECT_EQ(core->PictureHeight(), 400);
    WriteIni("[Image]\nWidth=40000\nHeight=abc\n");
    EXPECT_EQ(Start().PictureWidth(), 400);
    EXPECT_EQ(core->PictureHeight(), 400);
    // 32767 is the largest side 16-bit coordinates address: kept; one more is not.
    WriteIni("[Image]\nWidth=32767\nHeight=32768\n");
    EXPECT_EQ(Start().PictureWidth(), 32767);
    EXPECT_EQ(core->PictureHeight(), 400);
    WriteIni("[Image]\nWidth=32768\nHeight=32767\n");
    EXPECT_EQ(Start().PictureWidth(), 400);
    EXPECT_EQ(core->PictureHeight(), 32767);
}

TEST_F(MainCoreTest, FirstStartLoupeMagnificationIsSix) {
    MainWindowCore& c = Start();
    c.ReadLoupeMagnification();
    c.ReadLoupeShowOptions();
    // B2 ... B8 stand for 2, 4, ... 14: only B4, the third, is on.
    const bool expected[7] = {false, false, true, false, false, false, false};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(c.Loupe.B[i], expected[i]) << "B" << i + 2;
    EXPECT_TRUE(c.Loupe.F1);
    EXPECT_TRUE(c.Loupe.StatusBar);
}

TEST_F(MainCoreTest, GarbageSettingsFileGivesTheDefaults) {
    QByteArray junk;
    for (int i = 0; i < 100000; ++i) junk += char((i * 131) & 0xFF);
    WriteIni(junk);
    MainWindowCore& c = Start();
    EXPECT_EQ(c.PictureWidth(), 400);
    EXPECT_TRUE(c.Checks.K3);
}

TEST_F(MainCoreTest, CloseWritesEveryKeyInOrder) {
    MainWindowCore& c = Start();
    c.Checks.K3 = false;
    c.Checks.K1 = true;
    c.Loupe.B[2] = false;
    c.Loupe.B[5] = true;
    c.Loupe.StatusBar = false;
    c.FormClose();
    EXPECT_EQ(screen.Cursor, MainScreen::crDefault);
    EXPECT_TRUE(screen.Errors.isEmpty());
    const QByteArray placement =
        "Pos.Flags=0\nPos.Show=1\nPos.MaxX=-1\nPos.MaxY=-1\nPos.X=0\nPos.Y=0\nPos.XSize=0\n"
        "Pos.YSize=0\n";
    const QByteArray expected = "[Form1]\n" + placement + "palette=1\n[Form10]\n" + placement +
                                "[Form11]\n" + placement +
                                "[Image]\nWidth=400\nHeight=400\n"
                                "[tavo]\nK1=1\nK2=0\nK3=0\nK4=0\nM1=1\nH1=1\nN8=0\nC2=1\nP1=1\n"
                                "[show]\nR9=1\nL1=1\n"
                                "[retachi]\nR1=1\nR2=0\nR3=0\nR4=0\nR5=0\nR6=0\nR7=0\nR8=0\n"
                                "[lupe]\nB2=0\nB3=0\nB4=0\nB5=0\nB6=0\nB7=1\nB8=0\n"
                                "[visible]\nbar1=0\n[option]\nlupe1=1\n";
    EXPECT_EQ(ReadIni(), expected);
}

TEST_F(MainCoreTest, ExitWritesAllButThePictureSizeAndPanelSideThenCloses) {
    MainWindowCore& c = Start();
    c.N6Click();
    EXPECT_EQ(screen.CloseRequests, 1);
    const QByteArray ini = ReadIni();
    EXPECT_FALSE(ini.contains("[Image]"));
    EXPECT_FALSE(ini.contains("palette"));
    EXPECT_TRUE(ini.contains("[option]\nlupe1=1\n"));
}

TEST_F(MainCoreTest, RefusedSettingsWriteShowsOneErrorAndStillCloses) {
    MainWindowCore& c = Start();
    c.IniGT1.SetFileName(dir.path() + "/gone/k.ini");
    c.FormClose();
    ASSERT_EQ(screen.Errors.size(), 1);
    EXPECT_TRUE(screen.Errors[0].endsWith(QStringLiteral("k.ini に書き込めません")));
    EXPECT_FALSE(c.Timer1.Enabled());
}

TEST_F(MainCoreTest, DoubleClickingThePanelTwiceReturnsItAndTheSidePersists) {
    MainWindowCore& c = Start();
    c.Panel1DblClick();
    EXPECT_FALSE(screen.PanelLeft);
    c.Panel1DblClick();
    EXPECT_TRUE(screen.PanelLeft);
    c.Panel1DblClick();
    c.FormClose();
    EXPECT_TRUE(ReadIni().contains("palette=0"));
    Start();
    EXPECT_FALSE(screen.PanelLeft);
}

TEST_F(MainCoreTest, TickClearsTheCheckOfAWindowClosedByItsCloseBox) {
    MainWindowCore& c = Start();
    screen.Visible[MainScreen::wiLayer] = false;
    c.Timer1Timer(1);
    EXPECT_FALSE(c.Checks.R9);
    EXPECT_TRUE(c.Checks.L1);
    c.R9Click();
    EXPECT_TRUE(c.Checks.R9);
    EXPECT_TRUE(screen.Visible[MainScreen::wiLayer]);
    c.Timer1Timer(1);
    EXPECT_TRUE(c.Checks.R9);
}

TEST_F(MainCoreTest, TickHidesAWindowWhoseCheckIsClear) {
    WriteIni("[show]\nL1=0\n");
    MainWindowCore& c = Start();
    EXPECT_FALSE(c.Checks.L1);
    EXPECT_TRUE(screen.Visible[MainScreen::wiLoupe]);  // shown at creation
    c.Timer1Timer(1);
    EXPECT_FALSE(screen.Visible[MainScreen::wiLoupe]);
    c.L1Click();
    EXPECT_TRUE(screen.Visible[MainScreen::wiLoupe]);
}

TEST_F(MainCoreTest, IdleTickWithNothingToDoChangesNothing) {
    MainWindowCore& c = Start();
    const int updates = screen.CheckUpdates;
    for (int i = 0; i < 1000; ++i) c.Timer1Timer(1);
    EXPECT_EQ(screen.CheckUpdates, updates);
    EXPECT_EQ(screen.Repaints, 0);
}

TEST_F(MainCoreTest, CommandLineFileIsResolvedAgainstTheStartFolder) {
    QTemporaryDir start;
    QFile f(start.path() + "/picture.bmp");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    MainWindowCore& c = Start({"picture.bmp"}, start.path());
    EXPECT_TRUE(c.Document.OpenAtFirstTick);
    EXPECT_EQ(c.Document.CommandLineFile, start.path() + "/picture.bmp");
    // The program's own folder is current now; the name still pointed at the start folder.
    EXPECT_EQ(QDir::currentPath(), QDir(dir.path()).canonicalPath());

    Start({"missing.bmp"}, start.path());
    EXPECT_FALSE(core->Document.OpenAtFirstTick);
    Start({start.path()}, start.path());  // a folder is no file to open
    EXPECT_FALSE(core->Document.OpenAtFirstTick);
}
