#include "RandomBelow.h"

#include <cassert>

std::uint32_t ShuffleSeed = 0;

std::int32_t RandomBelow(std::int32_t n) {
    assert(n >= 1);
    ShuffleSeed = ShuffleSeed * 134775813u + 1u; // unsigned arithmetic wraps modulo 2^32
    const std::uint64_t product = std::uint64_t(std::uint32_t(n)) * ShuffleSeed;
    return std::int32_t(product >> 32);
}
