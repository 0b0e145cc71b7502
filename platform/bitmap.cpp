#include "platform/bitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

// New pixel memory. The pages of a large buffer are mapped in one request rather than one
// fault at a time as they are first written, which takes about a third off the first touch of
// a new picture. A kernel without the request leaves the pages to their first write.
std::unique_ptr<std::uint8_t[]> NewPixelMemory(std::size_t bytes) {
    std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[bytes]);
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    constexpr std::size_t kLarge = std::size_t(1) << 20;
    if (bytes >= kLarge) {
        const auto page = std::uintptr_t(sysconf(_SC_PAGESIZE));
        const auto begin = (std::uintptr_t(data.get()) + page - 1) & ~(page - 1);
        const auto end = (std::uintptr_t(data.get()) + bytes) & ~(page - 1);
        if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
    }
#endif
    return data;
}

// One white row shared by every lazily white bitmap for reading.
const std::uint8_t* WhiteRow(int stride) {
    static std::vector<std::uint8_t> row;
    if (static_cast<int>(row.size()) < stride) row.assign(static_cast<std::size_t>(stride), 0xFF);
    return row.data();
}

}  // namespace

Bitmap::Bitmap(int width, int height) {
    MakeWhite(width, height);
}

Bitmap::Bitmap(const Bitmap& other) {
    CopyFrom(other);
}

Bitmap& Bitmap::operator=(const Bitmap& other) {
    if (this != &other) CopyFrom(other);
    return *this;
}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : width_(other.width_),
      height_(other.height_),
      stride_(other.stride_),
      capacity_(other.capacity_),
      data_(std::move(other.data_)),
      shown_(other.shown_) {
    other.width_ = other.height_ = other.stride_ = 0;
    other.capacity_ = 0;
    other.shown_ = nullptr;
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    // A bitmap that shows this one's pixels has nothing else to give.
    if (this != &other && other.shown_ != this) {
        width_ = other.width_;
        height_ = other.height_;
        stride_ = other.stride_;
        capacity_ = other.capacity_;
        data_ = std::move(other.data_);
        shown_ = other.shown_;
    }
    if (this != &other) {
        other.width_ = other.height_ = other.stride_ = 0;
        other.capacity_ = 0;
        other.data_.reset();
        other.shown_ = nullptr;
    }
    return *this;
}

void Bitmap::ShowPixelsOf(Bitmap& source) {
    if (&source == this || source.shown_) return;
    data_.reset();
    capacity_ = 0;
    shown_ = &source;
}

void Bitmap::StopShowing() {
    if (!shown_) return;
    width_ = shown_->width_;
    height_ = shown_->height_;
    stride_ = shown_->stride_;
    shown_ = nullptr;
}

void Bitmap::OwnPixels() {
    if (shown_) CopyFrom(*shown_);
}

void Bitmap::MakeWhite(int width, int height) {
    StopShowing();
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (data_ && width == width_ && height == height_) {
        std::memset(data_.get(), 0xFF, capacity_);
        return;
    }
    data_.reset();
    capacity_ = 0;
    width_ = width;
    height_ = height;
    stride_ = StrideFor(width);
}

void Bitmap::ReleaseToWhite() {
    StopShowing();
    data_.reset();
    capacity_ = 0;
}

void Bitmap::Allocate() {
    const std::size_t size = static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_);
    data_ = NewPixelMemory(size);
    capacity_ = size;
    std::memset(data_.get(), 0xFF, capacity_);
}

void Bitmap::HoldMemory() {
    // A bitmap that shows another's pixels writes into that one's memory.
    if (IsLazyWhite()) Pixels().Allocate();
}

void Bitmap::Fill(TColor colour) {
    StopShowing();
    if (Empty()) return;
    if (SameColour(colour, clWhite)) {
        if (data_) std::memset(data_.get(), 0xFF, capacity_);
        return;
    }
    if (!data_) Allocate();
    const std::uint8_t b = static_cast<std::uint8_t>(BlueOf(colour));
    const std::uint8_t g = static_cast<std::uint8_t>(GreenOf(colour));
    const std::uint8_t r = static_cast<std::uint8_t>(RedOf(colour));
    std::uint8_t* first = data_.get();
    for (int x = 0; x < width_; ++x) {
        first[x * 3] = b;
        first[x * 3 + 1] = g;
        first[x * 3 + 2] = r;
    }
    for (int y = 1; y < height_; ++y)
        std::memcpy(first + std::size_t(y) * stride_, first, std::size_t(width_) * 3);
}

void Bitmap::CopyFrom(const Bitmap& from) {
    const Bitmap& other = from.Pixels();
    if (this == &other) return;
    if (!other.data_) {
        // The source is white (or empty): so is the copy, keeping our buffer if it fits.
        MakeWhite(other.width_, other.height_);
        return;
    }
    if (!data_ || width_ != other.width_ || height_ != other.height_) {
        // The new buffer comes before the old one goes, and before a showing ends: a copy
        // there is no memory for leaves the bitmap as it was.
        const std::size_t size =
            static_cast<std::size_t>(other.stride_) * static_cast<std::size_t>(other.height_);
        data_ = NewPixelMemory(size);
        shown_ = nullptr;
        width_ = other.width_;
        height_ = other.height_;
        stride_ = other.stride_;
        capacity_ = size;
    }
    std::memcpy(data_.get(), other.data_.get(), capacity_);
}

std::uint8_t* Bitmap::ScanLine(int y) {
    Bitmap& p = Pixels();
    if (!p.data_) p.Allocate();
    return p.data_.get() + std::size_t(y) * p.stride_;
}

const std::uint8_t* Bitmap::ConstScanLine(int y) const {
    const Bitmap& p = Pixels();
    if (!p.data_) return WhiteRow(p.stride_);
    return p.data_.get() + std::size_t(y) * p.stride_;
}

TColor Bitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return kNoColour;
    const std::uint8_t* p = ConstScanLine(y) + x * 3;
    return RgbColour(p[2], p[1], p[0]);
}

void Bitmap::SetPixel(int x, int y, TColor colour) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
    std::uint8_t* p = ScanLine(y) + x * 3;
    p[0] = static_cast<std::uint8_t>(BlueOf(colour));
    p[1] = static_cast<std::uint8_t>(GreenOf(colour));
    p[2] = static_cast<std::uint8_t>(RedOf(colour));
}

QImage Bitmap::View() {
    if (shown_) return shown_->View();
    if (Empty()) return QImage();
    if (!data_) Allocate();
    return QImage(data_.get(), width_, height_, stride_, QImage::Format_BGR888);
}

QImage Bitmap::ConstView() const {
    if (shown_) return shown_->ConstView();
    if (Empty()) return QImage();
    if (!data_) {
        QImage white(width_, height_, QImage::Format_BGR888);
        white.fill(Qt::white);
        return white;
    }
    return QImage(static_cast<const uchar*>(data_.get()), width_, height_, stride_,
                  QImage::Format_BGR888);
}

bool Bitmap::operator==(const Bitmap& other) const {
    if (Width() != other.Width() || Height() != other.Height()) return false;
    const std::size_t rowBytes = std::size_t(Width()) * 3;
    for (int y = 0; y < Height(); ++y)
        if (std::memcmp(ConstScanLine(y), other.ConstScanLine(y), rowBytes) != 0) return false;
    return true;
}
