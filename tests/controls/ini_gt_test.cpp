// The settings store: typed reads with defaults, placements, refused writes.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "controls/ini_gt.h"
#include "platform/app_paths.h"

namespace {

class IniGTTest : public ::testing::Test {
  protected:
    void SetUp() override { AppPaths::OverrideExecutableDir(dir.path()); }
    void TearDown() override { AppPaths::OverrideExecutableDir(QString()); }

    void Write(const QByteArray& text) {
        QFile f(ini.Path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray Read() {
        QFile f(ini.Path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    TIniGT ini;  // constructed after dir, but resolves again below
};

}  // namespace

TEST_F(IniGTTest, PathIsTheExecutablesNameWithIniBesideIt) {
    ini.SetFileName(QString());
    EXPECT_TRUE(ini.Path().startsWith(dir.path() + "/"));
    EXPECT_TRUE(ini.Path().endsWith(".ini"));
    ini.SetFileName("custom.ini");
    EXPECT_EQ(ini.Path(), dir.path() + "/custom.ini");
    ini.SetFileName("/elsewhere/own.ini");
    EXPECT_EQ(ini.Path(), "/elsewhere/own.ini");
    ini.SetFileName("bare.ini");
    ini.SetDefaultDir(ddNone);
    EXPECT_EQ(ini.Path(), "bare.ini");
}

TEST_F(IniGTTest, IntegersReadHexadecimalAndFallBackOnGarbage) {
    ini.SetFileName(QString());
    Write("[Image]\nWidth=0x20\nHeight=abc\nX=0X1f\nY=0x\nZ= 17 \nBig=99999999999\n");
    EXPECT_EQ(ini.ReadInteger("Image", "Width", 400), 32);
    EXPECT_EQ(ini.ReadInteger("Image", "Height", 400), 400);
    EXPECT_EQ(ini.ReadInteger("Image", "X", 0), 31);
    EXPECT_EQ(ini.ReadInteger("Image", "Y", 5), 5);  // "0x" alone is no number
    EXPECT_EQ(ini.ReadInteger("Image", "Z", 0), 17);
    EXPECT_EQ(ini.ReadInteger("Image", "Big", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Image", "Missing", -3), -3);
}

TEST_F(IniGTTest, BooleansAreOneAndZeroAndAnyNonZeroReadsTrue) {
    ini.SetFileName(QString());
    ini.WriteBool("tavo", "K1", true);
    ini.WriteBool("tavo", "K2", false);
    EXPECT_EQ(Read(), QByteArray("[tavo]\nK1=1\nK2=0\n"));
    Write("[tavo]\nK1=5\nK2=0\nK3=junk\n");
    EXPECT_TRUE(ini.ReadBool("tavo", "K1", false));
    EXPECT_FALSE(ini.ReadBool("tavo", "K2", true));
    EXPECT_TRUE(ini.ReadBool("tavo", "K3", true));
    EXPECT_FALSE(ini.ReadBool("tavo", "K3", false));
}

TEST_F(IniGTTest, PlacementRoundTripsIncludingMaximised) {
    ini.SetFileName(QString());
    WindowPlacement p;
    p.Show = WindowPlacement::swMaximized;
    p.X = 10;
    p.Y = 20;
    p.XSize = 510;
    p.YSize = 420;
    ini.WritePlacement("Form1", "Pos", p);
    EXPECT_EQ(Read(), QByteArray("[Form1]\nPos.Flags=0\nPos.Show=3\nPos.MaxX=-1\nPos.MaxY=-1\n"
                                 "Pos.X=10\nPos.Y=20\nPos.XSize=510\nPos.YSize=420\n"));
    EXPECT_EQ(ini.ReadPlacement("Form1", "Pos", WindowPlacement()), p);
}

TEST_F(IniGTTest, MissingPlacementKeysKeepTheCurrentValues) {
    ini.SetFileName(QString());
    Write("[Form10]\nPos.X=77\n");
    WindowPlacement current;
    current.X = 1;
    current.Y = 2;
    current.XSize = 3;
    current.YSize = 4;
    const WindowPlacement read = ini.ReadPlacement("Form10", "Pos", current);
    EXPECT_EQ(read.X, 77);
    EXPECT_EQ(read.Y, 2);
    EXPECT_EQ(read.YSize, 4);
}

TEST_F(IniGTTest, RefusedWriteNamesThePath) {
    ini.SetFileName(dir.path() + "/no/such/folder/k.ini");
    try {
        ini.WriteInteger("Image", "Width", 1);
        FAIL() << "the write should have been refused";
    } catch (const UserError& e) {
        EXPECT_EQ(e.Text(), dir.path() + "/no/such/folder/k.ini に書き込めません");
    }
    EXPECT_EQ(ini.ReadInteger("Image", "Width", 400), 400);
}
