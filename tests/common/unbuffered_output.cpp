// A test program's output goes through a pipe to ctest, and through a pipe the
// C runtime writes it in whole blocks: a program that died mid-test would take
// the lines that say where with it. Linked into every Windows test program.
#include <cstdio>

namespace {

const bool kUnbuffered = [] {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::setvbuf(stderr, nullptr, _IONBF, 0);
    return true;
}();

}  // namespace
