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

void SeedRandom()
{
    uint64_t ns = 0;
    if (ReadClock(CLOCK_MONOTONIC, ns) || ReadClock(CLOCK_REALTIME, ns)) {
        RandomState = static_cast<uint32_t>(ns);
    } else {
        RandomState = static_cast<uint32_t>(std::time(nullptr));
    }
}

int32_t RandomInt(int32_t n)
{
    RandomState = RandomState * 134775813u + 1u;
    const uint64_t product = static_cast<uint64_t>(static_cast<uint32_t>(n)) * RandomState;
    return static_cast<int32_t>(static_cast<uint32_t>(product >> 32));
}
