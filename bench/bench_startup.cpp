// How long the program takes from its start to a fully painted main window, and how much memory
// it has needed by then, beside a plain Qt window with the same fourteen controls
// (bench_startup_bare).
//
//   bench_startup [runs]      (default 15; DISPLAY must name an X server without a window manager)
//
// bench/run-startup builds it, starts a private Xvfb and runs it. Each run is a fresh process,
// watched from outside only, since the program takes no arguments and reads no environment of its
// own. The start is taken just before fork(). "mapped" is when the X server reports the process's
// top-level window mapped (from a MapNotify on the root window). "painted" is the first of
// back-to-back captures of the window (XGetImage) that equals the window's settled appearance,
// which an unmeasured first run of each program records after nothing has changed for a second.
// The capture interval, given in the output, bounds how late a paint can be seen. Peak memory is
// VmHWM from /proc/<pid>/status, read 300 ms after the paint; "CPU to paint" adds up the on-CPU
// time of all the process's threads from /proc/<pid>/task/*/schedstat when the paint was seen.
// The two programs take turns, so that drift on the machine falls on both alike.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double MsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int xErrors = 0;

int CountError(Display*, XErrorEvent*) {
    ++xErrors;
    return 0;
}

struct TProgram {
    std::string name;
    std::string path;
};

struct TCapture {
    int width = 0;
    int height = 0;
    std::vector<char> pixels; // rows packed, no padding
};

struct TRun {
    double mappedMs = 0;
    double paintedMs = 0;
    double cpuMs = 0;
    double peakMiB = 0;
    bool painted = false;
};

class TWatcher {
public:
    explicit TWatcher(Display* display) : display(display), root(DefaultRootWindow(display)) {
        XSelectInput(display, root, SubstructureNotifyMask);
        fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
        pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    }

    pid_t Start(const TProgram& program, const std::string& directory) {
        Drain();
        const pid_t pid = fork();
        if (pid == 0) {
            if (chdir(directory.c_str()) != 0)
                _exit(126);
            unsetenv("QT_QPA_PLATFORM"); // the real X server, as a user would have it
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
            execl(program.path.c_str(), program.path.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        return pid;
    }

    // The top-level window the process maps first.
    std::optional<Window> WaitForMap(pid_t pid, Clock::time_point until) {
        for (;;) {
            while (XPending(display)) {
                XEvent event;
                XNextEvent(display, &event);
                if (event.type == MapNotify && event.xmap.event == root &&
                    WindowPid(event.xmap.window) == pid)
                    return event.xmap.window;
            }
            const auto left = until - Clock::now();
            if (left <= Clock::duration::zero())
                return std::nullopt;
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(ConnectionNumber(display), &readable);
            timeval timeout{0, 1000};
            select(ConnectionNumber(display) + 1, &readable, nullptr, nullptr, &timeout);
        }
    }

    std::optional<TCapture> Capture(Window window) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display, window, &attributes))
            return std::nullopt;
        const auto began = Clock::now();
        XImage* image = XGetImage(display, window, 0, 0, unsigned(attributes.width),
                                  unsigned(attributes.height), AllPlanes, ZPixmap);
        captureMs.push_back(MsBetween(began, Clock::now()));
        if (!image)
            return std::nullopt;
        TCapture picture;
        picture.width = attributes.width;
        picture.height = attributes.height;
        const int rowBytes = image->width * image->bits_per_pixel / 8;
        picture.pixels.resize(std::size_t(rowBytes) * std::size_t(image->height));
        for (int y = 0; y < image->height; ++y)
            std::memcpy(&picture.pixels[std::size_t(y) * std::size_t(rowBytes)],
                        image->data + std::ptrdiff_t(y) * image->bytes_per_line,
                        std::size_t(rowBytes));
        XDestroyImage(image);
        return picture;
    }

    void Stop(pid_t pid) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        XSync(display, False);
    }

    std::vector<double> captureMs;

private:
    pid_t WindowPid(Window window) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        pid_t pid = -1;
        if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                               &items, &after, &data) == Success &&
            data && items == 1 && format == 32)
            pid = pid_t(*reinterpret_cast<unsigned long*>(data));
        if (data)
            XFree(data);
        return pid;
    }

    void Drain() {
        XSync(display, False);
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
        }
    }

    Display* display;
    Window root;
    Atom pidAtom;
};

double PeakMiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

double CpuMs(pid_t pid) {
    double total = 0;
    std::error_code error;
    for (const auto& task :
         fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double onCpuNs = 0;
        if (schedstat >> onCpuNs)
            total += onCpuNs / 1e6;
    }
    return total;
}

