#pragma once

#include <cstdint>

// Pauses for more than ms milliseconds while dispatching every pending event, so the window
// repaints, answers input and may run another command to its end inside the pause.
void WaitPumping(std::int32_t ms);
