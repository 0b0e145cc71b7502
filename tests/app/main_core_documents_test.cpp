// The file commands through the main window's core: each type saved and opened back, the names
// and JPEG settings of Save and Save As, the save question, and failures that lose nothing.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include <unistd.h>

#include "app/main_core.h"
#include "core_test.h"
#include "document/file_access.h"
#include "document/layered_document.h"
#include "platform/app_paths.h"
#include "platform/file_names.h"
#include "support/small_disk.h"

namespace {

constexpr TColor kRed = RgbColour(255, 0, 0);
constexpr TColor kInk = RgbColour(20, 40, 200);

class DocumentCommandsTest : public CoreTest {
  protected:
    QString Path(const char* name) { return dir.filePath(QLatin1String(name)); }
    // A block of ink on layer 0, shown, as an edit leaves it.
    void Draw() {
        for (int y = 100; y < 140; ++y)
            for (int x = 100; x < 180; ++x) core->LayerImages()[0].SetPixel(x, y, kInk);
        core->Compositor.CompositeRefresh();
        core->Document.Modified = true;
    }
    QByteArray FileBytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The first luminance quantiser of a baseline JPEG: libjpeg scales 16 by 5000 / q below 50
    // and by 200 - 2q from 50 on, in percent, rounded.
    int FirstQuantiser(const QByteArray& jpeg) {
        const qsizetype dqt = jpeg.indexOf(QByteArray("\xFF\xDB", 2));
        return dqt < 0 ? -1 : std::uint8_t(jpeg[dqt + 5]);
    }
};

TEST_F(DocumentCommandsTest, EachTypeSavedThenOpenedBackAfterNew) {
    const struct {
        const char* name;
        int entry;
        int layers;
        int tolerance;
    } cases[] = {{"a.bmp", 1, 1, 0}, {"a.jpg", 2, 1, 12}, {"a.tav", 3, 2, 0}, {"a.png", 4, 1, 0}};
    for (const auto& c : cases) {
        Draw();
        core->Layers.CreateLayer();
        core->Timer1Timer(0);
        screen.SaveDialogResults = {{Path(c.name), c.entry}};
        core->N1Click();
        EXPECT_FALSE(core->Document.Modified) << c.name;

        screen.NewDialogResult = std::pair{10, 20};
        core->N2Click();
        EXPECT_EQ(screen.Caption, QStringLiteral("無題 - Kasumiro"));
        EXPECT_EQ(screen.Status[1], QStringLiteral("サイズ( 10 x 20 )"));
        EXPECT_EQ(core->Layers.LayerCount(), 1);

        screen.OpenDialogResults = {{Path(c.name), c.entry}};
        core->N3Click();
        EXPECT_EQ(screen.Caption, Path(c.name) + QStringLiteral(" - Kasumiro")) << c.name;
        EXPECT_EQ(screen.Status[1], QStringLiteral("サイズ( 400 x 400 )")) << c.name;
        EXPECT_EQ(core->Layers.LayerCount(), c.layers) << c.name;
        EXPECT_EQ(core->Document.FileName, Path(c.name));
        EXPECT_TRUE(core->Timer1.Enabled());
        const TColor ink = core->Image1.Pixel(140, 120);
        EXPECT_NEAR(BlueOf(ink), BlueOf(kInk), c.tolerance) << c.name;
        EXPECT_NEAR(RedOf(ink), RedOf(kInk), c.tolerance) << c.name;
        EXPECT_EQ(core->Image1.Pixel(300, 300), clWhite) << c.name;
        EXPECT_TRUE(core->Image3 == core->LayerImages()[0]) << c.name;
    }
    EXPECT_TRUE(screen.Errors.isEmpty()) << screen.Errors.join('\n').toStdString();
}

TEST_F(DocumentCommandsTest, SaveAsNamesTheFileByTheEntryAndKeepsTheConfirmedQuality) {
    Draw();
    screen.SaveDialogResults = {{Path("picture.bmp"), 2}};
    screen.JpegDialogResult = std::pair{30, true};
    core->N1Click();
    EXPECT_EQ(core->Document.FileName, Path("picture.jpg"));
    EXPECT_EQ(screen.Caption, Path("picture.jpg") + QStringLiteral(" - Kasumiro"));
    EXPECT_EQ(core->Document.JpegQuality, 30);
    EXPECT_TRUE(FileBytes(Path("picture.jpg")).contains(QByteArray("\xFF\xC2", 2)));
    EXPECT_FALSE(QFile::exists(Path("picture.bmp")));

    // Closed without "決定": baseline at the quality last confirmed (30 scales 16 to 27).
    screen.SaveDialogResults = {{Path("again.jpg"), 2}};
    screen.JpegDialogResult.reset();
    core->N1Click();
    const QByteArray again = FileBytes(Path("again.jpg"));
    EXPECT_TRUE(again.contains(QByteArray("\xFF\xC0", 2)));
    EXPECT_EQ(FirstQuantiser(again), 27);

    // Save with the dialog closed uses the encoder's defaults: quality 90 scales 16 to 3.
    core->Save1Click();
    EXPECT_EQ(FirstQuantiser(FileBytes(Path("again.jpg"))), 3);
    // The paint surface now shows the decoded file, not the layer.
    EXPECT_FALSE(core->Image1 == core->LayerImages()[0]);
}

TEST_F(DocumentCommandsTest, SaveOfAnUntitledDocumentAsksForANameAndSaveKeepsTheType) {
    core->Save1Click();
    EXPECT_EQ(screen.SaveDialogShownWith, QStringList{QStringLiteral("無題")});
    screen.SaveDialogResults = {{Path("layers.tav"), 3}};
    core->Save1Click();
    Draw();
    core->Save1Click();
    EXPECT_FALSE(core->Document.Modified);
    EXPECT_EQ(FileBytes(Path("layers.tav")).left(4), QByteArray("\x1E\0\0\0", 4));
    EXPECT_EQ(screen.SaveDialogShownWith.size(), 2);
}

TEST_F(DocumentCommandsTest, SaveQuestionYesThenCancelledSaveAsStillOpens) {
    Draw();
    screen.AnswerYes = true;
    screen.OpenDialogResults = {{Path("none.bmp"), 1}};
    core->N3Click();
    EXPECT_EQ(screen.SaveQuestions, QStringList{QStringLiteral("無題")});
    EXPECT_EQ(screen.SaveDialogShownWith.size(), 1);
    EXPECT_TRUE(screen.OpenDialogResults.empty());
    EXPECT_EQ(screen.Errors, QStringList{QStringLiteral("ﾌｧｲﾙが見つかりません")});

    core->N6Click();
    core->FormClose();
    EXPECT_EQ(screen.SaveQuestions.size(), 3);  // Exit asks, and the close asks again
    core->Document.Modified = false;
    core->FormClose();
    EXPECT_EQ(screen.SaveQuestions.size(), 3);
}

TEST_F(DocumentCommandsTest, FilesThatCannotBeOpenedLeaveTheDocumentAsItWas) {
    Draw();
    QFile v31(Path("v31.tav"));
    v31.open(QIODevice::WriteOnly);
    v31.write(QByteArray::fromHex("1f000000010000000200000002000000"));
    v31.close();
    QFile text(Path("text.bmp"));
    text.open(QIODevice::WriteOnly);
    text.write("not a bitmap");
    text.close();
    screen.OpenDialogResults = {{Path("v31.tav"), 3}, {Path("text.bmp"), 1}, {Path("none.jpg"), 2}};
    for (int i = 0; i < 3; ++i) core->N3Click();
    EXPECT_EQ(screen.Messages,
              QStringList{QStringLiteral("このバージョンのファイルには対応していません。")});
    EXPECT_EQ(screen.Beeps, 1);
    EXPECT_EQ(screen.Errors, QStringList({QStringLiteral("画像ﾌｫｰﾏｯﾄが不正です"),
                                          QStringLiteral("ﾌｧｲﾙが見つかりません")}));
    EXPECT_EQ(core->Image1.Pixel(140, 120), kInk);
    EXPECT_TRUE(core->Document.Modified);
    EXPECT_TRUE(core->Timer1.Enabled());
    EXPECT_EQ(screen.Caption, QStringLiteral("無題 - Kasumiro"));
}

TEST_F(DocumentCommandsTest, AFailedSaveKeepsTheOldFileAndTheUnsavedMark) {
    screen.SaveDialogResults = {{Path("keep.bmp"), 1}};
    core->N1Click();
    const QByteArray old = FileBytes(Path("keep.bmp"));
    Draw();
    // The folder turns into a file: no temporary file can be made beside the target.
    screen.SaveDialogResults = {{Path("keep.bmp/inner.bmp"), 1}};
    core->N1Click();
    EXPECT_EQ(screen.Errors.size(), 1);
    EXPECT_TRUE(core->Document.Modified);
    EXPECT_EQ(FileBytes(Path("keep.bmp")), old);
}

TEST_F(DocumentCommandsTest, StartupOpenAtTheFirstTickOnly) {
    screen.SaveDialogResults = {{Path("start.tav"), 3}};
    Draw();
    core->N1Click();
    QFile::copy(Path("start.tav"), Path("start.TAV"));
    for (const char* file : {"start.TAV", "start.tav", "start.gif"}) {
        screen.NewDialogResult = std::pair{5, 5};
        core->N2Click();
        screen.Messages.clear();
        core->Document.CommandLineFile = Path(file);
        core->Document.OpenAtFirstTick = true;
        core->Timer1Timer(0);
        core->Timer1Timer(0);
        EXPECT_FALSE(core->Document.OpenAtFirstTick);
        const bool unsupported = TypeOfName(Path(file)) == FileType::Unknown;
        EXPECT_EQ(screen.Messages.size(), unsupported ? 1 : 0) << file;
        EXPECT_EQ(core->PictureWidth(), unsupported ? 5 : 400) << file;
        if (!unsupported) {
            EXPECT_EQ(core->Document.FileName, Path(file));
        }
    }
}

TEST_F(DocumentCommandsTest, NewMakesAtLeastOnePixelAndLeavesModifiedAlone) {
    Draw();
    screen.NewDialogResult = std::pair{0, -5};
    core->N2Click();
    EXPECT_EQ(screen.NewDialogShownWith, std::pair(400, 400));
    EXPECT_EQ(core->PictureWidth(), 1);
    EXPECT_EQ(core->PictureHeight(), 1);
    EXPECT_TRUE(core->Document.Modified);
    screen.NewDialogResult.reset();
    core->N2Click();
    EXPECT_EQ(core->PictureWidth(), 1);
}

// A save that meets a full disk keeps the old file byte for byte, says why in the error box,
// and leaves the document unsaved: Save after Open of each type, the JPEG among them.
TEST_F(DocumentCommandsTest, ASaveOntoAFullDiskKeepsTheFileAndTheUnsavedMark) {
    SmallDisk disk(400);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why().toStdString();
    screen.NewDialogResult = std::pair{120, 90};
    core->N2Click();
    const struct {
        const char* name;
        int entry;
    } cases[] = {{"pic.jpg", 2}, {"pic.bmp", 1}, {"pic.tav", 3}, {"pic.png", 4}};
    for (const auto& c : cases) {
        const QString path = disk.Path(QLatin1String(c.name));
        screen.SaveDialogResults = {{path, c.entry}};
        core->N1Click();
    }
    for (const auto& c : cases) {
        const QString path = disk.Path(QLatin1String(c.name));
        screen.OpenDialogResults = {{path, c.entry}};
        core->N3Click();
        const QByteArray old = FileBytes(path);
        core->LayerImages()[0].SetPixel(60, 40, kRed);
        core->Document.Modified = true;
        disk.Fill(0);
        screen.Errors.clear();
        core->Save1Click();
        EXPECT_EQ(screen.Errors, QStringList{QStringLiteral("ﾃﾞｨｽｸがいっぱいです")}) << c.name;
        EXPECT_TRUE(FileBytes(path) == old) << c.name;
        EXPECT_TRUE(core->Document.Modified) << c.name;
        EXPECT_EQ(screen.Caption, path + QStringLiteral(" - Kasumiro")) << c.name;
        QFile::remove(disk.Path(QStringLiteral("filler")));
    }
    EXPECT_EQ(QDir(disk.Path(QString())).entryList(QDir::Files),
              QStringList({"pic.bmp", "pic.jpg", "pic.png", "pic.tav"}));
}

// Save As writes the name the filter entry gives, so that name, not the one typed, is the one
// the replace question asks about; declining goes back to the dialog.
TEST_F(DocumentCommandsTest, SaveAsAsksAboutReplacingTheFileItWillWrite) {
    QFile typed(Path("pic.bmp"));
    typed.open(QIODevice::WriteOnly);
    typed.write("an old bitmap");
    typed.close();
    Draw();
    screen.SaveDialogResults = {{Path("pic.bmp"), 2}};
    core->N1Click();
    EXPECT_TRUE(screen.ReplaceQuestions.isEmpty());  // pic.jpg did not exist
    const QByteArray first = FileBytes(Path("pic.jpg"));
    EXPECT_EQ(first.left(2), QByteArray("\xFF\xD8"));

    Draw();
    core->LayerImages()[0].Fill(clBlack);
    core->Compositor.CompositeRefresh();
    screen.AnswerReplace = false;
    screen.SaveDialogResults = {{Path("pic.bmp"), 2}};
    core->N1Click();
    EXPECT_EQ(screen.ReplaceQuestions, QStringList{Path("pic.jpg")});
    EXPECT_EQ(screen.SaveDialogShownWith.size(), 3);  // shown again after "no", then cancelled
    EXPECT_EQ(screen.SaveDialogShownWith.last(), Path("pic.bmp"));
    EXPECT_TRUE(FileBytes(Path("pic.jpg")) == first);
    EXPECT_TRUE(core->Document.Modified);

    screen.AnswerReplace = true;
    screen.SaveDialogResults = {{Path("pic.bmp"), 2}};
    core->N1Click();
    EXPECT_EQ(screen.ReplaceQuestions.size(), 2);
    EXPECT_FALSE(FileBytes(Path("pic.jpg")) == first);
    EXPECT_EQ(FileBytes(Path("pic.bmp")), QByteArray("an old bitmap"));
    EXPECT_FALSE(core->Document.Modified);
}

// The picture types' other extensions open as their type, Save keeps the name and the type,
// and Save As keeps a name that already has its type's extension.
TEST_F(DocumentCommandsTest, JpegAndDibExtensionsOpenAndSaveAsTheirType) {
    Draw();
    SaveBmpFile(Path("a.dib"), core->Image1);
    SaveJpegFile(Path("b.JPEG"), core->Image1, 90, false);
    SaveJpegFile(Path("c.jpe"), core->Image1, 90, false);
    for (const char* name : {"a.dib", "b.JPEG", "c.jpe"}) {
        screen.NewDialogResult = std::pair{5, 5};
        core->N2Click();
        core->Document.CommandLineFile = Path(name);
        core->Document.OpenAtFirstTick = true;
        core->Timer1Timer(0);
        EXPECT_EQ(core->PictureWidth(), 400) << name;
        EXPECT_EQ(core->Document.FileName, Path(name));
        core->Document.Modified = true;
        core->Save1Click();
        EXPECT_FALSE(core->Document.Modified) << name;
    }
    EXPECT_TRUE(screen.Messages.isEmpty());
    EXPECT_TRUE(screen.Errors.isEmpty()) << screen.Errors.join('\n').toStdString();
    EXPECT_EQ(FileBytes(Path("a.dib")).left(2), QByteArray("BM"));
    EXPECT_EQ(FileBytes(Path("b.JPEG")).left(2), QByteArray("\xFF\xD8"));

    const struct {
        const char* typed;
        int entry;
        const char* written;
    } saves[] = {{"d.jpeg", 2, "d.jpeg"}, {"e.jpeg", 1, "e.bmp"}, {"f.dib", 1, "f.dib"},
                 {"g.dib", 3, "g.tav"},   {"h.jpg", 1, "h.bmp"},  {"i.jpeg", 4, "i.png"},
                 {"j.bmp", 4, "j.png"},   {"k.png", 2, "k.jpg"}};
    for (const auto& s : saves) {
        screen.SaveDialogResults = {{Path(s.typed), s.entry}};
        core->N1Click();
        EXPECT_EQ(core->Document.FileName, Path(s.written)) << s.typed;
        EXPECT_TRUE(QFile::exists(Path(s.written))) << s.typed;
    }
}

// A name that is no UTF-8 is opened by the bytes the command line gave.
TEST_F(DocumentCommandsTest, AStartUpFileNamedInOtherBytesIsOpened) {
    const QByteArray bytes = QFile::encodeName(dir.path()) + "/latin\xE9.bmp";
    const QString name = FileNameFromBytes(bytes);
    Draw();
    SaveBmpFile(name, core->Image1);
    RecordingScreen startScreen;
    MainWindowCore started(startScreen);
    started.FormCreate({name}, dir.path());
    started.Timer1Timer(0);
    EXPECT_TRUE(startScreen.Errors.isEmpty()) << startScreen.Errors.join('\n').toStdString();
    EXPECT_EQ(started.Document.FileName, name);
    EXPECT_EQ(started.Image1.Pixel(140, 120), kInk);
    EXPECT_EQ(unlink(bytes.constData()), 0);
}

// A 2 x 2 layered document made by hand, its layers named by these bytes.
QByteArray DocumentWithNames(const std::vector<QByteArray>& names) {
    QByteArray b;
    auto put = [&b](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b.append(char(v >> (8 * i)));
    };
    put(30), put(std::uint32_t(names.size())), put(2), put(2);
    for (const QByteArray& name : names) {
        put(0xFFFFFF);
        for (int cell = 0; cell < 9; ++cell) put(0xFFFFFF);
        put(3), b.append("\x81\x9B", 3);
        put(std::uint32_t(name.size() + 1)), b.append(name).append('\0');
    }
    return b;
}

// The name bytes of each layer in a layered document file.
std::vector<std::string> NameBytesIn(const QString& path) {
    std::vector<std::string> names;
    for (const DocumentLayer& layer : ReadLayeredDocumentFile(path).Layers)
        names.push_back(layer.NameBytes);
    return names;
}

// A layer name that is no valid Shift-JIS (here cut inside its last character, and one with a
// byte no character starts with) goes back into the file as it came, until it is renamed.
TEST_F(DocumentCommandsTest, LayerNamesKeepTheirBytesUntilRenamed) {
    const std::string cut = std::string(254, 'a') + "\x82";
    const std::string odd = "\x82\xA0\xFF\x82\xA2";
    const QByteArray original = DocumentWithNames({cut.c_str(), odd.c_str()});
    SaveFileAtomically(Path("names.tav"), [&](QIODevice& out) { WriteAll(out, original); });
    screen.OpenDialogResults = {{Path("names.tav"), 3}};
    core->N3Click();
    core->Document.Modified = true;
    core->Save1Click();
    EXPECT_EQ(NameBytesIn(Path("names.tav")), std::vector<std::string>({cut, odd}));

    core->Layers.SetLayerName(1, QStringLiteral("下絵"));
    core->Save1Click();
    EXPECT_EQ(NameBytesIn(Path("names.tav")), std::vector<std::string>({cut, "\x89\xBA\x8A\x47"}));
}

// The largest document the layer window can hold, 99 layers, is written and read back whole.
TEST_F(DocumentCommandsTest, NinetyNineLayersSaveAndOpenAgain) {
    screen.NewDialogResult = std::pair{6, 5};
    core->N2Click();
    for (int i = 1; i < 99; ++i) core->Layers.CreateLayer();
    ASSERT_EQ(core->Layers.LayerCount(), 99);
    for (int i = 0; i < 99; ++i)
        core->LayerImages()[std::size_t(i)].SetPixel(1 + i % 4, 1 + i % 3, TColor(i));
    screen.SaveDialogResults = {{Path("many.tav"), 3}};
    core->N1Click();
    const QByteArray saved = FileBytes(Path("many.tav"));

    screen.NewDialogResult = std::pair{6, 5};
    core->N2Click();
    screen.OpenDialogResults = {{Path("many.tav"), 3}};
    core->N3Click();
    EXPECT_TRUE(screen.Errors.isEmpty()) << screen.Errors.join('\n').toStdString();
    ASSERT_EQ(core->Layers.LayerCount(), 99);
    EXPECT_EQ(core->Layers.LayerName(core->Layers.DisplayOrder(98)),
              QStringLiteral("新規レイヤ99"));
    EXPECT_EQ(core->LayerImages()[98].Pixel(1 + 98 % 4, 1 + 98 % 3), TColor(98));
    core->Document.Modified = true;
    core->Save1Click();
    EXPECT_TRUE(FileBytes(Path("many.tav")) == saved);
}

}  // namespace
