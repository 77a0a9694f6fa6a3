// The cleanup step of the system DPI tests: puts back the user's LogPixels
// if a test program died while it had changed it.
#include <cstdio>

#include "system_dpi.h"

int main() {
    if (qv::win::test::RestoreSystemDpi()) return 0;
    std::fprintf(stderr, "restore_system_dpi: the saved LogPixels could not be put back\n");
    return 1;
}
