#include "WaitPumping.h"

#include "TApplication.h"
#include "TickCounter.h"

void WaitPumping(std::int32_t ms) {
    const std::uint32_t start = GetTickCount();
    const std::uint32_t limit = std::uint32_t(ms);
    for (;;) {
        Application->ProcessMessages();
        // Unsigned, so a wrap of the counter still gives the true interval.
        const std::uint32_t elapsed = GetTickCount() - start;
        if (elapsed > limit)
            return;
        // Sleep until the first tick that ends the pause, or until an event needs dispatching.
        Application->WaitForEvents(start + limit + 1);
    }
}
