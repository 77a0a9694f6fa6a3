// One libFuzzer program per entry point; QV_FUZZ_ENTRY names it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string problem = qv::fuzz::QV_FUZZ_ENTRY({reinterpret_cast<const char*>(data), size});
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
