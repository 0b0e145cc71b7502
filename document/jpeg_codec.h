#pragma once
// JPEG coding through libjpeg: full-size 24-bit decoding, encoding with a quality from 1 to 100
// and, when asked, libjpeg's standard progressive scan script.
#include <cstddef>

#include <QByteArray>

#include "platform/bitmap.h"
#include "platform/runtime_errors.h"

// libjpeg refused the data or failed: "JPEG ｴﾗｰ #n", n being libjpeg's message code.
class JpegError : public UserError {
  public:
    explicit JpegError(int code);
    int Code() const { return code_; }

  private:
    int code_;
};

// The encoder's settings when nobody chose others.
inline constexpr int kDefaultJpegQuality = 90;

// The JPEG file for picture. Throws JpegError.
QByteArray EncodeJpeg(const Bitmap& picture, int quality, bool progressive);

// Decodes a JPEG file held in memory, CMYK and YCCK converted to RGB. Its size, and the memory
// libjpeg will hold for it, are checked against the limits before anything is allocated, and
// libjpeg may take no more; a file with more scans than any real one, or with a scan out of
// sequence, is refused as it is read. Throws JpegError or PictureTooLarge.
Bitmap DecodeJpeg(const char* data, std::size_t size);
