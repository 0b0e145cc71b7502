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
// the work. Those calls (RunEncoder, StartDecoder, FinishDecoder) hold only plain data, and no
// C++ frame lies between them and libjpeg: the jump skips no destructor. The C++ callers
// report the error once the plain call has returned.
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
void Quiet(j_common_ptr) {}

jpeg_error_mgr* InstallTrap(ErrorTrap& trap) {
    jpeg_std_error(&trap.manager);
    trap.manager.error_exit = ExitWithCode;
    trap.manager.output_message = Quiet;
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

struct DecodeJob {
    jpeg_decompress_struct info;
    ErrorTrap trap;
    const unsigned char* data;
    unsigned long size;
};

bool StartDecoder(DecodeJob* job) {
    job->info.err = InstallTrap(job->trap);
    if (setjmp(job->trap.jump)) return false;
    jpeg_create_decompress(&job->info);
    jpeg_mem_src(&job->info, job->data, job->size);
    jpeg_read_header(&job->info, TRUE);
    job->info.out_color_space = JCS_EXT_BGR;
    job->info.scale_num = 1;
    job->info.scale_denom = 1;
    return true;
}

bool FinishDecoder(DecodeJob* job, unsigned char* const* rows) {
    if (setjmp(job->trap.jump)) return false;
    jpeg_start_decompress(&job->info);
    while (job->info.output_scanline < job->info.output_height) {
        JSAMPROW row = rows[job->info.output_scanline];
        jpeg_read_scanlines(&job->info, &row, 1);
    }
    jpeg_finish_decompress(&job->info);
    return true;
}

// A Huffman-coded picture spends at least one bit on every MCU of its first scan, so a file
// smaller than that is cut short or forged: a few bytes must not make us allocate and fill
// gigabytes. Arithmetic coding can go below a bit per MCU, but no real picture comes near a
// byte per thousand MCUs.
bool TooSmallForItsSize(const jpeg_decompress_struct& info, std::size_t size) {
    const std::uint64_t mcuWidth = 8u * std::uint64_t(std::max(info.max_h_samp_factor, 1));
    const std::uint64_t mcuHeight = 8u * std::uint64_t(std::max(info.max_v_samp_factor, 1));
    const std::uint64_t mcus = (info.image_width + mcuWidth - 1) / mcuWidth *
                               ((info.image_height + mcuHeight - 1) / mcuHeight);
    return std::uint64_t(size) < mcus / (info.arith_code ? 1024 : 8);
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
    if (TooSmallForItsSize(job.info, size)) throw JpegError(JWRN_JPEG_EOF);
    Bitmap picture;
    std::vector<unsigned char*> rows;
    try {
        picture.MakeWhite(width, height);
        rows.resize(std::size_t(height));
        for (int y = 0; y < height; ++y) rows[std::size_t(y)] = picture.ScanLine(y);
    } catch (const std::bad_alloc&) {
        throw PictureTooLarge();
    }
    if (!FinishDecoder(&job, rows.data())) throw JpegError(job.trap.code);
    return picture;
}
