// What the paced pauses cost and how punctually they end, measured inside one process that shows
// the real main window, as the program does after its start.
//
//   bench_pauses [--quick]
//
// Run it from anywhere; it works in the build's picture folder. bench/run-pauses builds it and runs
// it under a private Xvfb and headless (QT_QPA_PLATFORM=offscreen). --quick skips the 32-second
// run at the start speed and shortens the loops.
//
// For every pause it takes the deadline as the first moment WaitPumping(ms) may return: the start
// of millisecond start_tick + ms + 1 of the steady clock, where start_tick is the counter's value
// when the pause began. The overshoot is the time from there to the return; a negative one would
// be an early return. CPU is the whole process's (every thread) over the wall time of the part
// measured, in percent of one core.
//
// The turn-up runs are started by a real click on the button and their speed is set by real keys
// on the scroll bar. Their pauses are found from the picture loads around them: a pause begins
// after the second of a pair of loads has replaced its picture and ends when the next load begins.
// Both marks lie a little outside the pause itself, so these overshoots are upper bounds. The
// direct loops call WaitPumping back to back with nothing else to do, once in a quiet window and
// once while one picture box repaints at 60 Hz. For comparison only, the same is measured for a
// bare clock_nanosleep to the deadline (the floor for any sleeping wait; alone, and taking turns
// with WaitPumping) and for a busy-polling wait.
//
// On a loaded machine a woken thread may wait for a processor; the scheduler's statistics
// (/proc/thread-self/schedstat) tell how long, so that the largest overshoot can also be given
// without that wait (max-rq), to tell the wait's own lateness from the machine's. On a virtual
// machine the hypervisor can also hold a processor back where the scheduler cannot see it; stol%
// gives the share of processor time it took during each measurement.
#include "Speed.h"
#include "TApplication.h"
#include "TForm1.h"
#include "TJPEGImage.h"
#include "TPicture.h"
#include "TickCounter.h"
#include "WaitPumping.h"

#include <QDir>
#include <QGuiApplication>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

// The tick counter is the steady clock in whole milliseconds, so the tick current at t ends the
// pause when ms + 1 further ticks have begun.
std::int64_t DeadlineNs(std::int64_t startNs, std::int32_t ms) {
    return (startNs / 1000000 + ms + 1) * 1000000;
}

std::int64_t CpuNs(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// The main thread's time spent runnable but not running, from the scheduler's statistics.
std::int64_t RunQueueWaitNs() {
    static const int schedstat = open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC);
    char text[96] = {};
    if (schedstat < 0 || pread(schedstat, text, sizeof text - 1, 0) <= 0)
        return 0;
    long long onCpu = 0, waiting = 0;
    if (std::sscanf(text, "%lld %lld", &onCpu, &waiting) != 2)
        return 0;
    return waiting;
}

// Time the hypervisor gave this machine's processors to others, in ms over all processors.
double StolenMs() {
    std::FILE* stat = std::fopen("/proc/stat", "r");
    if (!stat)
        return 0;
    unsigned long long user = 0, nice = 0, system = 0, idle = 0, iowait = 0, irq = 0, softirq = 0,
                       steal = 0;
    const int read = std::fscanf(stat, "cpu %llu %llu %llu %llu %llu %llu %llu %llu", &user, &nice,
                                 &system, &idle, &iowait, &irq, &softirq, &steal);
    std::fclose(stat);
    return read == 8 ? double(steal) * 1000.0 / double(sysconf(_SC_CLK_TCK)) : 0;
}

rusage MainThreadUsage() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage;
}

// Wall time, process and main-thread CPU, how often the main thread went to sleep, and how often
// the scheduler took the processor from it while it could still run.
struct TMeter {
    std::int64_t wall = NowNs();
    std::int64_t process = CpuNs(CLOCK_PROCESS_CPUTIME_ID);
    std::int64_t thread = CpuNs(CLOCK_THREAD_CPUTIME_ID);
    rusage usage = MainThreadUsage();
    double stolenMs = StolenMs();
};

struct TMeasured {
    double wallMs = 0;
    double processCpuPercent = 0;
    double threadCpuPercent = 0;
    long sleeps = 0;
    long preemptions = 0;
    double stolenPercent = 0;
};

TMeasured Since(const TMeter& start) {
    const TMeter end;
    TMeasured m;
    const double wall = double(end.wall - start.wall);
    m.wallMs = wall / 1e6;
    m.processCpuPercent = 100.0 * double(end.process - start.process) / wall;
    m.threadCpuPercent = 100.0 * double(end.thread - start.thread) / wall;
    m.sleeps = end.usage.ru_nvcsw - start.usage.ru_nvcsw;
    m.preemptions = end.usage.ru_nivcsw - start.usage.ru_nivcsw;
    m.stolenPercent = 100.0 * (end.stolenMs - start.stolenMs) /
                      (m.wallMs * double(std::max(1L, sysconf(_SC_NPROCESSORS_ONLN))));
    return m;
}

// One pause: how late it ended, and how long of it the main thread spent ready to run but waiting
// for a processor.
struct TSample {
    std::int64_t overshoot;
    std::int64_t queued;
};

