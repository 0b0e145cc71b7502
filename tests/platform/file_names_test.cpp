// File names keep the system's bytes in both directions, valid UTF-8 or not.
#include <gtest/gtest.h>

#include "platform/file_names.h"

namespace {

TEST(FileNames, EveryByteStringComesBackAndUtf8ReadsAsText) {
    const struct {
        const char* what;
        QByteArray bytes;
        bool utf8;
    } cases[] = {
        {"ascii", "picture.bmp", true},
        {"japanese", "\xE7\xB5\xB5.tav", true},
        {"outside the basic plane", "\xF0\x9F\x96\x8C.jpg", true},
        {"latin-1", "latin\xE9.bmp", false},
        {"byte FF", "bad\xFF.bmp", false},
        {"cut sequence", "\xE7\xB5.bmp", false},
        {"overlong slash", "\xC0\xAF", false},
        {"encoded surrogate", "\xED\xB2\x80", false},
        {"beyond Unicode", "\xF4\x90\x80\x80", false},
        {"lone continuation bytes", "\x80\xBF", false},
    };
    for (const auto& c : cases) {
        const QString name = FileNameFromBytes(c.bytes);
        EXPECT_EQ(FileNameBytes(name), c.bytes) << c.what;
        if (c.utf8) {
            EXPECT_EQ(name, QString::fromUtf8(c.bytes)) << c.what;
        } else {
            EXPECT_FALSE(name.contains(QChar(0xFFFD))) << c.what;
        }
    }
}

}  // namespace
