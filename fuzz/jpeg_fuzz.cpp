// JPEG pictures go through libjpeg with our error handling around it: a broken file must come
// back as "JPEG ｴﾗｰ #n" or a refused size, never as a jump across our objects or a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "document/jpeg_codec.h"
#include "jpeg_frame_limit.h"
#include "platform/runtime_errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (AsksForALargeArithmeticFrame(data, size)) return 0;
    Bitmap picture;
    try {
        picture = DecodeJpeg(reinterpret_cast<const char*>(data), size);
    } catch (const UserError&) {
        return 0;
    }
    // What decodes must encode again, small pictures in full.
    if (picture.Width() * picture.Height() <= 256 * 256) {
        const QByteArray again = EncodeJpeg(picture, 75, size % 2 == 1);
        const Bitmap back = DecodeJpeg(again.constData(), std::size_t(again.size()));
        if (back.Width() != picture.Width() || back.Height() != picture.Height()) std::abort();
    }
    return 0;
}
