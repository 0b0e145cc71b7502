// Recovery copies as the main window keeps them: when a copy is written, when it goes, and what
// the next start makes of a copy left behind.
#include <QDir>
#include <QFile>

#include "core_test.h"
#include "document/document_errors.h"
#include "document/layered_document.h"
#include "document/recovery_copy.h"
#include "support/address_space_limit.h"

namespace {

constexpr TColor kRed = RgbColour(220, 20, 30);
constexpr TColor kGreen = RgbColour(20, 160, 40);
constexpr TColor kBlue = RgbColour(0, 0, 255);

class RecoveryCoreTest : public CoreTest {
  protected:
    void SetUp() override {
        // Each test has a recovery folder of its own.
        setenv("XDG_STATE_HOME", dir.path().toLocal8Bit().constData(), 1);
        QFile ini(dir.path() + QLatin1Char('/') + AppPaths::ExecutableBaseName() +
                  QStringLiteral(".ini"));
        ini.remove();
        if (!interval.isNull()) {
            ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
            ini.write("[autosave]\nInterval=" + interval.toLatin1() + "\n");
            ini.close();
        }
        CoreTest::SetUp();
    }

    QString Folder() const { return dir.path() + QStringLiteral("/kasumiro/recovery"); }
    QStringList FilesInFolder(const QString& pattern = QStringLiteral("*")) const {
        return QDir(Folder()).entryList({pattern}, QDir::Files);
    }

    // The fill tool over the whole (white or one-coloured) current layer.
    static void Fill(MainWindowCore& c, TColor colour) {
        c.PrimaryColour = colour;
        c.Button5Click();
        c.Image1MouseDown(mbLeft, ssLeft, 2, 2);
        c.Image1MouseUp(mbLeft, ssLeft, 2, 2);
    }
    void WriteCopy() {
        core->RecoveryCopyDue();
        core->WaitForRecoveryCopy();
    }
    // Another start of the program, in the same folders.
    std::unique_ptr<MainWindowCore> StartAgain(RecordingScreen& on) {
        auto again = std::make_unique<MainWindowCore>(on);
        again->FormCreate({}, dir.path());
        again->StartUpFinished();
        return again;
    }
    static bool AllPixels(const Bitmap& picture, TColor colour) {
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x)
                if (picture.Pixel(x, y) != colour) return false;
        return true;
    }

    // The settings' "[autosave] Interval"; null leaves it out.
    QString interval = QStringLiteral("60");
};

class RecoveryOffTest : public RecoveryCoreTest {
  protected:
    RecoveryOffTest() { interval = QStringLiteral("0"); }
};

}  // namespace

TEST_F(RecoveryCoreTest, TheIntervalTurnsCopiesOnAndOff) {
    EXPECT_TRUE(core->RecoveryCopiesOn());
    for (const char* setting : std::initializer_list<const char*>{"0", "-5", nullptr}) {
        SCOPED_TRACE(setting ? setting : "(none)");
        interval = setting ? QString::fromLatin1(setting) : QString();
        TearDown();
        SetUp();
        EXPECT_EQ(core->RecoveryCopiesOn(), setting == nullptr);
        Fill(*core, kRed);
        WriteCopy();
        EXPECT_EQ(FilesInFolder(QStringLiteral("*.rec")).size(), setting ? 0 : 1);
    }
}

TEST_F(RecoveryCoreTest, ACopyIsWrittenOnlyWhileModifiedAndNothingDraws) {
    WriteCopy();
    EXPECT_TRUE(core->RecoveryCopyPath().isEmpty());

    Fill(*core, kRed);
    // A press of the brush: the stroke is under way until its tail ends.
    core->Button3Click();
    core->Image1MouseDown(mbLeft, ssLeft, 10, 10);
    core->RecoveryCopyDue();
    EXPECT_FALSE(core->RecoveryCopyRunning());
    EXPECT_TRUE(core->RecoveryCopyPath().isEmpty());
    core->Image1MouseUp(mbLeft, ssLeft, 10, 10);
    for (int i = 0; i < 10000 && !core->TickIsIdle(); ++i) core->Timer1Timer(1);
    ASSERT_TRUE(core->TickIsIdle());

    WriteCopy();
    ASSERT_FALSE(core->RecoveryCopyPath().isEmpty());
    EXPECT_TRUE(QFile::exists(core->RecoveryCopyPath()));
    // Nothing changed since: nothing is written again.
    core->RecoveryCopyDue();
    EXPECT_FALSE(core->RecoveryCopyRunning());
}

