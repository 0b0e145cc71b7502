#include "document/document_errors.h"

#include <unistd.h>

UnsupportedVersionError::UnsupportedVersionError()
    : UserError(QStringLiteral("このバージョンのファイルには対応していません。")) {}

UserError InvalidPictureFormat() {
    return UserError(QStringLiteral("画像ﾌｫｰﾏｯﾄが不正です"));
}

UserError DamagedDocument() {
    return UserError(QStringLiteral("ファイルの内容が壊れているため開けません。"));
}

UserError PictureTooLarge() {
    return UserError(QStringLiteral("画像が大きすぎるため開けません。"));
}

InOutError ReadBeyondEnd() {
    return InOutError(ioReadBeyondEnd);
}

bool FitsInMemory(std::uint64_t bytes) {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return true;
    // Half the machine: the picture also needs its undo snapshots and a composite.
    const std::uint64_t physical = std::uint64_t(pages) * std::uint64_t(pageSize);
    return bytes <= physical / 2;
}

void CheckPictureSize(std::int64_t width, std::int64_t height, std::int64_t count) {
    if (width > kMaxPictureSide || height > kMaxPictureSide) throw PictureTooLarge();
    const std::uint64_t stride = (std::uint64_t(width) * 3 + 3) & ~std::uint64_t(3);
    if (!FitsInMemory(stride * std::uint64_t(height) * std::uint64_t(count)))
        throw PictureTooLarge();
}
