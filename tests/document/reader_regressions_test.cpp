// Inputs that once made a reader hang, crash or allocate far beyond what the file holds, found
// by fuzzing. Each must now be refused with the reader's message, quickly.
#include <gtest/gtest.h>

#include <QFile>
#include <cstdio>

#include <jpeglib.h>

#include <jerror.h>

#include "document/bmp_file.h"
#include "document/jpeg_codec.h"
#include "document/layered_document.h"

namespace {

QByteArray Data(const char* name) {
    QFile file(QStringLiteral(KASUMIRO_TEST_DATA "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

QString JpegRefusal(const QByteArray& bytes) {
    try {
        DecodeJpeg(bytes.constData(), std::size_t(bytes.size()));
    } catch (const UserError& e) {
        return e.Text();
    }
    return QStringLiteral("accepted");
}

// 174 bytes whose progressive frame asks for 16401 x 14345 pixels: libjpeg would fill 700 MB
// of grey for it.
TEST(ReaderRegressions, JpegFrameFarLargerThanItsBytesIsRefused) {
    EXPECT_EQ(JpegRefusal(Data("jpeg_huge_frame_in_174_bytes.jpg")),
              JpegError(JWRN_JPEG_EOF).Text());
}

}  // namespace