bool Same(const TCapture& a, const TCapture& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

// An unmeasured run that records what the window looks like once it has settled.
std::optional<TCapture> Settled(TWatcher& watcher, const TProgram& program,
                                const std::string& directory) {
    const pid_t pid = watcher.Start(program, directory);
    const auto window = watcher.WaitForMap(pid, Clock::now() + std::chrono::seconds(20));
    std::optional<TCapture> last;
    if (window) {
        auto changed = Clock::now();
        const auto mapped = changed;
        while (Clock::now() - mapped < std::chrono::seconds(20)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            auto now = watcher.Capture(*window);
            if (!now)
                break;
            if (!last || !Same(*last, *now)) {
                last = std::move(now);
                changed = Clock::now();
            } else if (Clock::now() - changed > std::chrono::seconds(1) &&
                       Clock::now() - mapped > std::chrono::milliseconds(1500)) {
                break;
            }
        }
    }
    watcher.Stop(pid);
    return last;
}

TRun Measure(TWatcher& watcher, const TProgram& program, const std::string& directory,
             const TCapture& settled) {
    TRun run;
    const auto start = Clock::now();
    const pid_t pid = watcher.Start(program, directory);
    const auto window = watcher.WaitForMap(pid, start + std::chrono::seconds(20));
    if (window) {
        run.mappedMs = MsBetween(start, Clock::now());
        while (Clock::now() - start < std::chrono::seconds(20)) {
            const auto picture = watcher.Capture(*window);
            if (!picture)
                break;
            if (Same(*picture, settled)) {
                run.paintedMs = MsBetween(start, Clock::now());
                run.painted = true;
                break;
            }
        }
        run.cpuMs = CpuMs(pid);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        run.peakMiB = PeakMiB(pid);
    }
    watcher.Stop(pid);
    return run;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the X display (DISPLAY=%s)\n",
                     std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
        return 1;
    }
    XSetErrorHandler(CountError);
    TWatcher watcher(display);

    // The program must be started where its picture folder is.
    const std::string directory = fs::path(QUENDRAVO_PICTURE_DIR).parent_path().string();
    const TProgram programs[] = {
        {"quendravo (the program)", QUENDRAVO_EXECUTABLE},
        {"bare Qt window, 14 controls", BARE_WINDOW_EXECUTABLE},
    };

    std::vector<TCapture> settled;
    for (const TProgram& program : programs) {
        auto picture = Settled(watcher, program, directory);
        if (!picture) {
            std::fprintf(stderr, "%s never showed a window\n", program.name.c_str());
            return 1;
        }
        settled.push_back(std::move(*picture));
    }
    watcher.captureMs.clear();

    std::vector<TRun> results[2];
    for (int i = 0; i < runs; ++i)
        for (int p = 0; p < 2; ++p)
            results[p].push_back(Measure(watcher, programs[p], directory, settled[std::size_t(p)]));

    std::printf("%d runs each, warm file cache; capture of the window takes %.2f ms (median), "
                "%d X errors\n\n",
                runs, Median(watcher.captureMs), xErrors);
    std::printf("| %-28s | %9s | %8s | %8s | %8s | %8s | %9s | %9s | %8s |\n", "program", "window",
                "mapped", "painted", "min", "max", "CPU to", "peak RSS", "painted");
    std::printf("| %-28s | %9s | %8s | %8s | %8s | %8s | %9s | %9s | %8s |\n", "", "", "ms", "ms",
                "ms", "ms", "paint ms", "MiB", "runs");
    std::printf("|------------------------------|-----------|----------|----------|----------|---"
                "-------|-----------|-----------|----------|\n");
    double painted[2] = {}, peak[2] = {}, cpu[2] = {};
    for (int p = 0; p < 2; ++p) {
        std::vector<double> mapped, paint, cpuMs, peakMiB;
        for (const TRun& run : results[p]) {
            mapped.push_back(run.mappedMs);
            peakMiB.push_back(run.peakMiB);
            if (run.painted) {
                paint.push_back(run.paintedMs);
                cpuMs.push_back(run.cpuMs);
            }
        }
        painted[p] = Median(paint);
        peak[p] = Median(peakMiB);
        cpu[p] = Median(cpuMs);
        char size[16];
        std::snprintf(size, sizeof size, "%dx%d", settled[std::size_t(p)].width,
                      settled[std::size_t(p)].height);
        std::printf("| %-28s | %9s | %8.1f | %8.1f | %8.1f | %8.1f | %9.1f | %9.1f | %4zu/%-3d |\n",
                    programs[p].name.c_str(), size, Median(mapped), painted[p],
                    paint.empty() ? 0 : *std::min_element(paint.begin(), paint.end()),
                    paint.empty() ? 0 : *std::max_element(paint.begin(), paint.end()), cpu[p],
                    peak[p], paint.size(), runs);
    }
    std::printf("| %-28s | %9s | %8s | %8.2f | %8s | %8s | %9.2f | %9.2f | %8s |\n",
                "ratio program / bare", "", "", painted[1] > 0 ? painted[0] / painted[1] : 0, "",
                "", cpu[1] > 0 ? cpu[0] / cpu[1] : 0, peak[1] > 0 ? peak[0] / peak[1] : 0, "");
    XCloseDisplay(display);
    return 0;
}
