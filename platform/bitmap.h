#pragma once
// A 24-bit picture: rows of blue, green, red bytes with a four-byte aligned stride.
//
// A bitmap that has only ever been white holds no pixel memory: it is "lazily white" until the
// first write, so the hundred layer slots of a big picture cost nothing while unused.
//
// A bitmap can also show another bitmap's pixels instead of holding its own (the paint surface
// of a picture that is a single layer is that layer): it then has the other's size, its reads
// and writes of pixels are the other's, and it holds no memory. An operation on it as a whole
// (MakeWhite, ReleaseToWhite, Fill, CopyFrom, assignment, StopShowing) ends the showing first.
#include <cstddef>
#include <cstdint>
#include <memory>

#include <QImage>

#include "platform/colour.h"

class Bitmap {
  public:
    Bitmap() = default;
    // A white bitmap of the given size; holds no memory until written.
    Bitmap(int width, int height);
    Bitmap(const Bitmap& other);
    Bitmap& operator=(const Bitmap& other);
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(Bitmap&& other) noexcept;
    ~Bitmap() = default;

    int Width() const { return Pixels().width_; }
    int Height() const { return Pixels().height_; }
    int Stride() const { return Pixels().stride_; }
    bool Empty() const { return Width() <= 0 || Height() <= 0; }
    // True while the bitmap is white without holding memory.
    bool IsLazyWhite() const { return !Empty() && !Pixels().data_; }
    // The pixel memory this bitmap holds itself (none while it shows another's).
    std::size_t AllocatedBytes() const { return data_ ? capacity_ : 0; }

    // Shows source's pixels from now on, giving back any memory of its own. source must stay
    // alive while it is shown and must not itself be made to show another; showing itself, or
    // a bitmap that already shows another, is refused.
    void ShowPixelsOf(Bitmap& source);
    bool ShowsPixelsOf(const Bitmap& source) const { return shown_ == &source; }
    // Ends showing another bitmap's pixels: the bitmap is white at that bitmap's size, without
    // memory. A bitmap with pixels of its own is left as it is.
    void StopShowing();
    // Ends showing another bitmap's pixels by taking a copy of them as its own.
    void OwnPixels();

    // Becomes a white bitmap of the given size. The buffer is kept and filled when the size
    // is unchanged, so repeated whitening costs no allocation.
    void MakeWhite(int width, int height);
    // Becomes white at the same size, giving its memory back.
    void ReleaseToWhite();
    // A lazily white bitmap takes its memory now, still white, so that a later write cannot
    // fail for want of it. Throws std::bad_alloc, changing nothing, when there is none.
    void HoldMemory();
    void Fill(TColor colour);
    // Becomes an exact copy of other, reusing the buffer when the sizes agree. Without memory
    // for the copy it throws std::bad_alloc and stays as it was.
    void CopyFrom(const Bitmap& other);

    // Row access; the writable form gives the bitmap memory if it had none.
    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ConstScanLine(int y) const;

    // Outside the bitmap: kNoColour.
    TColor Pixel(int x, int y) const;
    // Outside the bitmap: ignored.
    void SetPixel(int x, int y, TColor colour);

    // A QImage over the bitmap's own memory (no copy). Valid until the bitmap is resized.
    QImage View();
    // A read-only QImage over the pixels; for a lazily white bitmap, a white image.
    QImage ConstView() const;

    bool operator==(const Bitmap& other) const;
    bool operator!=(const Bitmap& other) const { return !(*this == other); }

  private:
    const Bitmap& Pixels() const { return shown_ ? *shown_ : *this; }
    Bitmap& Pixels() { return shown_ ? *shown_ : *this; }
    void Allocate();
    static int StrideFor(int width) { return ((width * 3) + 3) & ~3; }

    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    std::size_t capacity_ = 0;
    std::unique_ptr<std::uint8_t[]> data_;
    Bitmap* shown_ = nullptr;
};
