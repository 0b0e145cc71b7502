// The command-line export under an address-space limit: a picture that cannot be composed in
// the memory left is refused with the runtime's message and exit status 1, never an abort, and
// no output file appears.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "document/picture_files.h"
#include "support/address_space_limit.h"

TEST(ExportMemory, APictureTooLargeForTheLimitIsRefusedWithStatusOne) {
    SKIP_WITHOUT_ADDRESS_SPACE_LIMIT();
    QTemporaryDir dir;
    // 8192 x 8192 is 201 MB decoded, in a white JPEG of a few hundred kilobytes. Under the limit
    // it can be decoded but not composed as well.
    const QString in = dir.filePath(QStringLiteral("big.jpg"));
    SaveJpegFile(in, Bitmap(8192, 8192), 75, false);
    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    QProcess export_;
    export_.setProcessEnvironment([] {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        return env;
    }());
    export_.start(QStringLiteral("sh"),
                  {QStringLiteral("-c"), QStringLiteral("ulimit -v 450000 && exec \"$0\" \"$@\""),
                   QStringLiteral(KASUMIRO_EXECUTABLE), QStringLiteral("--export"), out, in});
    ASSERT_TRUE(export_.waitForFinished(60000));
    EXPECT_EQ(export_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(export_.exitCode(), 1);
    const QString said = QString::fromUtf8(export_.readAllStandardError());
    EXPECT_TRUE(said.contains(in + QStringLiteral(": ﾒﾓﾘ不足です"))) << said.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}
