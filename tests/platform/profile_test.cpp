// Profile strings: reads with defaults, writes that keep the file's layout.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "platform/profile.h"

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Spit(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class ProfileTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    std::string path = (dir.path() + "/kasumiro.ini").toStdString();
};

}  // namespace

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(Profile::ReadString(path, "Image", "Width", "400"), "400");
    Spit(path, "[Image]\nHeight=300\n");
    EXPECT_EQ(Profile::ReadString(path, "Image", "Width", "400"), "400");
    EXPECT_EQ(Profile::ReadString(path, "Other", "Height", "d"), "d");
    EXPECT_EQ(Profile::ReadString(path, "image", "HEIGHT", "d"), "300");
}

TEST_F(ProfileTest, WritesReplaceInPlaceAndAppendAtTheEndOfTheirSection) {
    Spit(path, "; my notes\n[A]\nx=1\ny=2\n\n[B]\nz=3\n");
    ASSERT_TRUE(Profile::WriteString(path, "A", "x", "10"));
    ASSERT_TRUE(Profile::WriteString(path, "A", "w", "4"));
    ASSERT_TRUE(Profile::WriteString(path, "C", "k", "5"));
    EXPECT_EQ(Slurp(path), "; my notes\n[A]\nx=10\ny=2\nw=4\n\n[B]\nz=3\n[C]\nk=5\n");
}

TEST_F(ProfileTest, WindowsLineEndsAreKept) {
    Spit(path, "[A]\r\nx=1\r\n");
    ASSERT_TRUE(Profile::WriteString(path, "A", "y", "2"));
    EXPECT_EQ(Slurp(path), "[A]\r\nx=1\r\ny=2\r\n");
    EXPECT_EQ(Profile::ReadString(path, "A", "x", ""), "1");
}

TEST_F(ProfileTest, LongValuesAreCut) {
    Spit(path, "[A]\nx=" + std::string(5000, '7') + "\n");
    EXPECT_EQ(Profile::ReadString(path, "A", "x", "").size(), 1023u);
}

TEST_F(ProfileTest, GarbageAndBinaryBytesDoNotConfuseReads) {
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 37) & 0xFF);
    Spit(path, junk + "\n[Image]\nWidth=123\n" + std::string(200000, 'q'));
    EXPECT_EQ(Profile::ReadString(path, "Image", "Width", "400"), "123");
    EXPECT_EQ(Profile::ReadString(path, "Image", "Height", "400"), "400");
    EXPECT_TRUE(Profile::WriteString(path, "Image", "Height", "5"));
    EXPECT_EQ(Profile::ReadString(path, "Image", "Height", "400"), "5");
}

TEST_F(ProfileTest, RefusedWriteReportsFailureAndLeavesNoFile) {
    const std::string bad = (dir.path() + "/missing/folder/k.ini").toStdString();
    EXPECT_FALSE(Profile::WriteString(bad, "A", "x", "1"));
    EXPECT_EQ(Profile::ReadString(bad, "A", "x", "d"), "d");
}
