// Picture files against the common command-line tools, as ratios within one run, on a
// 4000 x 3000 photograph-like picture. The tools run as processes; where one is not installed
// its benchmark says so and is skipped.
//
// PngWrite: our save of a PNG (written, flushed, synced, renamed) against ImageMagick's convert
// writing the same picture, its time to read the input and start taken off. Counter
// "x_convert" is the time ratio (the aim is at most 0.5), "x_size" the ratio of the files' sizes
// (at most 1.1).
// PngRead: reading convert's PNG of the picture against convert reading it, its start-up taken
// off: "x_convert" (the aim is at most 1.0); "x_convert_ours" the same for our PNG of it.
// BmpToJpeg: `kasumiro --export picture.jpg picture.bmp` against `cjpeg` on the same BMP, both
// at quality 75, as processes: "x_cjpeg" (the aim is at most 1.3); and "pictures", the most
// memory the same export takes in this process, in pictures of the picture's size (the aim is
// at most two). A spawned process's own peak would count its parent's memory too.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "document/export_command.h"
#include "document/picture_files.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// Smooth shapes at four scales, unevenly lit, with a camera's noise on top: a coder finds in it
// what it finds in a photograph (a PNG of it is a little over half the raw pixels).
Bitmap Photograph() {
    std::uint32_t seed = 20240611;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    struct Octave {
        int cell;
        int amplitude;
        int columns;
        std::vector<int> grid;  // three channels a node
    };
    std::vector<Octave> octaves;
    for (const auto& [cell, amplitude] : {std::pair{600, 110}, {150, 60}, {37, 30}, {9, 14}}) {
        Octave o{cell, amplitude, kWidth / cell + 2, {}};
        o.grid.resize(std::size_t(o.columns) * std::size_t(kHeight / cell + 2) * 3);
        for (int& v : o.grid) v = int(next() % 1024) - 512;
        octaves.push_back(std::move(o));
    }
    Bitmap picture(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = picture.ScanLine(y);
        for (int x = 0; x < kWidth; ++x) {
            int sum[3] = {128 * 512, 128 * 512, 128 * 512};
            for (const Octave& o : octaves) {
                const int gx = x / o.cell, gy = y / o.cell;
                const int fx = x % o.cell * 256 / o.cell, fy = y % o.cell * 256 / o.cell;
                const int* n = &o.grid[(std::size_t(gy) * std::size_t(o.columns) + gx) * 3];
                const int* s = n + std::size_t(o.columns) * 3;
                for (int c = 0; c < 3; ++c) {
                    const int top = n[c] * (256 - fx) + n[c + 3] * fx;
                    const int bottom = s[c] * (256 - fx) + s[c + 3] * fx;
                    sum[c] += (top * (256 - fy) + bottom * fy) / 65536 * o.amplitude / 128;
                }
            }
            const int light = 60 + 40 * x / kWidth;  // percent
            for (int c = 0; c < 3; ++c) {
                const int noise = int(next() % 9) + int(next() % 9) - 8;
                const int v = sum[c] / 512 * light / 100 + noise;
                row[3 * x + c] = std::uint8_t(std::clamp(v, 0, 255));
            }
        }
    }
    return picture;
}

const Bitmap& Picture() {
    static const Bitmap picture = Photograph();
    return picture;
}

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

struct Run {
    double seconds = 0;
    bool ok = false;
};

// Runs a program to its end, its output discarded.
Run RunProgram(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Run run;
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        if (waitpid(pid, &status, 0) == pid) {
            run.seconds = Seconds(start);
            run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// Debian's ImageMagick where Debian installs it, else the first on the PATH; empty if none.
std::string Tool(const char* name, const char* debianPath) {
    if (QFileInfo(QLatin1String(debianPath)).isExecutable()) return debianPath;
    return QStandardPaths::findExecutable(QLatin1String(name)).toStdString();
}

bool HaveTool(benchmark::State& state, const std::string& path, const char* package) {
    if (!path.empty()) return true;
    const std::string why =
        "not installed, nothing to compare with: apt-get install " + std::string(package);
    state.SkipWithError(why.c_str());
    return false;
}

std::string At(const QTemporaryDir& dir, const char* name) {
    return dir.filePath(QLatin1String(name)).toStdString();
}

qint64 FileSize(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).size();
}

void PngWrite(benchmark::State& state) {
    const std::string convert = Tool("convert", "/usr/bin/convert");
    if (!HaveTool(state, convert, "imagemagick")) return;
    QTemporaryDir dir;
    const std::string bmp = At(dir, "picture.bmp"), theirs = At(dir, "theirs.png");
    const std::string ours = At(dir, "ours.png");
    SaveBmpFile(QString::fromStdString(bmp), Picture());
    double our = 0, their = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        SavePngFile(QString::fromStdString(ours), Picture());
        our += Seconds(start);
        their += RunProgram({convert, bmp, theirs}).seconds -
                 RunProgram({convert, bmp, "null:"}).seconds;
    }
    state.counters["x_convert"] = our / their;
    state.counters["ms_ours"] = 1000 * our / double(state.iterations());
    state.counters["ms_convert"] = 1000 * their / double(state.iterations());
    state.counters["x_size"] = double(FileSize(ours)) / double(FileSize(theirs));
    state.counters["MB_ours"] = double(FileSize(ours)) / 1e6;
    state.counters["MB_convert"] = double(FileSize(theirs)) / 1e6;
    state.SetLabel("our PNG save / convert's PNG write");
}

