#include "IdleWaiter.h"

#include "TickCounter.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <chrono>

#ifdef __linux__
#include <QSocketNotifier>

#include <cerrno>
#include <sys/timerfd.h>
#include <unistd.h>

// A timerfd armed at the absolute monotonic time of the tick we wait for wakes the event
// dispatcher precisely; a Qt timer would round to its own coarse slack.
struct TIdleWaiter::Wakeup {
    int fd = -1;
    std::unique_ptr<QSocketNotifier> notifier;

    Wakeup() {
        fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
        if (fd < 0)
            return;
        notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [this] {
            std::uint64_t expirations = 0;
            while (read(fd, &expirations, sizeof expirations) < 0 && errno == EINTR) {
            }
        });
    }
    ~Wakeup() {
        notifier.reset();
        if (fd >= 0)
            close(fd);
    }

    bool Arm(std::uint32_t tick) {
        if (fd < 0)
            return false;
        // The tick counter is steady_clock in whole milliseconds, truncated to 32 bits; aim at the
        // start of that millisecond, found from the full clock so a wrap cannot misplace it.
        using namespace std::chrono;
        const auto now = duration_cast<milliseconds>(steady_clock::now().time_since_epoch());
        const auto ahead = std::int32_t(tick - std::uint32_t(now.count()));
        const auto target = duration_cast<nanoseconds>(now + milliseconds(ahead));
        itimerspec expiry{};
        expiry.it_value.tv_sec = time_t(target.count() / 1000000000);
        expiry.it_value.tv_nsec = long(target.count() % 1000000000);
        if (expiry.it_value.tv_sec == 0 && expiry.it_value.tv_nsec == 0)
            expiry.it_value.tv_nsec = 1; // zero would disarm
        return timerfd_settime(fd, TFD_TIMER_ABSTIME, &expiry, nullptr) == 0;
    }
};
#else
#include <QTimer>

struct TIdleWaiter::Wakeup {
    QTimer timer;
    Wakeup() {
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
    }
    bool Arm(std::uint32_t tick) {
        const auto ahead = std::int32_t(tick - GetTickCount());
        timer.start(ahead > 0 ? ahead : 0);
        return true;
    }
};
#endif

TIdleWaiter::TIdleWaiter() : wakeup(std::make_unique<Wakeup>()) {}

TIdleWaiter::~TIdleWaiter() = default;

void TIdleWaiter::WaitForEvents(std::uint32_t tick) {
    if (!wakeup->Arm(tick))
        return; // without a wakeup we must not block; the caller polls instead
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}
