// The seed of a randomised test: QV_TEST_SEED when set (to replay a failure),
// otherwise a fresh one; printed either way.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <random>

namespace qv::test {

inline unsigned TestSeed(const char* what) {
    unsigned seed = 0;
    if (const char* given = std::getenv("QV_TEST_SEED"); given && *given) {
        seed = static_cast<unsigned>(std::strtoul(given, nullptr, 10));
    } else {
        seed = std::random_device{}();
    }
    std::printf("%s: seed %u (QV_TEST_SEED=%u replays it)\n", what, seed, seed);
    std::fflush(stdout);
    return seed;
}

}  // namespace qv::test
