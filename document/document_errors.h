#pragma once
// What a picture file may ask of us, and the errors that refuse it. Every reader checks sizes
// against these limits and against the bytes actually present before it allocates anything.
#include <cstdint>

#include <QString>

#include "platform/runtime_errors.h"

// Pictures are addressed with 16-bit coordinates.
inline constexpr int kMaxPictureSide = 32767;

// A layered document of another format version; shown with a beep in a plain message box.
class UnsupportedVersionError : public UserError {
  public:
    UnsupportedVersionError();
};

// "画像ﾌｫｰﾏｯﾄが不正です": a bitmap file that is not one.
UserError InvalidPictureFormat();
// A layered document whose structure is broken (counts or sizes no writer makes).
UserError DamagedDocument();
// A picture larger than 32767 pixels a side or than the memory we can give it.
UserError PictureTooLarge();
// A file that ends before the data its header announces.
InOutError ReadBeyondEnd();

// Whether the machine can hold this many bytes of pictures besides what it holds already.
bool FitsInMemory(std::uint64_t bytes);
// Throws PictureTooLarge unless width x height is a picture we can make (count pictures of it).
void CheckPictureSize(std::int64_t width, std::int64_t height, std::int64_t count = 1);
