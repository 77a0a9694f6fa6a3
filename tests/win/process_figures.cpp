// Counting this process's GDI and USER objects, handles and private bytes.
// Windows answers GetGuiResources, GetProcessHandleCount and PrivateUsage;
// Wine 8 answers 0 to all three, so the GDI count falls back on the handle
// table the PEB points to, the USER count on the process's windows plus a
// walk over the user handle indices, the handles on the system's handle list
// and the private bytes on the committed private regions of the address space.
#include "process_figures.h"

#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace qv::win::test {
namespace {

// One entry of the GDI handle table, as Wine lays it out for every process
// (and 64-bit Windows for its own): the object, its owner, the handle's upper
// word, the object's type (0 once Wine has freed it), a user pointer.
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;   // low word: process id (Wine leaves 0)
    std::uint16_t unique;  // bits 0-6 type, bit 7 stock object, high byte generation
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr std::size_t kGdiTableEntries = 0x10000;
constexpr std::uint16_t kStockFlag = 0x80;
constexpr std::uint8_t kBrushType = 0x10;

#ifdef _WIN64
constexpr std::size_t kPebGdiTableOffset = 0xF8;
#else
constexpr std::size_t kPebGdiTableOffset = 0x94;
#endif

const GdiHandleEntry* GdiTableAddress() {
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
        !basic.PebBaseAddress)
        return nullptr;
    const auto* peb = reinterpret_cast<const std::byte*>(basic.PebBaseAddress);
    void* table = nullptr;
    std::memcpy(&table, peb + kPebGdiTableOffset, sizeof table);
    return static_cast<const GdiHandleEntry*>(table);
}

// Whether the whole table is committed memory that can be read.
bool Readable(const void* start, std::size_t size) {
    const auto* p = static_cast<const std::byte*>(start);
    const auto* end = p + size;
    while (p < end) {
        MEMORY_BASIC_INFORMATION info{};
        if (!VirtualQuery(p, &info, sizeof info) || info.State != MEM_COMMIT ||
            (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)))
            return false;
        p = static_cast<const std::byte*>(info.BaseAddress) + info.RegionSize;
    }
    return true;
}

// The table, when it holds what a fresh brush and its deletion say it should:
// the entry of the handle, marked live and as a brush, and unmarked after
// DeleteObject. Windows keeps deleted entries marked: no table there.
const GdiHandleEntry* UsableGdiTable() {
    static const GdiHandleEntry* usable = [] () -> const GdiHandleEntry* {
        const GdiHandleEntry* table = GdiTableAddress();
        if (!table || !Readable(table, kGdiTableEntries * sizeof(GdiHandleEntry))) return nullptr;
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        if (!brush) return nullptr;
        auto handle = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(brush));
        const GdiHandleEntry& entry = table[handle & 0xFFFF];
        bool live = entry.object != 0 && entry.type == kBrushType && entry.unique == (handle >> 16);
        DeleteObject(brush);
        bool freed = entry.type == 0;
        return live && freed ? table : nullptr;
    }();
    return usable;
}

// User handles are an index into one table: index * 2 + 0x20 in the low
// word. Wine accepts a handle whose upper word is 0 as any generation of
// that index, and answers for this process's objects without asking the
// server, so a walk over the indices finds every menu, cursor and icon.
constexpr std::uintptr_t kFirstUserHandle = 0x0020, kLastUserHandle = 0xFFEF;

bool LiveIcon(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return true;
}

bool IndexWalkWorks() {
    static const bool works = [] {
        HMENU menu = CreateMenu();
        if (!menu) return false;
        auto index = reinterpret_cast<std::uintptr_t>(menu) & 0xFFFF;
        bool seen = IsMenu(reinterpret_cast<HMENU>(index)) != FALSE;
        DestroyMenu(menu);
        bool gone = IsMenu(reinterpret_cast<HMENU>(index)) == FALSE;
        return seen && gone;
    }();
    return works;
}

struct WindowCount {
    DWORD process;
    long count = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM lp) {
    ++reinterpret_cast<WindowCount*>(lp)->count;
    return TRUE;
}

void CountWindowAndChildren(HWND hwnd, WindowCount& c) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != c.process) return;
    ++c.count;
    EnumChildWindows(hwnd, CountChild, reinterpret_cast<LPARAM>(&c));
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM lp) {
    CountWindowAndChildren(hwnd, *reinterpret_cast<WindowCount*>(lp));
    return TRUE;
}

// One row of the system's handle list (SystemHandleInformation).
struct SystemHandleEntry {
    USHORT process;
    USHORT creatorBackTrace;
    UCHAR objectType;
    UCHAR attributes;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};
constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

}  // namespace