struct TOvershoots {
    double medianMs = 0;
    double maxUnqueuedMs = 0;
    double p90Ms = 0;
    double maxMs = 0;
    double minMs = 0;
    int early = 0;
    int count = 0;
};

TOvershoots Summarize(const std::vector<TSample>& samples) {
    TOvershoots s;
    s.count = int(samples.size());
    if (samples.empty())
        return s;
    std::vector<std::int64_t> ns;
    std::int64_t unqueued = INT64_MIN;
    for (const TSample& sample : samples) {
        ns.push_back(sample.overshoot);
        unqueued = std::max(unqueued, sample.overshoot - sample.queued);
    }
    s.maxUnqueuedMs = double(unqueued) / 1e6;
    std::sort(ns.begin(), ns.end());
    s.medianMs = double(ns[ns.size() / 2]) / 1e6;
    s.p90Ms = double(ns[ns.size() * 9 / 10]) / 1e6;
    s.maxMs = double(ns.back()) / 1e6;
    s.minMs = double(ns.front()) / 1e6;
    s.early = int(std::count_if(ns.begin(), ns.end(), [](std::int64_t v) { return v < 0; }));
    return s;
}

void PrintHeader() {
    std::printf("| %-44s | %6s | %8s | %7s | %7s | %7s | %7s | %7s | %5s | %5s | %5s | %6s | %6s "
                "| %5s |\n",
                "what", "pauses", "wall ms", "median", "p90", "max", "max-rq", "min", "early",
                "sleep", "preem", "CPU %", "main %", "stol%");
    std::printf("|%s|--------|----------|---------|---------|---------|---------|---------|-------|"
                "-------|-------|--------|--------|-------|\n",
                std::string(46, '-').c_str());
}

void PrintRow(const std::string& what, const TOvershoots& o, const TMeasured& m) {
    const double perPause = o.count ? 1.0 / o.count : 0;
    std::printf("| %-44s | %6d | %8.1f | %7.3f | %7.3f | %7.3f | %7.3f | %7.3f | %5d | %5.1f | "
                "%5.2f | %6.2f | %6.2f | %5.1f |\n",
                what.c_str(), o.count, m.wallMs, o.medianMs, o.p90Ms, o.maxMs, o.maxUnqueuedMs,
                o.minMs, o.early, double(m.sleeps) * perPause, double(m.preemptions) * perPause,
                m.processCpuPercent, m.threadCpuPercent, m.stolenPercent);
    std::fflush(stdout);
}

// --- Marks around the picture loads of a run ---

struct TMark {
    std::int64_t at = NowNs();
    std::int64_t queued = RunQueueWaitNs();
};

// When each load began (the picture class is chosen first) and when each picture was replaced.
std::vector<TMark> loadBegins;
std::vector<TMark> loadEnds;

void WatchLoads(TForm1& form) {
    const TPicture::TGraphicFactory marking = [] {
        loadBegins.emplace_back();
        return std::unique_ptr<TGraphic>(std::make_unique<TJPEGImage>());
    };
    TPicture::RegisterFileFormat("jpg", marking);
    for (TImage* image : {form.Image1, form.Image2, form.Image3, form.Image4}) {
        auto repaint = image->Picture->OnChange;
        image->Picture->OnChange = [repaint] {
            if (repaint)
                repaint();
            loadEnds.emplace_back();
        };
    }
}

// A two-stack run loads two pictures before each pause and four after the last one.
std::vector<TSample> RunPauseOvershoots(std::int32_t ms) {
    std::vector<TSample> overshoots;
    const std::size_t loads = std::min(loadBegins.size(), loadEnds.size());
    for (std::size_t pair = 1; 2 * pair + 3 < loads; ++pair) {
        const TMark& began = loadEnds[2 * pair - 1];
        const TMark& ended = loadBegins[2 * pair];
        overshoots.push_back({ended.at - DeadlineNs(began.at, ms), ended.queued - began.queued});
    }
    return overshoots;
}

// --- Driving the window by real input ---

void SetSpeed(TForm1& form, int position) {
    QWidget* bar = form.ScrollBar1->Widget();
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Home);
    for (int i = 0; i < position; ++i)
        QTest::keyClick(bar, Qt::Key_Down);
    if (form.ScrollBar1->Position() != position || DelayMs != DelayForPosition(position)) {
        std::fprintf(stderr, "the scroll bar did not reach position %d (at %d, pause %d ms)\n",
                     position, form.ScrollBar1->Position(), int(DelayMs));
        std::exit(1);
    }
}

void TwoStackRun(TForm1& form, int position, int runs) {
    SetSpeed(form, position);
    const std::int32_t ms = DelayMs;
    for (int run = 1; run <= runs; ++run) {
        WaitPumping(200); // let the key presses' repaints settle
        loadBegins.clear();
        loadEnds.clear();
        const TMeter meter;
        QTest::mouseClick(form.Button1->Widget(), Qt::LeftButton);
        const TMeasured measured = Since(meter);
        if (loadBegins.size() != 132 || loadEnds.size() != 132) {
            std::fprintf(stderr, "the run loaded %zu pictures, expected 132\n", loadBegins.size());
            std::exit(1);
        }
        char what[96];
        std::snprintf(what, sizeof what, "run by click, position %d (%d ms), run %d", position,
                      int(ms), run);
        PrintRow(what, Summarize(RunPauseOvershoots(ms)), measured);
    }
}

