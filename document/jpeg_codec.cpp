#include "document/jpeg_codec.h"

// libjpeg needs FILE and size_t declared before its header.
#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "document/document_errors.h"

// libjpeg's error exit cannot return, so it jumps back to the setjmp of the call that started
// the work. Those calls (RunEncoder, StartDecoder, StartOutput, ReadRows) hold only plain data, and
// no C++ frame lies between them and libjpeg: the jump skips no destructor. The C++ callers report
// the error once the plain call has returned.
namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;  // first: libjpeg hands back a pointer to it
    std::jmp_buf jump;
    int code;
};

void ExitWithCode(j_common_ptr info) {
    auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
    trap->code = info->err->msg_code;
    std::longjmp(trap->jump, 1);
}

// Warnings (a file cut short, say) are not errors: the picture is decoded as far as it goes.
// A scan out of sequence (refining what nothing coded, coding the same bits again) is: no
// encoder writes one, and only such scans can make the decoder repeat its work without end.
void OnMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_BOGUS_PROGRESSION) ExitWithCode(info);
}

jpeg_error_mgr* InstallTrap(ErrorTrap& trap) {
    jpeg_std_error(&trap.manager);
    trap.manager.error_exit = ExitWithCode;
    trap.manager.emit_message = OnMessage;
    return &trap.manager;
}

// ---- Encoding into a growing malloc'd buffer ----

constexpr std::size_t kFirstBuffer = 64 * 1024;

struct Destination {
    jpeg_destination_mgr manager;  // first: libjpeg hands back a pointer to it
    unsigned char* buffer;
    std::size_t capacity;
};

void InitDestination(j_compress_ptr) {}
void TermDestination(j_compress_ptr) {}

boolean GrowDestination(j_compress_ptr info) {
    auto* d = reinterpret_cast<Destination*>(info->dest);
    const std::size_t grown = d->capacity * 2;
    auto* p = static_cast<unsigned char*>(std::realloc(d->buffer, grown));
    if (!p) ERREXIT(info, JERR_OUT_OF_MEMORY);
    d->buffer = p;
    d->manager.next_output_byte = p + d->capacity;
    d->manager.free_in_buffer = grown - d->capacity;
    d->capacity = grown;
    return TRUE;
}

struct EncodeJob {
    jpeg_compress_struct info;
    ErrorTrap trap;
    Destination dest;
    const unsigned char* const* rows;
    int width;
    int height;
    int quality;
    bool progressive;
};

bool RunEncoder(EncodeJob* job) {
    job->info.err = InstallTrap(job->trap);
    if (setjmp(job->trap.jump)) return false;
    jpeg_create_compress(&job->info);
    job->dest.buffer = static_cast<unsigned char*>(std::malloc(kFirstBuffer));
    if (!job->dest.buffer) ERREXIT(&job->info, JERR_OUT_OF_MEMORY);
    job->dest.capacity = kFirstBuffer;
    job->dest.manager.init_destination = InitDestination;
    job->dest.manager.empty_output_buffer = GrowDestination;
    job->dest.manager.term_destination = TermDestination;
    job->dest.manager.next_output_byte = job->dest.buffer;
    job->dest.manager.free_in_buffer = kFirstBuffer;
    job->info.dest = &job->dest.manager;
    job->info.image_width = JDIMENSION(job->width);
    job->info.image_height = JDIMENSION(job->height);
    job->info.input_components = 3;
    job->info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&job->info);
    jpeg_set_quality(&job->info, job->quality, TRUE);
    if (job->progressive) jpeg_simple_progression(&job->info);
    jpeg_start_compress(&job->info, TRUE);
    while (job->info.next_scanline < job->info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(job->rows[job->info.next_scanline]);
        jpeg_write_scanlines(&job->info, &row, 1);
    }
    jpeg_finish_compress(&job->info);
    return true;
}

// ---- Decoding ----

// More scans than any real file has: libjpeg's own progression uses ten, and its tools take
// scripts of a hundred at most. Each scan may walk the whole picture again.
constexpr int kMaxScans = 500;
// libjpeg's tables and row buffers, beside the coefficients of a buffered picture.
constexpr std::uint64_t kDecoderWorkingBytes = std::uint64_t(64) << 20;

