// What showing one card picture costs: loading the file, decoding it and the smooth scaling a
// picture box paints with, beside libjpeg-turbo's own djpeg decoding the same file.
//
//   bench_decode [card.jpg]   the card given, else the build's herz_koenig.jpg, else a made one
//   bench_decode --hostile    the costliest pictures our bounds still let through, and some they
//                             refuse, each measured in a fresh process for CPU time and peak memory
#include "Exception.h"
#include "JpegEncoder.h"
#include "PictureFile.h"
#include "TJPEGImage.h"

#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <jpeglib.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 31;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The pictures are made here, so one that does not compress is a mistake in this program.
std::vector<unsigned char> Encode(const JpegEncoding& e, const JpegRowFiller& row) {
    std::string error;
    std::vector<unsigned char> bytes = EncodeJpeg(e, row, &error);
    if (bytes.empty()) {
        std::fprintf(stderr, "bench_decode: cannot encode a picture: %s\n", error.c_str());
        std::abort();
    }
    return bytes;
}

void Write(const fs::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

unsigned Noise(unsigned& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

// Something like a court card: white with a border, a gradient robe, a face, pips in the corners
// and a little grain, which is what a scanned or rendered card picture has.
std::vector<unsigned char> MakeCard() {
    constexpr int w = 411, h = 627;
    unsigned state = 12345;
    JpegEncoding e;
    e.width = w;
    e.height = h;
    return Encode(e, [&](int y, unsigned char* px) {
        for (int x = 0; x < w; ++x, px += 3) {
            int r = 255, g = 255, b = 250;
            const int dx = x - w / 2, dy = y - h / 2;
            if (x < 6 || x >= w - 6 || y < 6 || y >= h - 6) {
                r = g = b = 30;
            } else if (std::abs(dx) < 140 && std::abs(dy) < 230) {
                r = 40 + (x * 180) / w;
                g = 30 + (y * 120) / h;
                b = 160 - (x + y) * 100 / (w + h);
                if ((dx + 40) * (dx + 40) + (dy + 120) * (dy + 120) < 45 * 45)
                    r = 240, g = 200, b = 170;
                if ((x / 12 + y / 12) % 2 == 0)
                    r -= 20, g -= 20;
            } else if ((x - 30) * (x - 30) + (y - 40) * (y - 40) < 15 * 15 ||
                       (x - w + 30) * (x - w + 30) + (y - h + 40) * (y - h + 40) < 15 * 15) {
                r = 200, g = 20, b = 30;
            }
            const int grain = int(Noise(state) % 9) - 4;
            px[0] = (unsigned char)std::clamp(r + grain, 0, 255);
            px[1] = (unsigned char)std::clamp(g + grain, 0, 255);
            px[2] = (unsigned char)std::clamp(b + grain, 0, 255);
        }
    });
}

struct Cost {
    double wallMs = 0;
    double cpuMs = 0;
};

double CpuMs(const rusage& u) {
    return 1e3 * double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           1e-3 * double(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

// Runs argv to the end: its wall time and CPU time, or nothing when it failed.
std::optional<Cost> Run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return std::nullopt;
    int status = 0;
    rusage usage;
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return Cost{MillisecondsSince(start), CpuMs(usage)};
}

std::optional<Cost> MedianRun(const std::vector<std::string>& args) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < kRuns; ++i) {
        const auto cost = Run(args);
        if (!cost)
            return std::nullopt;
        wall.push_back(cost->wallMs);
        cpu.push_back(cost->cpuMs);
    }
    return Cost{Median(wall), Median(cpu)};
}

struct ProbeResult;
ProbeResult RunProbe(const char* self, const fs::path& file);
Cost MedianProbe(const char* self, const fs::path& file);

int BenchCard(const char* self, const fs::path& given) {
    fs::path card = given;
    const fs::path built = fs::path(QUENDRAVO_BINARY_DIR) / "Tamselspiel" / "herz_koenig.jpg";
    const fs::path scratch = fs::temp_directory_path() / "bench_decode";
    fs::create_directories(scratch);
    if (card.empty() && fs::exists(built))
        card = built;
    if (card.empty()) {
        card = scratch / "karte.jpg";
        Write(card, MakeCard());
    }
    const fs::path tiny = scratch / "tiny.jpg";
    JpegEncoding e;
    e.width = e.height = 8;
    Write(tiny, Encode(e, [](int, unsigned char* px) { std::fill_n(px, 24, 128); }));

    std::vector<double> load, decode, scale, total;
    QSize size;
    for (int i = 0; i < kRuns + 3; ++i) {
        const auto t0 = Clock::now();
        TJPEGImage image;
        image.LoadFromFile(card.string());
        const auto t1 = Clock::now();
        const QImage& bitmap = image.Bitmap();
        const auto t2 = Clock::now();
        const QImage shown =
            bitmap.scaled(137, 209, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const auto t3 = Clock::now();
        size = bitmap.size();
        if (i < 3)
            continue; // caches and the allocator warmed up
        auto ms = [](auto a, auto b) {
            return std::chrono::duration<double, std::milli>(b - a).count();
        };
        load.push_back(ms(t0, t1));
        decode.push_back(ms(t1, t2));
        scale.push_back(ms(t2, t3));
        total.push_back(ms(t0, t3));
    }
    std::printf("card: %s, %dx%d, %ju bytes; medians of %d runs\n", card.c_str(), size.width(),
                size.height(), std::uintmax_t(fs::file_size(card)), kRuns);
    std::printf("  warm, in one process: load %.3f ms, decode %.3f ms, scale to 137x209 %.3f ms, "
                "all %.3f ms\n",
                Median(load), Median(decode), Median(scale), Median(total));
    // djpeg is a process of its own, which must fault in the memory a warm run reuses; so our
    // load and decode are also timed as the first picture of a fresh process.
    const Cost ours = MedianProbe(self, card);
    std::printf("  fresh process, load+decode: %.3f ms wall, %.3f ms CPU\n", ours.wallMs,
                ours.cpuMs);

    const auto djpeg = MedianRun({"djpeg", "-outfile", "/dev/null", card.string()});
    const auto start = MedianRun({"djpeg", "-outfile", "/dev/null", tiny.string()});
    if (!djpeg || !start) {
        std::printf("  djpeg could not be run\n");
        return 0;
    }
    // Its start, measured on an 8x8 picture, costs more than the decoding, so it is taken off.
    const Cost alone{std::max(djpeg->wallMs - start->wallMs, 0.001),
                     std::max(djpeg->cpuMs - start->cpuMs, 0.001)};
    std::printf("  djpeg: %.3f ms wall, %.3f ms CPU; less its start: %.3f ms wall, %.3f ms CPU\n",
                djpeg->wallMs, djpeg->cpuMs, alone.wallMs, alone.cpuMs);
    std::printf("  ours / djpeg's decoding: %.2f (wall), %.2f (CPU)\n", ours.wallMs / alone.wallMs,
                ours.cpuMs / alone.cpuMs);
    return 0;
}

// In a process of its own, so that its peak memory is the picture's and not the generator's.
int Probe(const char* path) {
    timespec start, end;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &start);
    const auto wallStart = Clock::now();
    std::string outcome = "ok";
    try {
        TJPEGImage image;
        try {
            image.LoadFromFile(path);
        } catch (const EJPEG& e) {
            outcome = "refused at load, #" + std::to_string(e.Code());
            throw;
        }
        image.Bitmap();
    } catch (const EJPEG& e) {
        if (outcome == "ok")
            outcome = "decode error #" + std::to_string(e.Code());
    } catch (const Exception& e) {
        outcome = e.Message();
    }
    const double wallMs = MillisecondsSince(wallStart);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &end);
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%.6f %.3f %ld %s\n",
                double(end.tv_sec - start.tv_sec) + 1e-9 * double(end.tv_nsec - start.tv_nsec),
                wallMs, usage.ru_maxrss, outcome.c_str());
    return 0;
}