// Seconds to read path: ours in-process; convert's without its start-up.
double OurRead(const std::string& path) {
    const auto start = Clock::now();
    const LoadedFile file = LoadFile(QString::fromStdString(path), FileType::Png);
    benchmark::DoNotOptimize(file.Picture.ConstScanLine(0));
    return Seconds(start);
}
double TheirRead(const std::string& convert, const std::string& path, const std::string& dot) {
    return RunProgram({convert, path, "null:"}).seconds -
           RunProgram({convert, dot, "null:"}).seconds;
}

void PngRead(benchmark::State& state) {
    const std::string convert = Tool("convert", "/usr/bin/convert");
    if (!HaveTool(state, convert, "imagemagick")) return;
    QTemporaryDir dir;
    const std::string ours = At(dir, "ours.png"), theirs = At(dir, "theirs.png");
    const std::string dot = At(dir, "dot.png");
    SavePngFile(QString::fromStdString(ours), Picture());
    SavePngFile(QString::fromStdString(dot), Bitmap(1, 1));
    RunProgram({convert, ours, theirs});
    double our = 0, their = 0, ourOnOurs = 0, theirOnOurs = 0;
    for (auto _ : state) {
        our += OurRead(theirs);
        their += TheirRead(convert, theirs, dot);
        ourOnOurs += OurRead(ours);
        theirOnOurs += TheirRead(convert, ours, dot);
    }
    state.counters["x_convert"] = our / their;
    state.counters["ms_ours"] = 1000 * our / double(state.iterations());
    state.counters["ms_convert"] = 1000 * their / double(state.iterations());
    state.counters["x_convert_ours"] = ourOnOurs / theirOnOurs;
    state.SetLabel("our PNG read / convert's PNG read");
}

// This process's resident memory now and at its peak since the last ResetPeak(), in kB.
long StatusKilobytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ')[0].toLong();
    return 0;
}
void ResetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

void BmpToJpeg(benchmark::State& state) {
    const std::string cjpeg = Tool("cjpeg", "/usr/bin/cjpeg");
    if (!HaveTool(state, cjpeg, "libjpeg-turbo-progs")) return;
    QTemporaryDir dir;
    const std::string bmp = At(dir, "picture.bmp");
    SaveBmpFile(QString::fromStdString(bmp), Picture());
    const std::string kasumiro = KASUMIRO_EXECUTABLE;
    double our = 0, their = 0;
    for (auto _ : state) {
        const Run export_ = RunProgram({kasumiro, "--export", At(dir, "ours.jpg"), bmp});
        if (!export_.ok) {
            state.SkipWithError("the export failed");
            return;
        }
        our += export_.seconds;
        their +=
            RunProgram({cjpeg, "-quality", "75", "-outfile", At(dir, "theirs.jpg"), bmp}).seconds;
    }
    ResetPeak();
    const long before = StatusKilobytes("VmRSS:");
    RunExportCommand({QString::fromStdString(At(dir, "again.jpg")), QString::fromStdString(bmp)});
    const long peak = StatusKilobytes("VmHWM:");
    const double picture = double(Picture().Stride()) * kHeight / 1024;  // in kB
    state.counters["x_cjpeg"] = our / their;
    state.counters["ms_ours"] = 1000 * our / double(state.iterations());
    state.counters["ms_cjpeg"] = 1000 * their / double(state.iterations());
    state.counters["pictures"] = double(peak - before) / picture;
    state.SetLabel("kasumiro --export BMP to JPEG / cjpeg");
}

}  // namespace

BENCHMARK(PngWrite)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(PngRead)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BmpToJpeg)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
