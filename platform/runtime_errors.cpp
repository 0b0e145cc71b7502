#include "platform/runtime_errors.h"

#include <cerrno>

QString InOutErrorText(int code) {
    switch (code) {
        case ioFileNotFound:
            return QStringLiteral("ﾌｧｲﾙが見つかりません");
        case ioPathNotFound:
            return QStringLiteral("ﾊﾟｽが見つかりません");
        case ioTooManyOpenFiles:
            return QStringLiteral("開いているﾌｧｲﾙが多すぎます");
        case ioAccessDenied:
            return QStringLiteral("ﾌｧｲﾙへのｱｸｾｽが拒否されました");
        case ioReadBeyondEnd:
            return QStringLiteral("ﾌｧｲﾙの末尾以降を読み込みました");
        case ioDiskFull:
            return QStringLiteral("ﾃﾞｨｽｸがいっぱいです");
        default:
            return QStringLiteral("I/O ｴﾗｰ (%1)").arg(code);
    }
}

int InOutErrorFromErrno(int error) {
    switch (error) {
        case ENOENT:
            return ioFileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
            return ioPathNotFound;
        case EMFILE:
        case ENFILE:
            return ioTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return ioAccessDenied;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return ioDiskFull;
        default:
            return error;
    }
}

OutOfMemoryError::OutOfMemoryError() : UserError(QStringLiteral("ﾒﾓﾘ不足です")) {}

void ThrowInOutErrorFromErrno() {
    throw InOutError(InOutErrorFromErrno(errno));
}
