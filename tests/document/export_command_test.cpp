// The command-line export: composed pictures out in each type, and failures that leave no file.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "document/export_command.h"
#include "document/picture_files.h"
#include "support/small_disk.h"

namespace {

constexpr TColor kRed = RgbColour(255, 0, 0);
constexpr TColor kBlue = RgbColour(0, 0, 255);

class ExportCommandTest : public ::testing::Test {
  protected:
    QString Path(const char* name) { return dir.filePath(QLatin1String(name)); }
    // Two layers: a blue square at the bottom, above it a red square keyed on white that
    // overlaps it, and a hidden third layer that would cover everything in black.
    void WriteLayers() {
        Bitmap bottom(8, 8), top(8, 8), hidden(8, 8);
        for (int y = 1; y < 5; ++y)
            for (int x = 1; x < 5; ++x) bottom.SetPixel(x, y, kBlue), top.SetPixel(x + 2, y, kRed);
        hidden.Fill(clBlack);
        SaveLayeredFile(Path("in.tav"), 8, 8,
                        {{clWhite, kShownMark, QStringLiteral("a"), &bottom},
                         {clWhite, kShownMark, QStringLiteral("b"), &top},
                         {clWhite, kHiddenMark, QStringLiteral("c"), &hidden}});
    }
    int Run(const QStringList& args) { return RunExportCommand(args); }

    QTemporaryDir dir;
};

TEST_F(ExportCommandTest, WritesTheComposedPictureByTheOutputsExtension) {
    WriteLayers();
    ASSERT_EQ(Run({Path("out.bmp"), Path("in.tav")}), 0);
    const LoadedFile bmp = LoadFile(Path("out.bmp"), FileType::Bmp);
    const struct {
        int x, y;
        TColor colour;
    } pixels[] = {{1, 1, kBlue}, {3, 2, kRed}, {6, 4, kRed}, {7, 7, clWhite}};
    for (const auto& p : pixels) EXPECT_EQ(bmp.Picture.Pixel(p.x, p.y), p.colour) << p.x;

    ASSERT_EQ(Run({Path("one.tav"), Path("out.bmp")}), 0);
    const LoadedFile tav = LoadFile(Path("one.tav"), FileType::Layered);
    ASSERT_EQ(tav.Document.Layers.size(), 1u);
    EXPECT_EQ(tav.Document.Layers[0].Name, QStringLiteral("新規レイヤ1"));
    EXPECT_EQ(tav.Document.Layers[0].Picture.Pixel(3, 2), kRed);

    // PNG out and in again.
    ASSERT_EQ(Run({Path("out.png"), Path("in.tav")}), 0);
    ASSERT_EQ(Run({Path("again.bmp"), Path("out.png")}), 0);
    EXPECT_TRUE(LoadFile(Path("again.bmp"), FileType::Bmp).Picture == bmp.Picture);

    ASSERT_EQ(Run({"--progressive", Path("out.jpg"), "--quality", "100", Path("in.tav")}), 0);
    QFile jpg(Path("out.jpg"));
    ASSERT_TRUE(jpg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(jpg.readAll().contains(QByteArray("\xFF\xC2", 2)));
}

TEST_F(ExportCommandTest, FailuresReportAndLeaveNoOutput) {
    WriteLayers();
    const struct {
        QStringList args;
        int code;
    } cases[] = {
        {{Path("x.bmp"), Path("missing.tav")}, 1},
        {{Path("x.gif"), Path("in.tav")}, 1},
        {{Path("x.bmp"), Path("in.gif")}, 1},
        {{Path("x.jpg"), Path("in.tav"), "--quality", "0"}, 2},
        {{Path("x.jpg"), Path("in.tav"), "--fast"}, 2},
        {{Path("x.bmp")}, 2},
        {{Path("x.bmp"), Path("none/dir/x.bmp"), Path("in.tav")}, 2},
        {{Path("none/x.bmp"), Path("in.tav")}, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.args), c.code) << c.args.join(' ').toStdString();
        EXPECT_FALSE(QFile::exists(Path("x.bmp")) || QFile::exists(Path("x.jpg")) ||
                     QFile::exists(Path("x.gif")));
    }
}

// The other extensions of the picture types choose the type as ".jpg" and ".bmp" do, for the
// input as for the output.
TEST_F(ExportCommandTest, JpegAndDibExtensionsAreTheirTypes) {
    WriteLayers();
    const struct {
        const char* out;
        const char* in;
        QByteArray signature;
    } steps[] = {{"a.DIB", "in.tav", "BM"},
                 {"b.jpeg", "a.DIB", "\xFF\xD8"},
                 {"c.jpe", "b.jpeg", "\xFF\xD8"},
                 {"d.bmp", "c.jpe", "BM"}};
    for (const auto& s : steps) {
        ASSERT_EQ(Run({Path(s.out), Path(s.in)}), 0) << s.out;
        QFile file(Path(s.out));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.read(2), s.signature) << s.out;
    }
}

// An export onto a full disk fails and leaves the file it would have replaced as it was.
TEST_F(ExportCommandTest, AFullDiskKeepsTheOldOutput) {
    SmallDisk disk(300);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why().toStdString();
    WriteLayers();
    ASSERT_EQ(Run({Path("small.bmp"), Path("in.tav")}), 0);
    std::vector<std::pair<QString, QByteArray>> olds;
    for (const char* name : {"old.jpg", "old.bmp", "old.tav", "old.png"}) {
        const QString out = disk.Path(QLatin1String(name));
        ASSERT_EQ(Run({out, Path("in.tav")}), 0);
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        olds.push_back({out, file.readAll()});
    }
    disk.Fill(0);
    for (const auto& [out, before] : olds) {
        EXPECT_EQ(Run({out, Path("small.bmp")}), 1) << out.toStdString();
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll() == before) << out.toStdString();
    }
}

}  // namespace
