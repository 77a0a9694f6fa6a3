// What this process holds of the system: GDI objects, USER objects, kernel
// handles and private bytes, counted in ways that read true both on Windows
// and under Wine (where GetGuiResources always answers 0).
#pragma once

#include <string>

namespace qv::win::test {

struct ProcessFigures {
    long gdi = -1;            // live GDI objects (stock objects not counted where the table is read)
    long user = -1;           // windows, menus, cursors and icons
    long handles = -1;        // kernel handles
    long long privateBytes = -1;
};

// Where the GDI and USER counts come from on this system.
struct FigureSources {
    std::string gdi;   // "GetGuiResources", "GDI handle table", or "none"
    std::string user;  // "GetGuiResources", "windows + menus + cursors/icons", or "windows"
    std::string handles;       // "GetProcessHandleCount" or "system handle list"
    std::string privateBytes;  // "PrivateUsage" or "committed private regions"
};

ProcessFigures MeasureProcess();
FigureSources Sources();
// "gdi 123 user 45 handles 67 private 8.9 MB"
std::string Describe(const ProcessFigures& f);

// The parts of the USER count where GetGuiResources answers 0.
long CountOwnWindows();
// Menus, cursors and icons of this process; -1 where they cannot be counted.
long CountOwnMenusAndIcons();
// Handles of this process in the system's handle list; -1 where there is none.
long CountOwnHandles();
// Committed private memory of this process's address space.
long long CountPrivateCommit();
// Live GDI objects in the handle table of this process; -1 where the table
// cannot be read.
long CountGdiTable();

}  // namespace qv::win::test
