#include "platform/view_render.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

#include "platform/bitmap.h"

namespace {

// The span [begin, end) of a picture axis that screen pixels [first, end) cover at a reduction
// by factor, within a source of length pixels starting at origin.
struct Span {
    int begin;
    int end;
};

Span Covered(int first, int last, int factor, int origin, int length) {
    return {std::max(first * factor - origin, 0), std::min(last * factor - origin, length)};
}

// The column sums of one screen row start as its first source row and take in the others.
// Written plainly for the vectoriser: this is the loop that reads every byte of the picture.
void StartSums(std::uint16_t* __restrict sums, const std::uint8_t* __restrict row, int bytes) {
    for (int i = 0; i < bytes; ++i) sums[i] = row[i];
}

void AddToSums(std::uint16_t* __restrict sums, const std::uint8_t* __restrict row, int bytes) {
    for (int i = 0; i < bytes; ++i) sums[i] = std::uint16_t(sums[i] + row[i]);
}

}  // namespace

QImage ViewRenderer::Render(const Bitmap& source, const QPoint& origin, const ViewTransform& view,
                            const QRect& area) {
    const QRect shown =
        area & view.ScreenRect(QRect(origin, QSize(source.Width(), source.Height())));
    if (shown.isEmpty()) return QImage();
    stride_ = (shown.width() * 3 + 3) & ~3;
    pixels_.resize(std::size_t(stride_) * shown.height());
    if (view.Reduced())
        Reduce(source, origin, view.Factor(), shown);
    else
        Enlarge(source, origin, view.Factor(), shown);
    return QImage(pixels_.data(), shown.width(), shown.height(), stride_, QImage::Format_BGR888);
}

void ViewRenderer::Paint(QPainter& painter, const Bitmap& source, const QPoint& origin,
                         const ViewTransform& view, const QRect& area) {
    if (source.Empty()) return;
    const QRect shown =
        area & view.ScreenRect(QRect(origin, QSize(source.Width(), source.Height())));
    if (shown.isEmpty()) return;
    if (source.IsLazyWhite()) {
        painter.fillRect(shown, Qt::white);
    } else if (view.ActualSize()) {
        // The view shares the picture's memory: nothing is copied at 100 %.
        painter.drawImage(shown, source.ConstView(), shown.translated(-origin));
    } else {
        painter.drawImage(shown.topLeft(), Render(source, origin, view, shown));
    }
}

// Each source pixel is written factor times along the row; rows that show the same source row
// are copies of the first.
void ViewRenderer::Enlarge(const Bitmap& source, const QPoint& origin, int factor,
                           const QRect& area) {
    const auto floorDiv = [factor](int a) { return (a >= 0 ? a : a - factor + 1) / factor; };
    int lastRow = -1;
    for (int y = 0; y < area.height(); ++y) {
        const int sourceRow = floorDiv(area.top() + y) - origin.y();
        std::uint8_t* out = Row(y);
        if (sourceRow == lastRow) {
            std::memcpy(out, Row(y - 1), std::size_t(area.width()) * 3);
            continue;
        }
        lastRow = sourceRow;
        const std::uint8_t* in = source.ConstScanLine(sourceRow);
        int x = area.left();
        const int end = area.left() + area.width();
        while (x < end) {
            const std::uint8_t* pixel = in + 3 * (floorDiv(x) - origin.x());
            const int next = std::min((floorDiv(x) + 1) * factor, end);
            for (; x < next; ++x, out += 3) std::memcpy(out, pixel, 3);
        }
    }
}

// Each screen row sums the source rows it covers column by column, then each screen pixel adds
// up its columns of those sums and divides by the number of pixels it covers. A square at the
// source's edge covers fewer pixels and is the average of those.
void ViewRenderer::Reduce(const Bitmap& source, const QPoint& origin, int factor,
                          const QRect& area) {
    const Span columns =
        Covered(area.left(), area.left() + area.width(), factor, origin.x(), source.Width());
    const int bytes = 3 * (columns.end - columns.begin);
    sums_.resize(std::size_t(bytes));
    for (int y = 0; y < area.height(); ++y) {
        const Span rows =
            Covered(area.top() + y, area.top() + y + 1, factor, origin.y(), source.Height());
        StartSums(sums_.data(), source.ConstScanLine(rows.begin) + 3 * columns.begin, bytes);
        for (int r = rows.begin + 1; r < rows.end; ++r)
            AddToSums(sums_.data(), source.ConstScanLine(r) + 3 * columns.begin, bytes);
        const int height = rows.end - rows.begin;
        std::uint8_t* out = Row(y);
        for (int x = area.left(); x < area.left() + area.width(); ++x, out += 3) {
            const Span cols = Covered(x, x + 1, factor, origin.x(), source.Width());
            const unsigned count = unsigned((cols.end - cols.begin) * height);
            const std::uint16_t* s = sums_.data() + 3 * (cols.begin - columns.begin);
            unsigned blue = 0, green = 0, red = 0;
            for (int c = 0; c < cols.end - cols.begin; ++c, s += 3) {
                blue += s[0];
                green += s[1];
                red += s[2];
            }
            out[0] = std::uint8_t((blue + count / 2) / count);
            out[1] = std::uint8_t((green + count / 2) / count);
            out[2] = std::uint8_t((red + count / 2) / count);
        }
    }
}
