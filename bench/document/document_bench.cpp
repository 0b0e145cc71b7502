// Files, as ratios within one run.
//
// LayeredWriteRead: writing a 4000 x 3000 layered document of three layers to a file and reading
// it back, against one plain buffered write and read of the same number of bytes. Counter
// "x_plain" is the ratio for the format itself (the aim is at most 1.5); "x_plain_safe" the same
// through the program's save, which syncs a temporary file to disk before renaming it.
// JpegEncode / JpegDecode: the same picture at quality 75; counters give megapixels per second
// and the file's bytes per pixel.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <vector>

#include "document/file_access.h"
#include "document/jpeg_codec.h"
#include "document/picture_files.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kLayers = 3;

// Smooth gradients with hard-edged bands: what a painted picture looks like to a coder.
void Paint(Bitmap& picture, unsigned seed) {
    for (int y = 0; y < picture.Height(); ++y) {
        std::uint8_t* row = picture.ScanLine(y);
        for (int x = 0; x < picture.Width(); ++x) {
            const bool band = ((x + y * int(seed + 1)) / 97) % 5 == 0;
            row[3 * x] = std::uint8_t(band ? 30 : x / 16);
            row[3 * x + 1] = std::uint8_t(band ? 30 : y / 12 + seed * 50);
            row[3 * x + 2] = std::uint8_t(band ? 200 : (x + y) / 28);
        }
    }
}

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// One buffered write and one read of the whole buffer.
double PlainWriteRead(const QString& path, std::vector<char>& buffer) {
    const auto start = Clock::now();
    std::FILE* out = std::fopen(path.toLocal8Bit().constData(), "wb");
    std::fwrite(buffer.data(), 1, buffer.size(), out);
    std::fclose(out);
    std::FILE* in = std::fopen(path.toLocal8Bit().constData(), "rb");
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in);
    std::fclose(in);
    benchmark::DoNotOptimize(got);
    return Seconds(start);
}

void LayeredWriteRead(benchmark::State& state) {
    QTemporaryDir dir;
    const QString layered = dir.filePath(QStringLiteral("bench.tav"));
    const QString plain = dir.filePath(QStringLiteral("plain.bin"));
    std::vector<Bitmap> pictures(kLayers, Bitmap(kWidth, kHeight));
    std::vector<LayerSource> layers;
    for (int i = 0; i < kLayers; ++i) {
        Paint(pictures[std::size_t(i)], unsigned(i));
        layers.push_back({clWhite, kShownMark, DefaultLayerName(i), &pictures[std::size_t(i)]});
    }
    SaveLayeredFile(layered, kWidth, kHeight, layers);
    std::vector<char> buffer(std::size_t(QFile(layered).size()), 'x');
    double ours = 0, safe = 0, base = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        {
            QFile out(layered);
            out.open(QIODevice::WriteOnly);
            WriteLayeredDocument(out, kWidth, kHeight, layers);
        }
        benchmark::DoNotOptimize(ReadLayeredDocumentFile(layered).Layers.data());
        ours += Seconds(start);
        base += PlainWriteRead(plain, buffer);
        start = Clock::now();
        SaveLayeredFile(layered, kWidth, kHeight, layers);
        benchmark::DoNotOptimize(LoadFile(layered, FileType::Layered).Document.Layers.data());
        safe += Seconds(start);
    }
    state.counters["x_plain"] = ours / base;
    state.counters["x_plain_safe"] = safe / base;
    state.counters["MB"] = double(buffer.size()) / 1e6;
    state.SetLabel("write + read of the layered document / plain write + read");
}

Bitmap JpegSource() {
    Bitmap picture(kWidth, kHeight);
    Paint(picture, 1);
    return picture;
}

void JpegEncode(benchmark::State& state) {
    const Bitmap picture = JpegSource();
    std::size_t bytes = 0;
    for (auto _ : state) bytes = std::size_t(EncodeJpeg(picture, 75, false).size());
    state.counters["Mpixel/s"] = benchmark::Counter(double(kWidth) * kHeight / 1e6,
                                                    benchmark::Counter::kIsIterationInvariantRate);
    state.counters["bytes/pixel"] = double(bytes) / (double(kWidth) * kHeight);
}

void JpegDecode(benchmark::State& state) {
    const QByteArray jpeg = EncodeJpeg(JpegSource(), 75, false);
    for (auto _ : state) {
        const Bitmap back = DecodeJpeg(jpeg.constData(), std::size_t(jpeg.size()));
        benchmark::DoNotOptimize(back.ConstScanLine(0));
    }
    state.counters["Mpixel/s"] = benchmark::Counter(double(kWidth) * kHeight / 1e6,
                                                    benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

BENCHMARK(LayeredWriteRead)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(JpegEncode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(JpegDecode)->Unit(benchmark::kMillisecond)->UseRealTime();