struct ProbeResult {
    double cpu = 0;
    double wallMs = 0;
    long peakKb = 0;
    std::string outcome;
};

ProbeResult RunProbe(const char* self, const fs::path& file) {
    const std::string command = std::string("'") + self + "' --probe '" + file.string() + "'";
    ProbeResult r;
    FILE* p = popen(command.c_str(), "r");
    if (!p)
        return r;
    char line[512] = {};
    if (std::fgets(line, sizeof line, p)) {
        int used = 0;
        std::sscanf(line, "%lf %lf %ld %n", &r.cpu, &r.wallMs, &r.peakKb, &used);
        r.outcome = std::string(line + used);
        if (!r.outcome.empty() && r.outcome.back() == '\n')
            r.outcome.pop_back();
    }
    pclose(p);
    return r;
}

Cost MedianProbe(const char* self, const fs::path& file) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < kRuns; ++i) {
        const ProbeResult r = RunProbe(self, file);
        wall.push_back(r.wallMs);
        cpu.push_back(1e3 * r.cpu);
    }
    return Cost{Median(wall), Median(cpu)};
}

// A valid scan script of count scans (at least 2 + components): DC in two steps of successive
// approximation, then AC in single coefficients, the last band of each component taking the
// rest; past 63 bands, single coefficients are sent in two steps. Each scan is one more pass over
// every block of its components.
std::vector<jpeg_scan_info> Scans(int components, int count) {
    std::vector<jpeg_scan_info> s;
    s.push_back({components, {0, 1, 2, 3}, 0, 0, 0, 1});
    s.push_back({components, {0, 1, 2, 3}, 0, 0, 1, 0});
    for (int c = 0; c < components; ++c) {
        const int ac = (count - 2) / components + (c < (count - 2) % components ? 1 : 0);
        const int bands = std::min(ac, 63);
        const bool twoSteps = ac > 63;
        for (int k = 1; k < bands; ++k)
            s.push_back({1, {c}, k, k, 0, twoSteps ? 1 : 0});
        s.push_back({1, {c}, bands, 63, 0, twoSteps ? 1 : 0});
        for (int k = 1; k <= ac - 63; ++k)
            s.push_back({1, {c}, k, k, 1, 0});
    }
    return s;
}

