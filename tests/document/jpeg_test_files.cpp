#include "jpeg_test_files.h"

#include <cstdint>
#include <cstdlib>

namespace {

// Where the marker FF <code> first (or last) occurs.
qsizetype Marker(const QByteArray& bytes, unsigned char code, bool last) {
    const QByteArray marker = QByteArray("\xFF", 1) + char(code);
    return last ? bytes.lastIndexOf(marker) : bytes.indexOf(marker);
}

}  // namespace

QByteArray EncodeTestJpeg(const TestJpeg& spec) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(spec.width);
    info.image_height = JDIMENSION(spec.height);
    info.input_components = spec.components;
    info.in_color_space =
        spec.components == 1 ? JCS_GRAYSCALE : (spec.components == 4 ? JCS_CMYK : JCS_RGB);
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, spec.stored);
    info.write_Adobe_marker = spec.adobeMarker ? TRUE : FALSE;
    if (spec.fullResolution)
        for (int i = 0; i < info.num_components; ++i)
            info.comp_info[i].h_samp_factor = info.comp_info[i].v_samp_factor = 1;
    jpeg_set_quality(&info, spec.quality, TRUE);
    if (spec.progressive) jpeg_simple_progression(&info);
    if (!spec.scans.empty()) {
        info.scan_info = spec.scans.data();
        info.num_scans = int(spec.scans.size());
    }
    info.arith_code = spec.arithmetic ? TRUE : FALSE;
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> line(std::size_t(spec.width) * std::size_t(spec.components));
    while (info.next_scanline < info.image_height) {
        const int y = int(info.next_scanline);
        for (int x = 0; x < spec.width; ++x)
            spec.pixel(x, y, &line[std::size_t(x) * std::size_t(spec.components)]);
        JSAMPROW p = line.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return bytes;
}

QByteArray JpegScanBomb(int side, int copies) {
    TestJpeg spec;
    spec.width = spec.height = side;
    spec.progressive = true;
    spec.pixel = [side](int x, int y, unsigned char* rgb) {
        rgb[0] = rgb[1] = rgb[2] = std::uint8_t((x + y) * 255 / (2 * side));
    };
    const QByteArray picture = EncodeTestJpeg(spec);
    // The last scan runs from its SOS marker to the EOI marker that ends the file.
    const qsizetype sos = Marker(picture, 0xDA, true);
    const qsizetype eoi = picture.size() - 2;
    const QByteArray scan = picture.mid(sos, eoi - sos);
    return picture.left(sos) + scan.repeated(copies) + picture.mid(eoi);
}

QByteArray JpegNoiseBehindHeader(int side, int bytes) {
    TestJpeg spec;
    spec.progressive = true;
    spec.fullResolution = true;
    spec.pixel = [](int x, int y, unsigned char* rgb) {
        rgb[0] = std::uint8_t(x * 16), rgb[1] = std::uint8_t(y * 16), rgb[2] = 99;
    };
    QByteArray header = EncodeTestJpeg(spec);
    // The progressive frame (FF C2): length, precision, then height and width.
    const qsizetype sof = Marker(header, 0xC2, false);
    header[sof + 5] = char(side >> 8);
    header[sof + 6] = char(side);
    header[sof + 7] = char(side >> 8);
    header[sof + 8] = char(side);
    const qsizetype sos = Marker(header, 0xDA, false);
    const int sosLength = std::uint8_t(header[sos + 2]) << 8 | std::uint8_t(header[sos + 3]);
    header.truncate(sos + 2 + sosLength);
    // Each FF is followed by 00, as an encoder stuffs it, so that no byte reads as a marker.
    QByteArray noise;
    noise.reserve(bytes + 1);
    std::uint32_t seed = 20240601;
    while (noise.size() < bytes) {
        seed = seed * 1664525u + 1013904223u;
        noise.append(char(seed >> 24));
        if (std::uint8_t(seed >> 24) == 0xFF) noise.append('\0');
    }
    return header + noise.left(bytes);
}

QByteArray JpegWithScans(int scans) {
    TestJpeg spec;
    spec.components = 1;
    spec.stored = JCS_GRAYSCALE;
    spec.pixel = [](int x, int y, unsigned char* grey) { *grey = std::uint8_t(x * y); };
    spec.scans.push_back({1, {0}, 0, 0, 0, 0});
    // libjpeg takes successive approximation down from bit 10 for 8-bit samples.
    for (int k = 1; k < 64; ++k) {
        spec.scans.push_back({1, {0}, k, k, 0, 10});
        for (int bit = 10; bit > 0; --bit) spec.scans.push_back({1, {0}, k, k, bit, bit - 1});
    }
    spec.scans.resize(std::size_t(scans));
    return EncodeTestJpeg(spec);
}
