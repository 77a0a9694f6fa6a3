// Helper of the save-under-kill test: writes one settings file into a folder
// over and over, alternating between two complete versions, until killed.
//   save_loop FOLDER places|display|window
#include <cstring>
#include <filesystem>

#include "tests/core/save_versions.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    std::filesystem::path folder = std::filesystem::u8path(argv[1]);
    qv::test::Writer write = qv::test::WriterFor(argv[2]);
    if (!write) return 2;
    const qv::SettingsModel versions[2] = {qv::test::Version(0), qv::test::Version(1)};
    for (unsigned i = 1;; ++i) (void)write(versions[i % 2], folder);
}
