// A second program that holds files open with no sharing, as an editor or a
// backup tool might while QV saves: it opens each file named, prints "held",
// and keeps them until its standard input ends (or after ten minutes).
//   hold_file FILE...
#include <windows.h>

#include <cstdio>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: hold_file FILE...\n");
        return 2;
    }
    std::vector<HANDLE> held;
    for (int i = 1; i < argc; ++i) {
        HANDLE file = CreateFileW(argv[i], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "hold_file: cannot open %ls (error %lu)\n", argv[i], GetLastError());
            return 1;
        }
        held.push_back(file);
    }
    std::printf("held\n");
    std::fflush(stdout);
    // Until the caller closes our input; a safety limit if it never does.
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD start = GetTickCount();
    char buffer[64];
    DWORD read = 0;
    while (GetTickCount() - start < 600000) {
        if (!ReadFile(input, buffer, sizeof buffer, &read, nullptr) || read == 0) break;
    }
    for (HANDLE file : held) CloseHandle(file);
    return 0;
}
