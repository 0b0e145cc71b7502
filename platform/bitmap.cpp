#include "platform/bitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

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
      data_(std::move(other.data_)) {
    other.width_ = other.height_ = other.stride_ = 0;
    other.capacity_ = 0;
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this != &other) {
        width_ = other.width_;
        height_ = other.height_;
        stride_ = other.stride_;
        capacity_ = other.capacity_;
        data_ = std::move(other.data_);
        other.width_ = other.height_ = other.stride_ = 0;
        other.capacity_ = 0;
    }
    return *this;
}

void Bitmap::MakeWhite(int width, int height) {
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
    data_.reset();
    capacity_ = 0;
}

void Bitmap::Allocate() {
    const std::size_t size = static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_);
    data_.reset(new std::uint8_t[size]);
    capacity_ = size;
    std::memset(data_.get(), 0xFF, capacity_);
}

void Bitmap::HoldMemory() {
    if (IsLazyWhite()) Allocate();
}

void Bitmap::Fill(TColor colour) {
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

void Bitmap::CopyFrom(const Bitmap& other) {
    if (this == &other) return;
    if (!other.data_) {
        // The source is white (or empty): so is the copy, keeping our buffer if it fits.
        MakeWhite(other.width_, other.height_);
        return;
    }
    if (!data_ || width_ != other.width_ || height_ != other.height_) {
        // The new buffer comes before the old one goes: a copy there is no memory for leaves
        // the bitmap as it was.
        const std::size_t size =
            static_cast<std::size_t>(other.stride_) * static_cast<std::size_t>(other.height_);
        data_.reset(new std::uint8_t[size]);
        width_ = other.width_;
        height_ = other.height_;
        stride_ = other.stride_;
        capacity_ = size;
    }
    std::memcpy(data_.get(), other.data_.get(), capacity_);
}

std::uint8_t* Bitmap::ScanLine(int y) {
    if (!data_) Allocate();
    return data_.get() + std::size_t(y) * stride_;
}

const std::uint8_t* Bitmap::ConstScanLine(int y) const {
    if (!data_) return WhiteRow(stride_);
    return data_.get() + std::size_t(y) * stride_;
}

TColor Bitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kNoColour;
    const std::uint8_t* p = ConstScanLine(y) + x * 3;
    return RgbColour(p[2], p[1], p[0]);
}

void Bitmap::SetPixel(int x, int y, TColor colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    std::uint8_t* p = ScanLine(y) + x * 3;
    p[0] = static_cast<std::uint8_t>(BlueOf(colour));
    p[1] = static_cast<std::uint8_t>(GreenOf(colour));
    p[2] = static_cast<std::uint8_t>(RedOf(colour));
}

QImage Bitmap::View() {
    if (Empty()) return QImage();
    if (!data_) Allocate();
    return QImage(data_.get(), width_, height_, stride_, QImage::Format_BGR888);
}

QImage Bitmap::ConstView() const {
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
    if (width_ != other.width_ || height_ != other.height_) return false;
    const std::size_t rowBytes = std::size_t(width_) * 3;
    for (int y = 0; y < height_; ++y)
        if (std::memcmp(ConstScanLine(y), other.ConstScanLine(y), rowBytes) != 0) return false;
    return true;
}
