// Running the real QV.exe from a test: processes, its clock window, real mouse
// input and the Shift-JIS settings files beside it.
#include "tests/release/qv_run.h"

#include <algorithm>
#include <thread>

#include "twips.h"

namespace qv::release {

using namespace std::chrono_literals;

std::wstring HostPath(std::string_view path) {
    std::wstring wide(path.begin(), path.end());
    // Wine shows the Unix root as drive Z:.
    if (!wide.empty() && wide.front() == L'/') wide.insert(0, L"Z:");
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && folder.back() == L'\\') return folder + name;
    return folder + L"\\" + name;
}

bool FileExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ScratchFolder::ScratchFolder(const wchar_t* prefix) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (unsigned n = GetTickCount() % 100000;; ++n) {
        std::wstring candidate = JoinPath(temp, prefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                                    std::to_wstring(n));
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
}

ScratchFolder::~ScratchFolder() {
    if (!path_.empty()) RemoveFolder(path_);
}

void RemoveFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(JoinPath(folder, L"*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW(JoinPath(folder, found.cFileName).c_str());
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

std::vector<std::wstring> ReadShiftJisLines(const std::wstring& path) {
    std::vector<std::wstring> lines;
    win::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return lines;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);

    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        std::string_view line(bytes.data() + start, end - start);
        std::wstring wide;
        if (!line.empty()) {
            int n = MultiByteToWideChar(932, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
            wide.resize(n);
            MultiByteToWideChar(932, 0, line.data(), static_cast<int>(line.size()), wide.data(), n);
        }
        lines.push_back(std::move(wide));
        start = end + 2;
    }
    return lines;
}

bool WriteShiftJisLines(const std::wstring& path, const std::vector<std::wstring>& lines) {
    std::string bytes;
    for (const std::wstring& line : lines) {
        if (!line.empty()) {
            int n = WideCharToMultiByte(932, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr,
                                        nullptr);
            std::string narrow(n, '\0');
            WideCharToMultiByte(932, 0, line.data(), static_cast<int>(line.size()), narrow.data(), n, nullptr,
                                nullptr);
            bytes += narrow;
        }
        bytes += "\r\n";
    }
    win::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

RunningProgram::RunningProgram(const std::wstring& exe, const std::wstring& args, const std::wstring& workdir) {
    std::wstring command = L"\"" + exe + L"\"";
    if (!args.empty()) command += L" " + args;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workdir.empty() ? nullptr : workdir.c_str(), &startup, &info)) {
        error_ = GetLastError();
        return;
    }
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    id_ = info.dwProcessId;
}

RunningProgram::~RunningProgram() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

bool RunningProgram::WaitForExit(std::chrono::milliseconds timeout, DWORD* code) {
    if (!process_) return false;
    if (WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return false;
    if (code) GetExitCodeProcess(process_.get(), code);
    return true;
}

namespace {

struct WindowSearch {
    DWORD process;
    std::initializer_list<const wchar_t*> classes;
    HWND found;
};

// The clock window is the program's visible window of class QV1 (framed) or
// QV2 (borderless); the start-up window before it is of class Vr.
BOOL CALLBACK FindVisibleWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search->process || !IsWindowVisible(hwnd)) return TRUE;
    wchar_t name[32] = L"";
    GetClassNameW(hwnd, name, 32);
    for (const wchar_t* cls : search->classes) {
        if (lstrcmpW(name, cls) == 0) {
            search->found = hwnd;
            return FALSE;
        }
    }
    return TRUE;
}

void SendMouse(DWORD flags, LONG x = 0, LONG y = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

}  // namespace

HWND RunningProgram::WaitForClockWindow(std::chrono::milliseconds timeout) const {
    return WaitForWindow({L"QV1", L"QV2"}, timeout);
}

HWND RunningProgram::WaitForWindow(std::initializer_list<const wchar_t*> classes,
                                   std::chrono::milliseconds timeout) const {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (process_) {
        WindowSearch search{id_, classes, nullptr};
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) return nullptr;
        if (std::chrono::steady_clock::now() > deadline) return nullptr;
        std::this_thread::sleep_for(100ms);
    }
    return nullptr;
}

void DoubleClickEndButton(HWND clock) {
    // The end button is a 135-twip circle at the top-left of the client area.
    int centre = MulDiv(135 / 2, win::ScreenDpi(), 1440);
    POINT point{centre, centre};
    ClientToScreen(clock, &point);

    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    LONG x = MulDiv(point.x, 65535, width - 1);
    LONG y = MulDiv(point.y, 65535, height - 1);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
    std::this_thread::sleep_for(100ms);
    for (int click = 0; click < 2; ++click) {
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        std::this_thread::sleep_for(30ms);
        SendMouse(MOUSEEVENTF_LEFTUP);
        std::this_thread::sleep_for(30ms);
    }
}

DWORD RunToEnd(const std::wstring& exe, const std::wstring& args, std::chrono::milliseconds timeout) {
    RunningProgram program(exe, args, L"");
    DWORD code = ~0u;
    if (!program.started() || !program.WaitForExit(timeout, &code)) return ~0u;
    return code;
}

}  // namespace qv::release
