// The pace of the turn-up animations, set by the speed scroll bar: top is fast, bottom slow.
#pragma once

#include <cstdint>

// The pause between animation steps, 0 to 1000 ms.
extern std::int32_t DelayMs;

constexpr int StartSpeedPosition = 50;

// The pause for a scroll-bar position from 0 to 100.
std::int32_t DelayForPosition(int position);
