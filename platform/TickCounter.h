// The millisecond tick counter: a monotonic clock truncated to 32 bits, so it wraps after about
// 49.7 days and intervals must be taken as unsigned differences.
#pragma once

#include <cstdint>

std::uint32_t GetTickCount();

// Tests replace the clock to reach a wrap-around or to run long pauses quickly; nullptr restores
// the real one. Under a replaced clock, waits poll instead of sleeping, since real time no longer
// tells when the counter will advance.
using TTickSource = std::uint32_t (*)();
void SetTickSource(TTickSource source);
bool TickSourceReplaced();