struct DecodeJob {
    jpeg_decompress_struct info;
    ErrorTrap trap;
    jpeg_progress_mgr progress;
    const unsigned char* data;
    unsigned long size;
};

// Called by libjpeg as it reads: a file still going after kMaxScans scans is refused.
void LimitScans(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans)
        ERREXIT(info, JERR_BAD_PROGRESSION);
}

bool IsCmyk(const jpeg_decompress_struct& info) {
    return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

bool StartDecoder(DecodeJob* job) {
    job->info.err = InstallTrap(job->trap);
    if (setjmp(job->trap.jump)) return false;
    jpeg_create_decompress(&job->info);
    job->progress.progress_monitor = LimitScans;
    job->info.progress = &job->progress;
    jpeg_mem_src(&job->info, job->data, job->size);
    jpeg_read_header(&job->info, TRUE);
    // libjpeg turns YCCK into CMYK but neither into RGB: that is done row by row below.
    job->info.out_color_space = IsCmyk(job->info) ? JCS_CMYK : JCS_EXT_BGR;
    job->info.scale_num = 1;
    job->info.scale_denom = 1;
    return true;
}

// Reads every scan of a buffered picture before the first row comes out.
bool StartOutput(DecodeJob* job) {
    if (setjmp(job->trap.jump)) return false;
    jpeg_start_decompress(&job->info);
    return true;
}

// CMYK as ink: each colour's light is what its ink and the black ink both let through. Files
// with Adobe's marker (the print workflows' own) store every ink inverted, 255 for none.
void CmykToBgr(const unsigned char* cmyk, unsigned char* bgr, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned flip = inverted ? 0 : 255;
        const unsigned k = cmyk[3] ^ flip;
        bgr[2] = static_cast<unsigned char>(((cmyk[0] ^ flip) * k + 127) / 255);
        bgr[1] = static_cast<unsigned char>(((cmyk[1] ^ flip) * k + 127) / 255);
        bgr[0] = static_cast<unsigned char>(((cmyk[2] ^ flip) * k + 127) / 255);
    }
}

// cmyk: a row of four bytes a pixel for CMYK pictures, else unused.
bool ReadRows(DecodeJob* job, unsigned char* const* rows, unsigned char* cmyk) {
    if (setjmp(job->trap.jump)) return false;
    while (job->info.output_scanline < job->info.output_height) {
        unsigned char* row = rows[job->info.output_scanline];
        JSAMPROW into = cmyk ? cmyk : row;
        jpeg_read_scanlines(&job->info, &into, 1);
        if (cmyk) CmykToBgr(cmyk, row, job->info.output_width, job->info.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&job->info);
    return true;
}

// A Huffman-coded scan spends at least a bit on every block it codes, and a real file's first
// scan codes every block of its components (all of them, or the DC of a progression). A file
// smaller than that is cut short or forged: a few bytes must not make us allocate and fill
// gigabytes. Arithmetic coding goes far below a bit a block (a uniform 8192 x 8192 grey
// picture is 127 bytes); the scan limit and the memory check bound those.
bool TooSmallForItsFirstScan(const jpeg_decompress_struct& info, std::size_t size) {
    if (info.arith_code) return false;
    std::uint64_t blocks = 0;
    if (info.comps_in_scan == 1) {
        const jpeg_component_info& c = *info.cur_comp_info[0];
        blocks = std::uint64_t(c.width_in_blocks) * c.height_in_blocks;
    } else {
        const std::uint64_t mcuWidth = 8u * std::uint64_t(std::max(info.max_h_samp_factor, 1));
        const std::uint64_t mcuHeight = 8u * std::uint64_t(std::max(info.max_v_samp_factor, 1));
        const std::uint64_t mcus = (info.image_width + mcuWidth - 1) / mcuWidth *
                                   ((info.image_height + mcuHeight - 1) / mcuHeight);
        std::uint64_t perMcu = 0;
        for (int i = 0; i < info.comps_in_scan; ++i)
            perMcu += std::uint64_t(info.cur_comp_info[i]->h_samp_factor) *
                      std::uint64_t(info.cur_comp_info[i]->v_samp_factor);
        blocks = mcus * perMcu;
    }
    return std::uint64_t(size) < blocks / 8;
}

std::uint64_t RoundUp(std::uint64_t n, int step) {
    const std::uint64_t s = std::uint64_t(std::max(step, 1));
    return (n + s - 1) / s * s;
}

// What libjpeg itself will hold: a progressive or multi-scan file keeps the coefficients of
// every block (64 two-byte values, each component padded to whole MCUs) until its last scan.
std::uint64_t DecoderBytes(const jpeg_decompress_struct& info) {
    std::uint64_t bytes = kDecoderWorkingBytes;
    if (!info.progressive_mode && info.comps_in_scan == info.num_components) return bytes;
    for (int i = 0; i < info.num_components; ++i) {
        const jpeg_component_info& c = info.comp_info[i];
        bytes += RoundUp(c.width_in_blocks, c.h_samp_factor) *
                 RoundUp(c.height_in_blocks, c.v_samp_factor) * sizeof(JBLOCK);
    }
    return bytes;
}

// Frees libjpeg's state however the C++ side leaves.
struct DecoderGuard {
    DecodeJob& job;
    ~DecoderGuard() { jpeg_destroy_decompress(&job.info); }
};

}  // namespace

