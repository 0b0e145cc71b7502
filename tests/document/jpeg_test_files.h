#pragma once
// JPEG files made by libjpeg itself for the tests: the kinds other programs write (CMYK,
// arithmetic coding, full-resolution colour) and small files that ask a decoder for far more
// work or memory than a picture needs, so that no file of their decoded size is kept in the
// sources.
#include <functional>
#include <vector>

#include <QByteArray>

#include <jpeglib.h>

struct TestJpeg {
    int width = 16;
    int height = 16;
    // 1 (grey), 3 (RGB) or 4 (CMYK) bytes a pixel, written for each pixel by `pixel`.
    int components = 3;
    std::function<void(int x, int y, unsigned char* out)> pixel;
    // What the file holds: JCS_GRAYSCALE, JCS_YCbCr, JCS_CMYK or JCS_YCCK.
    J_COLOR_SPACE stored = JCS_YCbCr;
    bool adobeMarker = true;      // libjpeg writes one for CMYK and YCCK unless told not to
    bool fullResolution = false;  // every component 1 x 1 (else libjpeg's 4:2:0 for colour)
    bool progressive = false;
    bool arithmetic = false;
    int quality = 75;
    // A scan script of our own, instead of libjpeg's (progressive) or none.
    std::vector<jpeg_scan_info> scans;
};

QByteArray EncodeTestJpeg(const TestJpeg& spec);

// A progressive picture of side x side pixels (a smooth grey ramp, colour, 4:2:0) whose last
// scan is written `copies` times instead of once.
QByteArray JpegScanBomb(int side, int copies);

// The headers of a small progressive 4:4:4 colour picture, up to and including its first scan
// header, with the frame's size changed to side x side, followed by `bytes` random bytes of
// entropy-coded data.
QByteArray JpegNoiseBehindHeader(int side, int bytes);

// A grey picture whose progression is in order but takes `scans` scans (at most 694): the DC,
// then each AC coefficient on its own, one bit after another.
QByteArray JpegWithScans(int scans);