JpegRowFiller NoiseRows(int width, int components, int amplitude) {
    auto state = std::make_shared<unsigned>(987654321u);
    return [=](int y, unsigned char* px) {
        for (int i = 0; i < width * components; ++i)
            px[i] = (unsigned char)(128 + (y % 64) +
                                    int(Noise(*state) % unsigned(2 * amplitude + 1)) - amplitude);
    };
}

// A small picture claiming to be width x height: the decoder fills what the data leaves out.
std::vector<unsigned char> Claiming(std::vector<unsigned char> bytes, int width, int height) {
    for (std::size_t i = 2; i + 9 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] >= 0xC0 && bytes[i + 1] <= 0xC2) {
            bytes[i + 5] = (unsigned char)(height >> 8);
            bytes[i + 6] = (unsigned char)height;
            bytes[i + 7] = (unsigned char)(width >> 8);
            bytes[i + 8] = (unsigned char)width;
            break;
        }
    return bytes;
}

int BenchHostile(const char* self) {
    const fs::path dir = fs::temp_directory_path() / "bench_decode_hostile";
    fs::create_directories(dir);
    struct Case {
        std::string name;
        std::function<std::vector<unsigned char>()> make;
    };
    const auto small = [](int components, J_COLOR_SPACE space, int scans) {
        JpegEncoding e;
        e.width = e.height = 64;
        e.components = components;
        e.input = space;
        e.fullChroma = true;
        if (scans > 1)
            e.scans = Scans(components, scans);
        return Encode(e, NoiseRows(64, components, 40));
    };
    // Noise of the given strength, compressed with what configure sets beyond the size.
    const auto noise = [](int width, int height, int components, int quality, int amplitude,
                          const std::function<void(JpegEncoding&)>& configure) {
        return [=] {
            JpegEncoding e;
            e.width = width;
            e.height = height;
            e.components = components;
            e.input = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
            e.quality = quality;
            e.fullChroma = true;
            configure(e);
            return Encode(e, NoiseRows(width, components, amplitude));
        };
    };
    const auto sequential = [](JpegEncoding&) {};
    const std::vector<Case> cases = {
        {"card (for the baseline)", [] { return MakeCard(); }},
        {"4000x4000 colour, 1 KB of data",
         [&] { return Claiming(small(3, JCS_RGB, 1), 4000, 4000); }},
        {"4000x4000 CMYK, 1 KB of data",
         [&] { return Claiming(small(4, JCS_CMYK, 1), 4000, 4000); }},
        {"4000x4000 colour noise, 4:4:4", noise(4000, 4000, 3, 85, 22, sequential)},
        {"4000x4000 CMYK noise", noise(4000, 4000, 4, 75, 12, sequential)},
        {"4000x4000 colour noise, 4:2:0, 10 scans", noise(4000, 4000, 3, 80, 14,
                                                          [](JpegEncoding& e) {
                                                              e.fullChroma = false;
                                                              e.progressive = true;
                                                          })},
        {"4000x4000 grey noise, 16 scans",
         noise(4000, 4000, 1, 75, 12, [](JpegEncoding& e) { e.scans = Scans(1, 16); })},
        {"1400x1400 colour noise, 4:4:4, 100 scans",
         noise(1400, 1400, 3, 85, 55, [](JpegEncoding& e) { e.scans = Scans(3, 100); })},
        {"2800x2800 colour 4:4:4, 100 scans, 8 KB of data",
         [&] { return Claiming(small(3, JCS_RGB, 100), 2800, 2800); }},
        {"8 MiB of empty Huffman tables",
         [&] {
             std::vector<unsigned char> b = small(3, JCS_RGB, 1);
             const unsigned char table[21] = {0xFF, 0xC4, 0, 19, 0x10};
             std::vector<unsigned char> tables;
             while (tables.size() + sizeof table + b.size() <= kMaxPictureFileBytes)
                 tables.insert(tables.end(), table, table + sizeof table);
             b.insert(b.begin() + 2, tables.begin(), tables.end());
             return b;
         }},
        {"4000x4001 colour, 1 KB of data",
         [&] { return Claiming(small(3, JCS_RGB, 1), 4000, 4001); }},
        {"4000x4000 colour 4:4:4, 100 scans (coefficients 96 MB)",
         [&] { return Claiming(small(3, JCS_RGB, 100), 4000, 4000); }},
        {"1000x1000 colour noise, arithmetic coding",
         noise(1000, 1000, 3, 90, 60, [](JpegEncoding& e) { e.arithmetic = true; })},
        {"100 MB file", [] { return std::vector<unsigned char>(); }},
    };

    std::printf("%-58s %10s %8s %9s  %s\n", "picture", "bytes", "CPU s", "peak MB", "outcome");
    long baseKb = 0;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const fs::path file = dir / ("case" + std::to_string(i) + ".jpg");
        const std::vector<unsigned char> bytes = cases[i].make();
        Write(file, bytes);
        if (bytes.empty())
            fs::resize_file(file, 100'000'000);
        const ProbeResult r = RunProbe(self, file);
        if (i == 0)
            baseKb = r.peakKb;
        std::printf("%-58s %10ju %8.3f %9.1f  %s\n", cases[i].name.c_str(),
                    std::uintmax_t(fs::file_size(file)), r.cpu,
                    double(r.peakKb - (i == 0 ? 0 : baseKb)) / 1024.0, r.outcome.c_str());
        std::fflush(stdout);
        fs::remove(file);
    }
    std::printf("(peak MB past the card's process, which is %.1f MB: libraries and all)\n",
                double(baseKb) / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--probe" && argc > 2)
        return Probe(argv[2]);
    if (first == "--hostile")
        return BenchHostile(argv[0]);
    return BenchCard(argv[0], first);
}
