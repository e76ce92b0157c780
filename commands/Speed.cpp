#include "Speed.h"

std::int32_t DelayMs = 0;

std::int32_t DelayForPosition(int position) {
    return position * 10;
}
