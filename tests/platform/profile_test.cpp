// Profile strings: reads with defaults, writes that keep the file's layout.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdio>
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

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
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

TEST_F(ProfileTest, SectionAndKeyNamesMatchRegardlessOfCaseWhenWriting) {
    Spit(path, "[image]\nwidth=1\n");
    ASSERT_TRUE(Profile::WriteString(path, "IMAGE", "Width", "2"));
    EXPECT_EQ(Slurp(path), "[image]\nWidth=2\n");
}

TEST_F(ProfileTest, AByteOrderMarkNeitherHidesTheFirstSectionNorIsLost) {
    Spit(path, "\xEF\xBB\xBF[Image]\nWidth=123\n");
    EXPECT_EQ(Profile::ReadString(path, "Image", "Width", "400"), "123");
    ASSERT_TRUE(Profile::WriteString(path, "Image", "Width", "5"));
    EXPECT_EQ(Slurp(path), "\xEF\xBB\xBF[Image]\nWidth=5\n");
}

TEST_F(ProfileTest, AReadOnlyFileIsRefusedAndLeftAlone) {
    Spit(path, "[A]\nx=1\n");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(Profile::WriteString(path, "A", "x", "2"));
    EXPECT_EQ(Slurp(path), "[A]\nx=1\n");
    EXPECT_EQ(ModeOf(path), 0444u);
}

TEST_F(ProfileTest, AWritableFileKeepsItsMode) {
    Spit(path, "[A]\nx=1\n");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(Profile::WriteString(path, "A", "x", "2"));
    EXPECT_EQ(ModeOf(path), 0640u);
}

TEST_F(ProfileTest, WritesGoThroughASymbolicLinkToItsTarget) {
    const std::string target = (dir.path() + "/real.ini").toStdString();
    Spit(target, "[A]\nx=1\n");
    ASSERT_EQ(symlink("real.ini", path.c_str()), 0);
    ASSERT_TRUE(Profile::WriteString(path, "A", "x", "2"));
    struct stat st {};
    ASSERT_EQ(lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(Slurp(target), "[A]\nx=2\n");
}

TEST_F(ProfileTest, ALeftoverFolderBesideTheFileDoesNotBlockWrites) {
    ASSERT_EQ(mkdir((path + ".tmp~").c_str(), 0755), 0);
    EXPECT_TRUE(Profile::WriteString(path, "A", "x", "1"));
    EXPECT_EQ(Slurp(path), "[A]\nx=1\n");
}

// A FIFO would block the start and /dev/zero never ends; neither is read.
TEST_F(ProfileTest, WhatIsNoRegularFileGivesDefaultsAndRefusesWrites) {
    const std::string fifo = (dir.path() + "/fifo").toStdString();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const std::string folder = (dir.path() + "/folder").toStdString();
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    for (const std::string& target : {fifo, std::string("/dev/zero"), folder}) {
        SCOPED_TRACE(target);
        std::remove(path.c_str());
        ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0);
        EXPECT_EQ(Profile::ReadString(path, "A", "x", "d"), "d");
        EXPECT_FALSE(Profile::WriteString(path, "A", "x", "1"));
    }
}