long CountOwnHandles() {
    std::vector<std::byte> buffer(1 << 16);
    ULONG needed = 0;
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(kSystemHandleInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size()), &needed)) == kInfoLengthMismatch)
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
    if (status != 0) return -1;
    ULONG count = 0;
    std::memcpy(&count, buffer.data(), sizeof count);
    // The rows follow the count at pointer alignment.
    const auto* rows = reinterpret_cast<const SystemHandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
    const auto ownId = static_cast<USHORT>(GetCurrentProcessId());
    long own = 0;
    for (ULONG i = 0; i < count; ++i)
        if (rows[i].process == ownId) ++own;
    return own;
}

long long CountPrivateCommit() {
    long long committed = 0;
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const auto* p = static_cast<const std::byte*>(system.lpMinimumApplicationAddress);
    const auto* end = static_cast<const std::byte*>(system.lpMaximumApplicationAddress);
    while (p < end) {
        MEMORY_BASIC_INFORMATION info{};
        if (!VirtualQuery(p, &info, sizeof info)) break;
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) committed += static_cast<long long>(info.RegionSize);
        p = static_cast<const std::byte*>(info.BaseAddress) + info.RegionSize;
    }
    return committed;
}

long CountGdiTable() {
    const GdiHandleEntry* table = UsableGdiTable();
    if (!table) return -1;
    const auto ownId = static_cast<std::uint16_t>(GetCurrentProcessId());
    long live = 0;
    for (std::size_t i = 0; i < kGdiTableEntries; ++i) {
        const GdiHandleEntry& e = table[i];
        if (e.type == 0 || e.object == 0 || (e.unique & kStockFlag)) continue;
        auto owner = static_cast<std::uint16_t>(e.owner & 0xFFFF);
        if (owner != 0 && owner != ownId) continue;
        ++live;
    }
    return live;
}

long CountOwnWindows() {
    WindowCount c{GetCurrentProcessId()};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&c));
    // Message-only windows are not top-level windows of the desktop.
    for (HWND h = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); h;
         h = FindWindowExW(HWND_MESSAGE, h, nullptr, nullptr))
        CountWindowAndChildren(h, c);
    return c.count;
}

long CountOwnMenusAndIcons() {
    if (!IndexWalkWorks()) return -1;
    long count = 0;
    for (std::uintptr_t h = kFirstUserHandle; h <= kLastUserHandle; h += 2) {
        if (IsMenu(reinterpret_cast<HMENU>(h)) || LiveIcon(reinterpret_cast<HICON>(h))) ++count;
    }
    return count;
}

ProcessFigures MeasureProcess() {
    ProcessFigures f;
    HANDLE self = GetCurrentProcess();
    DWORD gdi = GetGuiResources(self, GR_GDIOBJECTS);
    f.gdi = gdi > 0 ? static_cast<long>(gdi) : CountGdiTable();
    DWORD user = GetGuiResources(self, GR_USEROBJECTS);
    if (user > 0) {
        f.user = static_cast<long>(user);
    } else {
        long others = CountOwnMenusAndIcons();
        f.user = CountOwnWindows() + (others > 0 ? others : 0);
    }
    DWORD handles = 0;
    f.handles = GetProcessHandleCount(self, &handles) && handles > 0 ? static_cast<long>(handles) : CountOwnHandles();
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    bool answered = GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    f.privateBytes = answered && memory.PrivateUsage > 0 ? static_cast<long long>(memory.PrivateUsage)
                                                         : CountPrivateCommit();
    return f;
}

FigureSources Sources() {
    HANDLE self = GetCurrentProcess();
    FigureSources s;
    s.gdi = GetGuiResources(self, GR_GDIOBJECTS) > 0 ? "GetGuiResources"
            : UsableGdiTable()                       ? "GDI handle table"
                                                     : "none";
    s.user = GetGuiResources(self, GR_USEROBJECTS) > 0 ? "GetGuiResources"
             : IndexWalkWorks()                          ? "windows + menus + cursors/icons"
                                                         : "windows";
    DWORD handles = 0;
    s.handles = GetProcessHandleCount(self, &handles) && handles > 0 ? "GetProcessHandleCount"
                                                                     : "system handle list";
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    s.privateBytes = GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory) &&
                             memory.PrivateUsage > 0
                         ? "PrivateUsage"
                         : "committed private regions";
    return s;
}

std::string Describe(const ProcessFigures& f) {
    char text[160];
    std::snprintf(text, sizeof text, "gdi %ld user %ld handles %ld private %.2f MB", f.gdi, f.user, f.handles,
                  static_cast<double>(f.privateBytes) / (1024.0 * 1024.0));
    return text;
}

}  // namespace qv::win::test
