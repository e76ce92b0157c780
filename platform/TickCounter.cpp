#include "TickCounter.h"

#include <chrono>

namespace {

std::uint32_t SteadyTicks() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

TTickSource tickSource = SteadyTicks;

} // namespace

std::uint32_t GetTickCount() {
    return tickSource();
}

void SetTickSource(TTickSource source) {
    tickSource = source ? source : SteadyTicks;
}

bool TickSourceReplaced() {
    return tickSource != SteadyTicks;
}
