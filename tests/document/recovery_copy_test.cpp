// Recovery copies: what a copy brings back, what a damaged copy says, and the folder's locks.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <thread>

#include "document/document_errors.h"
#include "document/layered_document.h"
#include "document/recovery_copy.h"
#include "document/recovery_folder.h"
#include "platform/file_names.h"

namespace {

constexpr TColor kRed = RgbColour(200, 10, 20);
constexpr TColor kGreen = RgbColour(10, 150, 30);
constexpr TColor kBlue = RgbColour(0, 0, 255);
constexpr int kWidth = 7;
constexpr int kHeight = 5;

// Each layer a colour of its own, with a different colour in its column 0 and row 0 (the
// layered format keeps neither) and one marked pixel inside.
Bitmap Painted(TColor inside, TColor edge, int markX, int markY) {
    Bitmap picture(kWidth, kHeight);
    picture.Fill(inside);
    for (int x = 0; x < kWidth; ++x) picture.SetPixel(x, 0, edge);
    for (int y = 0; y < kHeight; ++y) picture.SetPixel(0, y, edge);
    picture.SetPixel(markX, markY, clBlack);
    return picture;
}

RecoveryContent ThreeLayers() {
    RecoveryContent content;
    content.Width = kWidth;
    content.Height = kHeight;
    // A name that is no UTF-8 at all, as the system may have it.
    content.FileName = FileNameFromBytes(QByteArray("/tmp/\xe7\xb5\xb5\xff.jpg"));
    content.Type = FileType::Jpeg;
    RecoveryLayer bottom{clWhite, QStringLiteral("○"), QStringLiteral("背景"), std::nullopt,
                         Painted(kRed, kBlue, 3, 2)};
    // The bytes a file gave the name, which are no Shift-JIS, go back as they were.
    RecoveryLayer middle{kBlue, QStringLiteral("×"), QStringLiteral("?"),
                         std::string("\x81\xff\x41", 3), Painted(kGreen, kRed, 6, 4)};
    RecoveryLayer top{RgbColour(1, 2, 3), QStringLiteral("○"), QString(), std::nullopt,
                      Bitmap(kWidth, kHeight)};
    content.Layers = {bottom, middle, top};
    return content;
}

class RecoveryCopyTest : public ::testing::Test {
  protected:
    QString Path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    // Unpacks the copy as the program does and reads its layers with the layered reader.
    LayeredDocument Restore(const QString& copy, RecoveredCopy& recovered) {
        recovered = UnpackRecoveryCopy(copy, Path(QStringLiteral("unpacked.tav")));
        LayeredDocument document = ReadLayeredDocumentFile(Path(QStringLiteral("unpacked.tav")));
        std::vector<Bitmap*> layers;
        for (DocumentLayer& layer : document.Layers) layers.push_back(&layer.Picture);
        RestoreEdges(recovered.Edges, layers);
        return document;
    }