// The copy is taken when it begins; what is painted while it is written waits for the next.
TEST_F(RecoveryCoreTest, ACopyHoldsTheDocumentAsItWasWhenItBegan) {
    Fill(*core, kRed);
    core->RecoveryCopyDue();
    Fill(*core, kGreen);
    core->WaitForRecoveryCopy();
    EXPECT_TRUE(AllPixels(Layer(0), kGreen));

    const QString unpacked = dir.path() + QStringLiteral("/unpacked.tav");
    UnpackRecoveryCopy(core->RecoveryCopyPath(), unpacked);
    const LayeredDocument copy = ReadLayeredDocumentFile(unpacked);
    ASSERT_EQ(copy.Layers.size(), 1u);
    // The layered format has no column 0 and row 0: those come back with the edges.
    EXPECT_EQ(copy.Layers[0].Picture.Pixel(1, 1), kRed);
    EXPECT_EQ(copy.Layers[0].Picture.Pixel(399, 399), kRed);
}

TEST_F(RecoveryCoreTest, SaveAndANormalEndRemoveTheCopy) {
    Fill(*core, kRed);
    WriteCopy();
    const QString copy = core->RecoveryCopyPath();
    ASSERT_TRUE(QFile::exists(copy));
    screen.SaveDialogResults = {{dir.path() + QStringLiteral("/picture.tav"), 3}};
    core->N1Click();
    EXPECT_FALSE(core->Document.Modified);
    EXPECT_FALSE(QFile::exists(copy));

    Fill(*core, kGreen);
    WriteCopy();
    ASSERT_TRUE(QFile::exists(copy));
    // The user chooses not to save: the program ends, and so does its copy and its lock.
    screen.AnswerYes = false;
    core->FormClose();
    EXPECT_EQ(screen.SaveQuestions.size(), 1);
    EXPECT_EQ(FilesInFolder(), QStringList());
}

TEST_F(RecoveryCoreTest, TheCopyOfAProgramThatEndedIsRestoredAndSavesToItsFile) {
    const QString file = dir.path() + QStringLiteral("/picture.tav");
    screen.SaveDialogResults = {{file, 3}};
    core->N1Click();
    Fill(*core, kRed);
    core->Layers.CreateLayer();
    core->Timer1Timer(1);
    core->Layers.SelectLayer(1);
    Fill(*core, kGreen);
    core->Layers.SetLayerName(1, QStringLiteral("下書き"));
    core->Layers.SetTransparentColour(1, kBlue);
    core->Layers.ToggleVisibility(1);
    WriteCopy();
    // Ended without a close, as a killed program ends.
    core.reset();

    RecordingScreen again;
    std::unique_ptr<MainWindowCore> restored = StartAgain(again);
    EXPECT_EQ(again.RestoreQuestions, 1);
    EXPECT_TRUE(again.Errors.isEmpty());
    MainWindowCore& c = *restored;
    ASSERT_EQ(c.Layers.LayerCount(), 2);
    const Bitmap& bottom = c.LayerImages()[std::size_t(c.Layers.DisplayOrder(0))];
    const Bitmap& top = c.LayerImages()[std::size_t(c.Layers.DisplayOrder(1))];
    EXPECT_TRUE(AllPixels(bottom, kRed));
    EXPECT_TRUE(AllPixels(top, kGreen));
    EXPECT_EQ(c.Layers.LayerName(c.Layers.DisplayOrder(1)), QStringLiteral("下書き"));
    EXPECT_EQ(c.Layers.TransparentColour(c.Layers.DisplayOrder(1)), kBlue);
    EXPECT_EQ(c.Layers.VisibilityMark(c.Layers.DisplayOrder(1)), QStringLiteral("×"));
    EXPECT_TRUE(c.Document.Modified);
    EXPECT_EQ(c.Document.FileName, file);
    EXPECT_EQ(again.Caption, file + QStringLiteral(" - Kasumiro"));
    // Shown as its layers compose: the hidden green layer is not seen.
    EXPECT_TRUE(AllPixels(c.Image1, kRed));

    // Save writes the file it came from, and the copy goes.
    const QString copy = c.RecoveryCopyPath();
    ASSERT_TRUE(QFile::exists(copy));
    c.Save1Click();
    EXPECT_FALSE(c.Document.Modified);
    EXPECT_FALSE(QFile::exists(copy));
    const LayeredDocument saved = ReadLayeredDocumentFile(file);
    ASSERT_EQ(saved.Layers.size(), 2u);
    EXPECT_EQ(saved.Layers[1].Name, QStringLiteral("下書き"));
    EXPECT_EQ(saved.Layers[1].Picture.Pixel(5, 5), kGreen);
}