JpegError::JpegError(int code) : UserError(QStringLiteral("JPEG ｴﾗｰ #%1").arg(code)), code_(code) {}

QByteArray EncodeJpeg(const Bitmap& picture, int quality, bool progressive) {
    std::vector<const unsigned char*> rows(std::size_t(std::max(picture.Height(), 0)));
    for (int y = 0; y < picture.Height(); ++y) rows[std::size_t(y)] = picture.ConstScanLine(y);
    EncodeJob job{};
    job.rows = rows.data();
    job.width = picture.Width();
    job.height = picture.Height();
    job.quality = quality;
    job.progressive = progressive;
    const bool ok = RunEncoder(&job);
    QByteArray out;
    if (ok) {
        const std::size_t used = job.dest.capacity - job.dest.manager.free_in_buffer;
        out = QByteArray(reinterpret_cast<const char*>(job.dest.buffer), qsizetype(used));
    }
    jpeg_destroy_compress(&job.info);
    std::free(job.dest.buffer);
    if (!ok) throw JpegError(job.trap.code);
    return out;
}

Bitmap DecodeJpeg(const char* data, std::size_t size) {
    DecodeJob job{};
    DecoderGuard guard{job};
    job.data = reinterpret_cast<const unsigned char*>(data);
    job.size = static_cast<unsigned long>(size);
    if (!StartDecoder(&job)) throw JpegError(job.trap.code);
    const int width = int(job.info.image_width);
    const int height = int(job.info.image_height);
    CheckPictureSize(job.info.image_width, job.info.image_height);
    if (TooSmallForItsFirstScan(job.info, size)) throw JpegError(JWRN_JPEG_EOF);
    // The picture and libjpeg's own buffers are counted together, and libjpeg may take no
    // more than its share.
    const std::uint64_t decoderBytes = DecoderBytes(job.info);
    const std::uint64_t pictureBytes =
        (std::uint64_t(width) * 3 + 3) / 4 * 4 * std::uint64_t(height);
    if (!FitsInMemory(pictureBytes + decoderBytes)) throw PictureTooLarge();
    job.info.mem->max_memory_to_use = long(decoderBytes);
    if (!StartOutput(&job)) throw JpegError(job.trap.code);
    Bitmap picture;
    std::vector<unsigned char*> rows;
    std::vector<unsigned char> cmyk;
    try {
        picture.MakeWhite(width, height);
        rows.resize(std::size_t(height));
        for (int y = 0; y < height; ++y) rows[std::size_t(y)] = picture.ScanLine(y);
        if (IsCmyk(job.info)) cmyk.resize(std::size_t(width) * 4);
    } catch (const std::bad_alloc&) {
        throw PictureTooLarge();
    }
    if (!ReadRows(&job, rows.data(), cmyk.empty() ? nullptr : cmyk.data()))
        throw JpegError(job.trap.code);
    return picture;
}