    QString ErrorOfRestoring(const QString& copy) {
        try {
            RecoveredCopy recovered;
            Restore(copy, recovered);
        } catch (const UserError& e) {
            return e.Text();
        }
        return QString();
    }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(RecoveryCopyTest, BringsBackEveryLayerWithItsEdgesAndTheFileItBelongsTo) {
    const RecoveryContent content = ThreeLayers();
    WriteRecoveryCopy(Path(QStringLiteral("a.rec")), content);
    RecoveredCopy recovered;
    const LayeredDocument document = Restore(Path(QStringLiteral("a.rec")), recovered);

    EXPECT_EQ(FileNameBytes(recovered.FileName), QByteArray("/tmp/\xe7\xb5\xb5\xff.jpg"));
    EXPECT_EQ(recovered.Type, FileType::Jpeg);
    ASSERT_EQ(document.Width, kWidth);
    ASSERT_EQ(document.Height, kHeight);
    ASSERT_EQ(document.Layers.size(), 3u);
    const struct {
        TColor inside, edge;
        int markX, markY;
    } pixels[] = {{kRed, kBlue, 3, 2}, {kGreen, kRed, 6, 4}, {clWhite, clWhite, -1, -1}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const Bitmap& picture = document.Layers[std::size_t(i)].Picture;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const TColor expected = (x == pixels[i].markX && y == pixels[i].markY) ? clBlack
                                        : (x == 0 || y == 0) ? pixels[i].edge
                                                             : pixels[i].inside;
                ASSERT_EQ(picture.Pixel(x, y), expected) << x << "," << y;
            }
    }
    EXPECT_EQ(document.Layers[0].Name, QStringLiteral("背景"));
    EXPECT_EQ(document.Layers[0].VisibilityMark, QStringLiteral("○"));
    EXPECT_EQ(document.Layers[0].TransparentColour, clWhite);
    EXPECT_EQ(document.Layers[1].NameBytes, std::string("\x81\xff\x41", 3));
    EXPECT_EQ(document.Layers[1].VisibilityMark, QStringLiteral("×"));
    EXPECT_EQ(document.Layers[1].TransparentColour, kBlue);
    EXPECT_EQ(document.Layers[2].Name, QString());
    EXPECT_EQ(document.Layers[2].TransparentColour, RgbColour(1, 2, 3));
    // A white layer stays without memory.
    EXPECT_TRUE(document.Layers[2].Picture.IsLazyWhite() ||
                document.Layers[2].Picture == Bitmap(kWidth, kHeight));
}

TEST_F(RecoveryCopyTest, AnUntitledDocumentComesBackUntitled) {
    RecoveryContent content = ThreeLayers();
    content.FileName.clear();
    content.Type = FileType::Unknown;
    WriteRecoveryCopy(Path(QStringLiteral("a.rec")), content);
    RecoveredCopy recovered;
    Restore(Path(QStringLiteral("a.rec")), recovered);
    EXPECT_TRUE(recovered.FileName.isEmpty());
    EXPECT_EQ(recovered.Type, FileType::Unknown);
}

TEST_F(RecoveryCopyTest, ACancelledCopyLeavesThePreviousOneWhole) {
    const QString path = Path(QStringLiteral("a.rec"));
    WriteRecoveryCopy(path, ThreeLayers());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    RecoveryContent other = ThreeLayers();
    other.Layers.pop_back();
    const std::atomic<bool> cancel{true};
    EXPECT_THROW(WriteRecoveryCopy(path, other, &cancel), RecoveryCopyCancelled);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.rec")});
}

// A damaged copy is refused with the layered reader's own words, however it is damaged.
TEST_F(RecoveryCopyTest, ADamagedCopyGetsTheLayeredReadersMessage) {
    const QString path = Path(QStringLiteral("a.rec"));
    WriteRecoveryCopy(path, ThreeLayers());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    file.close();
    const QString cut = ReadBeyondEnd().Text();
    const QString damaged = DamagedDocument().Text();
    QByteArray flipped = good;
    flipped[good.size() / 2] = char(flipped[good.size() / 2] ^ 0x55);
    QByteArray otherVersion = good;
    otherVersion[16] = 2;
    // The first piece's own size, as qCompress leaves it before the zlib stream: after the magic,
    // the version, the type, the name's count and its 13 bytes, and the piece's count.
    QByteArray overstated = good;
    for (int i = 45; i < 49; ++i) overstated[i] = char(0xFF);
    const struct {
        const char* what;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {"empty", QByteArray(), cut},
        {"cut in the header", good.left(10), cut},
        {"cut in the name", good.left(30), cut},
        {"cut in the document", good.left(good.size() / 2), cut},
        {"cut before the end", good.left(good.size() - 1), cut},
        {"a changed byte", flipped, cut},
        {"a piece that says it unpacks to 4 GB", overstated, cut},
        {"no recovery copy", QByteArray("\x1e\0\0\0", 4) + good.mid(4), damaged},
        {"another version", otherVersion, damaged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        EXPECT_EQ(ErrorOfRestoring(path), c.message);
    }
}

// The copy runs on another thread while the owner goes on drawing. (Kept out of the platform
// tests: a thread's own allocation arena would give their address-space limits room.)
TEST(Bitmap, AReaderOnAnotherThreadSeesThePixelsAsShared) {
    Bitmap layer(64, 64);
    layer.Fill(kGreen);
    Bitmap reader = layer.Shared();
    std::atomic<bool> allGreen{true};
    std::thread thread([&] {
        for (int round = 0; round < 50; ++round)
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 64; ++x)
                    if (reader.Pixel(x, y) != kGreen) allGreen = false;
        reader = Bitmap();
    });
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) layer.SetPixel(x, y, kRed);
    thread.join();
    EXPECT_TRUE(allGreen);
    EXPECT_EQ(layer.Pixel(63, 63), kRed);
}

