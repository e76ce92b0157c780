// The one generator both stacks draw from. It starts at 0 on every run and is never seeded from
// the clock, so a run's sequence of shuffles is always the same.
#pragma once

#include <cstdint>

extern std::uint32_t ShuffleSeed;

// A number from 0 to n - 1 for n >= 1; advances ShuffleSeed.
std::int32_t RandomBelow(std::int32_t n);
