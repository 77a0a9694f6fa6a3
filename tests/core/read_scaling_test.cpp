// Reading a damaged, huge settings file costs time in proportion to its size:
// a 10 MB file takes about ten times as long as a 1 MB one, never a hundred.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "settings_files.h"
#include "temp_folder.h"

namespace qv {
namespace {

// Best of three reads of the places file, in seconds.
double ReadSeconds(const std::filesystem::path& folder) {
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        SettingsModel model;
        auto start = std::chrono::steady_clock::now();
        ReadPlaces(model, folder);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

// One long line of double-byte text (every field and title reads huge text),
// or a file of many short lines.
std::string Filler(std::size_t bytes, bool oneLine) {
    std::string text;
    text.reserve(bytes);
    while (text.size() < bytes) text += oneLine ? "\x93\xfa\x96\x7b" : "\x93\xfa\r\n";
    return text;
}

TEST(ReadScaling, TimeGrowsLinearlyWithTheFileSize) {
    test::TempFolder small, large;
    for (bool oneLine : {true, false}) {
        test::WriteAllBytes(small.path() / kPlacesFile, Filler(1 << 20, oneLine));
        test::WriteAllBytes(large.path() / kPlacesFile, Filler(10 << 20, oneLine));
        double t1 = ReadSeconds(small.path()), t10 = ReadSeconds(large.path());
        RecordProperty(oneLine ? "one_line_1MB_10MB_us" : "short_lines_1MB_10MB_us",
                       std::to_string(static_cast<int>(t1 * 1e6)) + " " + std::to_string(static_cast<int>(t10 * 1e6)));
        std::printf("%s: 1 MB %.2f ms, 10 MB %.2f ms\n", oneLine ? "one line" : "short lines", t1 * 1e3, t10 * 1e3);
        // Linear is 10; quadratic would be 100. A loaded machine gets room.
        EXPECT_LT(t10, 30 * t1 + 0.05) << (oneLine ? "one line" : "short lines");
    }
}

}  // namespace
}  // namespace qv
