#pragma once
// The runtime's input/output error numbers and their Japanese texts, as the user sees them
// in the standard error box.
#include <stdexcept>
#include <string>

#include <QString>

enum InOutErrorCode {
    ioFileNotFound = 2,
    ioPathNotFound = 3,
    ioTooManyOpenFiles = 4,
    ioAccessDenied = 5,
    ioReadBeyondEnd = 100,
    ioDiskFull = 101,
};

// The message text for an I/O error number ("ﾌｧｲﾙが見つかりません", "I/O ｴﾗｰ (%d)", ...).
QString InOutErrorText(int code);
// The I/O error number for a system errno value.
int InOutErrorFromErrno(int error);

// An error the user is shown in the standard error box, with its text.
class UserError : public std::runtime_error {
  public:
    explicit UserError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& Text() const { return text_; }

  private:
    QString text_;
};

// An input/output failure carrying its runtime error number.
class InOutError : public UserError {
  public:
    explicit InOutError(int code) : UserError(InOutErrorText(code)), code_(code) {}
    int Code() const { return code_; }

  private:
    int code_;
};

// The runtime's error for memory that cannot be had: "ﾒﾓﾘ不足です".
class OutOfMemoryError : public UserError {
  public:
    OutOfMemoryError();
};

// Throws the InOutError that matches the current errno.
[[noreturn]] void ThrowInOutErrorFromErrno();
