// Shift-JIS conversion and the runtime's error texts.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/runtime_errors.h"
#include "platform/shift_jis.h"

TEST(ShiftJis, RoundTripsTheProgramsOwnTexts) {
    EXPECT_EQ(ToShiftJis(QStringLiteral("○")), std::string("\x81\x9b"));
    EXPECT_EQ(ToShiftJis(QStringLiteral("×")), std::string("\x81\x7e"));
    const std::string name = ToShiftJis(QStringLiteral("新規レイヤ1"));
    EXPECT_EQ(name, std::string("\x90\x56\x8b\x4b\x83\x8c\x83\x43\x83\x84\x31"));
    for (const QString& s : {QStringLiteral("○"), QStringLiteral("×"),
                             QStringLiteral("新規レイヤ1"), QStringLiteral("ﾌｧｲﾙ")})
        EXPECT_EQ(FromShiftJis(ToShiftJis(s)), s);
}

// Characters that only the Windows code page has: stored names and Readme files use them.
TEST(ShiftJis, CharactersOfTheWindowsCodePageRoundTrip) {
    const struct {
        QString text;
        std::string bytes;
    } cases[] = {
        {QStringLiteral("①"), "\x87\x40"},
        {QStringLiteral("～"), "\x81\x60"},  // the full-width tilde, not the wave dash
        {QStringLiteral("髙"), "\xfb\xfc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToShiftJis(c.text), c.bytes);
        EXPECT_EQ(FromShiftJis(c.bytes), c.text);
    }
}

TEST(ShiftJis, UnmappableAndBrokenInputDoNotFail) {
    EXPECT_EQ(ToShiftJis(QStringLiteral("a😀b")), std::string("a?b"));
    const QString broken = FromShiftJis(std::string("a\x81"));
    EXPECT_TRUE(broken.startsWith('a'));
}

TEST(RuntimeErrors, SystemErrorsMapToTheRuntimesTexts) {
    EXPECT_EQ(InOutErrorText(InOutErrorFromErrno(ENOENT)), QStringLiteral("ﾌｧｲﾙが見つかりません"));
    EXPECT_EQ(InOutErrorText(InOutErrorFromErrno(EACCES)),
              QStringLiteral("ﾌｧｲﾙへのｱｸｾｽが拒否されました"));
    EXPECT_EQ(InOutErrorText(InOutErrorFromErrno(ENOSPC)), QStringLiteral("ﾃﾞｨｽｸがいっぱいです"));
    EXPECT_EQ(InOutErrorText(ioReadBeyondEnd), QStringLiteral("ﾌｧｲﾙの末尾以降を読み込みました"));
    EXPECT_EQ(InOutErrorText(1117), QStringLiteral("I/O ｴﾗｰ (1117)"));
}