TEST_F(RecoveryCoreTest, AnUntitledCopyAsksForANameOnSave) {
    Fill(*core, kRed);
    WriteCopy();
    core.reset();
    RecordingScreen again;
    std::unique_ptr<MainWindowCore> restored = StartAgain(again);
    EXPECT_EQ(restored->Document.FileName, QStringLiteral("無題"));
    restored->Save1Click();
    EXPECT_EQ(again.SaveDialogShownWith, QStringList{QStringLiteral("無題")});
}

TEST_F(RecoveryCoreTest, AnsweringNoRemovesTheCopy) {
    Fill(*core, kRed);
    WriteCopy();
    core.reset();
    RecordingScreen again;
    again.AnswerRestore = false;
    std::unique_ptr<MainWindowCore> fresh = StartAgain(again);
    EXPECT_EQ(again.RestoreQuestions, 1);
    EXPECT_FALSE(fresh->Document.Modified);
    EXPECT_TRUE(AllPixels(fresh->LayerImages()[0], clWhite));
    EXPECT_EQ(FilesInFolder(QStringLiteral("*.rec")), QStringList());
}

TEST_F(RecoveryCoreTest, ACopyARunningProgramOwnsIsNotOffered) {
    Fill(*core, kRed);
    WriteCopy();
    RecordingScreen other;
    std::unique_ptr<MainWindowCore> second = StartAgain(other);
    EXPECT_EQ(other.RestoreQuestions, 0);
    // Each keeps a copy of its own.
    Fill(*second, kGreen);
    second->RecoveryCopyDue();
    second->WaitForRecoveryCopy();
    EXPECT_NE(second->RecoveryCopyPath(), core->RecoveryCopyPath());
    EXPECT_EQ(FilesInFolder(QStringLiteral("*.rec")).size(), 2);
}

TEST_F(RecoveryCoreTest, ADamagedCopyIsReportedAndKeptAside) {
    Fill(*core, kRed);
    WriteCopy();
    const QString copy = core->RecoveryCopyPath();
    core.reset();
    QFile file(copy);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() / 2));
    file.close();

    RecordingScreen again;
    std::unique_ptr<MainWindowCore> fresh = StartAgain(again);
    EXPECT_EQ(again.RestoreQuestions, 1);
    EXPECT_EQ(again.Errors, QStringList{ReadBeyondEnd().Text()});
    EXPECT_FALSE(fresh->Document.Modified);
    EXPECT_EQ(FilesInFolder(QStringLiteral("*.damaged")).size(), 1);
    EXPECT_EQ(FilesInFolder(QStringLiteral("*.rec")), QStringList());
    // Nothing is offered again, and nothing of it was removed.
    RecordingScreen third;
    StartAgain(third);
    EXPECT_EQ(third.RestoreQuestions, 0);
    EXPECT_EQ(FilesInFolder(QStringLiteral("*.damaged")).size(), 1);
}

