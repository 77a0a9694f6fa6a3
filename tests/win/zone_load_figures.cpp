// Not a test: the zone reading of a start, timed in one run, the way every
// start read them before (all the system's zones) against the way it reads
// them now (only the places' zones): ten places on numbers, and ten places
// on ten zones. Prints medians and ratios for docs/performance.md.
//   script/wine build/win32/tests/win/zone_load_figures.exe [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "system_zones.h"

namespace {

double Millis(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Read>
double Timed(Read read, std::size_t& zones) {
    LARGE_INTEGER from, to;
    QueryPerformanceCounter(&from);
    zones = read().Zones().size();
    QueryPerformanceCounter(&to);
    return Millis(from, to);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const std::vector<std::string> numbers(10);
    const std::vector<std::string> tenZones = {"Eastern Standard Time", "GMT Standard Time", "AUS Eastern Standard Time",
                                               "Tokyo Standard Time", "India Standard Time", "Pacific Standard Time",
                                               "W. Europe Standard Time", "China Standard Time", "E. South America Standard Time",
                                               "Arabian Standard Time"};
    std::vector<double> all, fixed, zoned;
    std::size_t allCount = 0, fixedCount = 0, zonedCount = 0;
    // Interleaved, so that the machine's load falls on all three alike.
    for (int i = 0; i < rounds; ++i) {
        all.push_back(Timed([] { return qv::win::LoadSystemZones(); }, allCount));
        fixed.push_back(Timed([&] { return qv::win::LoadSystemZones(numbers); }, fixedCount));
        zoned.push_back(Timed([&] { return qv::win::LoadSystemZones(tenZones); }, zonedCount));
    }
    const double a = Median(all), f = Median(fixed), z = Median(zoned);
    std::printf("rounds %d (medians)\n", rounds);
    std::printf("before, every start: all %u zones read: %.3f ms\n", static_cast<unsigned>(allCount), a);
    std::printf("after, ten places on numbers: %u zones read: %.3f ms (ratio after/before %.4f)\n",
                static_cast<unsigned>(fixedCount), f, f / a);
    std::printf("after, ten places on ten zones: %u zones read: %.3f ms (ratio after/before %.4f)\n",
                static_cast<unsigned>(zonedCount), z, z / a);
    return 0;
}