TEST(RecoveryFolder, LivesInTheUsersStateFolder) {
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    setenv("XDG_STATE_HOME", "/somewhere/state", 1);
    EXPECT_EQ(RecoveryFolder::DefaultPath(), QStringLiteral("/somewhere/state/kasumiro/recovery"));
    // Unset, or not an absolute path: the default under the home folder.
    for (const char* value : {"", "relative/state"}) {
        setenv("XDG_STATE_HOME", value, 1);
        EXPECT_EQ(RecoveryFolder::DefaultPath(),
                  QDir::homePath() + QStringLiteral("/.local/state/kasumiro/recovery"));
    }
    setenv("XDG_STATE_HOME", saved.constData(), 1);
}

TEST(RecoveryFolder, ACopyIsOfferedOnlyOnceItsOwnerIsGone) {
    QTemporaryDir dir;
    const RecoveryFolder folder(dir.path() + QStringLiteral("/new/recovery"));
    std::unique_ptr<RecoveryLock> first = folder.ClaimOwnName();
    std::unique_ptr<RecoveryLock> second = folder.ClaimOwnName();
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->Name(), second->Name());
    // The lock file says whose it is.
    QFile lock(first->LockPath());
    ASSERT_TRUE(lock.open(QIODevice::ReadOnly));
    EXPECT_EQ(lock.readAll(), QByteArray::number(QCoreApplication::applicationPid()) + '\n');
    for (const RecoveryLock* owner : {first.get(), second.get()}) {
        QFile copy(owner->CopyPath());
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    }
    EXPECT_TRUE(folder.UnownedCopies().empty());

    // The first owner ends without removing its copy (as when it is killed).
    const QString firstCopy = first->CopyPath();
    first.reset();
    std::vector<std::unique_ptr<RecoveryLock>> unowned = folder.UnownedCopies();
    ASSERT_EQ(unowned.size(), 1u);
    EXPECT_EQ(unowned[0]->CopyPath(), firstCopy);
    // Whoever looks now finds it taken by us.
    EXPECT_TRUE(folder.UnownedCopies().empty());

    unowned[0]->RemoveAll();
    EXPECT_FALSE(QFile::exists(firstCopy));
    second->RemoveAll();
    EXPECT_TRUE(QDir(folder.Path()).entryList(QDir::Files).isEmpty());
}

TEST(RecoveryFolder, ADamagedCopyIsSetAsideNotRemoved) {
    QTemporaryDir dir;
    const RecoveryFolder folder(dir.path());
    {
        std::unique_ptr<RecoveryLock> owner = folder.ClaimOwnName();
        QFile copy(owner->CopyPath());
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        copy.write("broken");
    }
    std::vector<std::unique_ptr<RecoveryLock>> unowned = folder.UnownedCopies();
    ASSERT_EQ(unowned.size(), 1u);
    folder.SetAside(*unowned[0]);
    unowned.clear();
    EXPECT_TRUE(folder.UnownedCopies().empty());
    // Its lock guards nothing any more and went with it.
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.lock")}), QStringList());
    const QStringList aside = QDir(dir.path()).entryList({QStringLiteral("*.damaged")});
    ASSERT_EQ(aside.size(), 1);
    QFile kept(dir.path() + QLatin1Char('/') + aside[0]);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("broken"));
}

// A lock that guards no copy goes: with its owner, or at the next look for one left by a
// program that ended without a copy. A lock still held stays.
TEST(RecoveryFolder, ALockWithoutACopyDoesNotOutliveItsOwner) {
    QTemporaryDir dir;
    const RecoveryFolder folder(dir.path());
    const auto locks = [&] { return QDir(dir.path()).entryList({QStringLiteral("*.lock")}); };
    folder.ClaimOwnName();
    EXPECT_EQ(locks(), QStringList());

    QFile left(dir.path() + QStringLiteral("/kasumiro-99999999.lock"));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.write("99999999\n");
    left.close();
    const std::unique_ptr<RecoveryLock> held = folder.ClaimOwnName();
    ASSERT_TRUE(held);
    EXPECT_TRUE(folder.UnownedCopies().empty());
    EXPECT_EQ(locks(), QStringList{held->Name() + QStringLiteral(".lock")});
}
