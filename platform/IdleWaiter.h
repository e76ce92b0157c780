// Blocks the user-interface thread until an event arrives or a tick of the millisecond counter is
// reached, whichever comes first, so that pacing waits cost no processor time. Inside the
// platform layer only.
#pragma once

#include <cstdint>
#include <memory>

class QObject;

class TIdleWaiter {
public:
    TIdleWaiter();
    ~TIdleWaiter();
    TIdleWaiter(const TIdleWaiter&) = delete;
    TIdleWaiter& operator=(const TIdleWaiter&) = delete;

    // Returns once at least one event has been dispatched or the tick counter has reached tick;
    // may return earlier.
    void WaitForEvents(std::uint32_t tick);

private:
    struct Wakeup;
    std::unique_ptr<Wakeup> wakeup;
};
