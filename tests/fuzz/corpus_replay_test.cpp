// Every file of the fuzzing corpus, crashes found once included, through the
// same entry points as the fuzzers: a plain test that needs no clang.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz_targets.h"

namespace qv::fuzz {
namespace {

namespace fs = std::filesystem;

int Replay(const char* folder, std::string (*entry)(std::string_view)) {
    int files = 0;
    for (const auto& file : fs::directory_iterator(fs::path(QV_FUZZ_CORPUS) / folder)) {
        std::ifstream in(file.path(), std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(entry(bytes), "") << file.path();
        ++files;
    }
    return files;
}

TEST(FuzzCorpus, PlacesFilesReadCleanly) { EXPECT_GT(Replay("places", PlacesFile), 3); }
TEST(FuzzCorpus, DisplayFilesReadCleanly) { EXPECT_GT(Replay("display", DisplayFile), 3); }
TEST(FuzzCorpus, WindowFilesReadCleanly) { EXPECT_GT(Replay("window", WindowFile), 3); }
TEST(FuzzCorpus, ValuesFormatCleanly) { EXPECT_GT(Replay("format", FormatValue), 3); }
TEST(FuzzCorpus, ZoneRulesHoldUpToTheirEnds) { EXPECT_GT(Replay("zonerules", ZoneRulesBytes), 3); }

}  // namespace
}  // namespace qv::fuzz
