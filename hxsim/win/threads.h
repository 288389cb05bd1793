#pragma once
// Threads of the simulator: each runs one function to its end. The process outlives them
// all (it ends with ExitProcess), so none is joined.
#include <cstdint>
#include <functional>

[[nodiscard]] bool StartThread(std::function<void()> body);

// High-resolution clock in ticks and its rate.
int64_t NowTicks();
int64_t TicksPerSecond();
// Sleeps until `deadline` (in ticks) with Sleep, never spinning: Sleep(1) is about a
// millisecond, so the wake-up is at most that late.
void SleepUntil(int64_t deadline);