// The signals and the desktop's logout write a copy at once, also with the periodic copies off;
// at logout only what the user did not decline to lose.
TEST_F(RecoveryOffTest, SignalsAndLogoutKeepTheUnsavedWork) {
    EXPECT_FALSE(core->RecoveryCopiesOn());
    EXPECT_FALSE(core->WriteRecoveryCopyNow());
    core->CommitDataRequest(true);
    EXPECT_TRUE(screen.SaveQuestions.isEmpty());
    EXPECT_EQ(FilesInFolder(QStringLiteral("*.rec")), QStringList());

    Fill(*core, kRed);
    EXPECT_TRUE(core->WriteRecoveryCopyNow());
    ASSERT_EQ(FilesInFolder(QStringLiteral("*.rec")).size(), 1);
    // Declined at the question: as at the close, the copy goes.
    screen.AnswerYes = false;
    core->CommitDataRequest(true);
    EXPECT_EQ(screen.SaveQuestions.size(), 1);
    EXPECT_EQ(FilesInFolder(QStringLiteral("*.rec")), QStringList());
    // Without leave to ask, the copy is all.
    core->CommitDataRequest(false);
    EXPECT_EQ(screen.SaveQuestions.size(), 1);
    EXPECT_EQ(FilesInFolder(QStringLiteral("*.rec")).size(), 1);
    // A save that was wanted but did not happen (its dialog cancelled) keeps it too.
    core->CommitDataRequest(true);
    EXPECT_EQ(FilesInFolder(QStringLiteral("*.rec")), QStringList());
    screen.AnswerYes = true;
    core->CommitDataRequest(true);
    EXPECT_EQ(screen.SaveDialogShownWith.size(), 1);
    EXPECT_EQ(FilesInFolder(QStringLiteral("*.rec")).size(), 1);
}

// The close's save was asked for but did not happen: the work as it stands waits in the copy.
TEST_F(RecoveryCoreTest, ACloseWhoseSaveFailsKeepsTheWork) {
    Fill(*core, kRed);
    WriteCopy();
    Fill(*core, kGreen);
    screen.AnswerYes = true;
    core->FormClose();
    EXPECT_EQ(screen.SaveDialogShownWith.size(), 1);
    // The lock went with the program; the copy stays.
    EXPECT_EQ(FilesInFolder(QStringLiteral("*.rec")).size(), 1);
    core.reset();

    RecordingScreen again;
    std::unique_ptr<MainWindowCore> restored = StartAgain(again);
    EXPECT_EQ(again.RestoreQuestions, 1);
    EXPECT_TRUE(restored->Document.Modified);
    EXPECT_TRUE(AllPixels(restored->LayerImages()[0], kGreen));
}

// Memory that cannot be had now is no damage: the copy stays as it is for a later start.
TEST_F(RecoveryCoreTest, ACopyThatFindsNoMemoryStaysForALaterStart) {
    SKIP_WITHOUT_ADDRESS_SPACE_LIMIT();
    Fill(*core, kRed);
    WriteCopy();
    const QString copy = core->RecoveryCopyPath();
    core.reset();

    RecordingScreen again;
    auto started = std::make_unique<MainWindowCore>(again);
    started->FormCreate({}, dir.path());
    {
        const AddressSpaceLimit limit(kMiB);
        started->StartUpFinished();
    }
    EXPECT_EQ(again.RestoreQuestions, 1);
    EXPECT_EQ(again.Errors, QStringList{OutOfMemoryError().Text()});
    EXPECT_FALSE(started->Document.Modified);
    EXPECT_TRUE(QFile::exists(copy));
    EXPECT_EQ(FilesInFolder(QStringLiteral("*.damaged")), QStringList());
    EXPECT_EQ(FilesInFolder(QStringLiteral("*.tav")), QStringList());
    started.reset();

    RecordingScreen third;
    std::unique_ptr<MainWindowCore> restored = StartAgain(third);
    EXPECT_TRUE(third.Errors.isEmpty());
    EXPECT_TRUE(AllPixels(restored->LayerImages()[0], kRed));
}
