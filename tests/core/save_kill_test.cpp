// Saves killed part-way: a child process writes a settings file over and over,
// alternating between two complete versions, and is killed with SIGKILL after
// a random delay. The file left behind must always be one of the two complete
// versions, never a truncated or mixed one. QV_SAVE_KILL_TRIALS sets the
// number of kills per file (default 50; script/save-faults runs hundreds).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "save_versions.h"
#include "temp_folder.h"
#include "test_seed.h"

namespace qv {
namespace {

using test::Bytes;
using test::Version;
using test::Writer;

int Trials() { return test::SaveKillTrials(50); }

void KillWhileSaving(Writer write, Bytes bytes, const char* name) {
    test::TempFolder folder;
    const SettingsModel versions[2] = {Version(0), Version(1)};
    const std::string expected[2] = {bytes(versions[0]), bytes(versions[1])};
    ASSERT_NE(expected[0].size(), expected[1].size());
    ASSERT_FALSE(write(versions[0], folder.path()));

    std::mt19937 random(test::TestSeed(name));
    // Microseconds; wide enough that a slow child (a sanitizer build starts
    // slowly after fork) still gets through several saves before most kills.
    std::uniform_int_distribution<int> delay(0, 20000);
    int seen[2] = {0, 0};
    for (int trial = 0; trial < Trials(); ++trial) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 1;; ++i) (void)write(versions[i % 2], folder.path());
        }
        usleep(static_cast<useconds_t>(delay(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        std::string left = test::ReadAllBytes(folder.path() / name);
        bool whole = left == expected[0] || left == expected[1];
        ASSERT_TRUE(whole) << name << " after kill " << trial << ": " << left.size() << " bytes";
        ++seen[left == expected[1]];
    }
    // The kills landed at different moments, not always before the first save.
    if (Trials() >= 20) {
        EXPECT_GT(seen[1], 0) << name;
    }
}

TEST(SaveUnderKill, PlacesFileIsAlwaysOldOrNew) { KillWhileSaving(WritePlaces, PlacesFileBytes, kPlacesFile); }
TEST(SaveUnderKill, DisplayFileIsAlwaysOldOrNew) { KillWhileSaving(WriteDisplay, DisplayFileBytes, kDisplayFile); }
TEST(SaveUnderKill, WindowFileIsAlwaysOldOrNew) { KillWhileSaving(WriteWindow, WindowFileBytes, kWindowFile); }

}  // namespace
}  // namespace qv