// --- Direct loops ---

// Sleeps to the deadline without dispatching anything: the floor for any wait that sleeps.
void SleepToDeadline(std::int32_t ms) {
    const std::int64_t deadline = DeadlineNs(NowNs(), ms);
    const timespec until{time_t(deadline / 1000000000), long(deadline % 1000000000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

// Polls the counter while dispatching, never sleeping: what a pause costs without the idle wait.
void BusyWait(std::int32_t ms) {
    const std::uint32_t start = GetTickCount();
    for (;;) {
        Application->ProcessMessages();
        if (GetTickCount() - start > std::uint32_t(ms))
            return;
    }
}

using TWait = std::function<void(std::int32_t)>;

TSample Timed(const TWait& wait, std::int32_t ms) {
    const TMark before;
    wait(ms);
    const TMark after;
    return {after.at - DeadlineNs(before.at, ms), after.queued - before.queued};
}

void DirectLoop(const std::string& what, const TWait& wait, std::int32_t ms, int count) {
    wait(ms); // start on a tick boundary, as the pauses of a run do
    std::vector<TSample> overshoots;
    const TMeter meter;
    for (int i = 0; i < count; ++i)
        overshoots.push_back(Timed(wait, ms));
    PrintRow(what, Summarize(overshoots), Since(meter));
}

// Two waits taking turns, so that whatever the machine does falls on both alike; the CPU and sleep
// figures are of both together.
void Alternating(const std::string& first, const TWait& a, const std::string& second,
                 const TWait& b, std::int32_t ms, int count) {
    a(ms);
    std::vector<TSample> overshootsA, overshootsB;
    const TMeter meter;
    for (int i = 0; i < count; ++i) {
        overshootsA.push_back(Timed(a, ms));
        overshootsB.push_back(Timed(b, ms));
    }
    TMeasured measured = Since(meter);
    measured.sleeps /= 2;
    measured.preemptions /= 2;
    PrintRow(first, Summarize(overshootsA), measured);
    PrintRow(second, Summarize(overshootsB), measured);
}

} // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;

    // The program runs where its picture folder is.
    QDir pictures(QUENDRAVO_PICTURE_DIR);
    pictures.cdUp();
    if (!QDir::setCurrent(pictures.path())) {
        std::fprintf(stderr, "no picture folder at %s\n", QUENDRAVO_PICTURE_DIR);
        return 1;
    }

    TApplication application;
    TForm1 form;
    Form1 = &form;
    Application->Dispatch([&form] { form.DoCreate(); });
    form.Show();
    if (!QTest::qWaitForWindowExposed(form.Window())) {
        std::fprintf(stderr, "the main window was not shown\n");
        return 1;
    }
    WatchLoads(form);
    WaitPumping(500); // past the start-up's first paints

    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    std::puts("overshoot past the deadline in ms (median, p90, max, min); max-rq = the largest\n"
              "overshoot less the time the main thread waited for a processor in that pause\n"
              "(meaningless for busy polling); per pause: sleep = times the main thread slept,\n"
              "preem = times it was preempted; CPU % = whole process, main % = main thread, in %\n"
              "of one core; stol% = share of all processors' time the hypervisor took meanwhile\n");
    PrintHeader();

    const int scale = quick ? 4 : 1;
    DirectLoop("WaitPumping(500), quiet window", WaitPumping, 500, 20 / scale);
    DirectLoop("WaitPumping(50), quiet window", WaitPumping, 50, 100 / scale);
    DirectLoop("WaitPumping(1), quiet window", WaitPumping, 1, 500 / scale);
    DirectLoop("WaitPumping(0), quiet window", WaitPumping, 0, 1000 / scale);
    {
        QTimer repaint;
        repaint.setTimerType(Qt::PreciseTimer);
        QObject::connect(&repaint, &QTimer::timeout, [&form] { form.Image3->Widget()->update(); });
        repaint.start(16);
        DirectLoop("WaitPumping(50), picture repainted at 60 Hz", WaitPumping, 50, 100 / scale);
    }
    DirectLoop("clock_nanosleep(50) [comparison]", SleepToDeadline, 50, 100 / scale);
    Alternating("WaitPumping(20), taking turns with", WaitPumping,
                "  clock_nanosleep(20) [comparison]", SleepToDeadline, 20, 250 / scale);
    DirectLoop("busy poll (50), quiet window [comparison]", BusyWait, 50, 40 / scale);
    DirectLoop("busy poll (0), quiet window [comparison]", BusyWait, 0, 1000 / scale);

    if (!quick)
        TwoStackRun(form, 50, 1);
    TwoStackRun(form, 5, quick ? 1 : 3);
    TwoStackRun(form, 0, quick ? 1 : 3);

    Form1 = nullptr;
    return 0;
}
