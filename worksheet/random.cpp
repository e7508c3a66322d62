#include "worksheet/random.h"

#include <ctime>

uint32_t RandomState = 0;

namespace {
bool ReadClock(clockid_t clock, uint64_t& nanoseconds)
{
    timespec ts{};
    if (clock_gettime(clock, &ts) != 0) return false;
    nanoseconds = static_cast<uint64_t>(ts.tv_sec) * 1000000000u + static_cast<uint64_t>(ts.tv_nsec);
    return true;
}
}  // namespace

uint32_t ClockSeed()
{
    uint64_t ns = 0;
    if (ReadClock(CLOCK_MONOTONIC, ns) || ReadClock(CLOCK_REALTIME, ns)) return static_cast<uint32_t>(ns);
    return static_cast<uint32_t>(std::time(nullptr));
}

uint64_t FreshSeed()
{
    return (static_cast<uint64_t>(std::time(nullptr)) << 32) | ClockSeed();
}

void SeedRandom()
{
    RandomState = ClockSeed();
}

int32_t RandomInt(int32_t n)
{
    TRandom random{RandomState};
    const int32_t drawn = random.Below(n);
    RandomState = random.State;
    return drawn;
}
