// Running the real QV.exe from a test: start it in a folder, find its clock
// window, end it with a double-click on its end button as a user does, and
// read or prepare the settings files beside it.
#pragma once

#include <windows.h>

#include <chrono>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "handles.h"

namespace qv::release {

// A path the build wrote down (a Unix path when the tests run under Wine) as
// this Windows program sees it.
std::wstring HostPath(std::string_view path);

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);

// A new empty folder under the temporary folder, removed with its files at the
// end of the scope.
class ScratchFolder {
public:
    explicit ScratchFolder(const wchar_t* prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

// Removes the files directly in folder and then the folder (no recursion: the
// program folders hold no subfolders).
void RemoveFolder(const std::wstring& folder);

// The lines of a Shift-JIS text file (CR LF stripped); empty when it is missing.
std::vector<std::wstring> ReadShiftJisLines(const std::wstring& path);
// Writes lines as Shift-JIS, each ending in CR LF.
bool WriteShiftJisLines(const std::wstring& path, const std::vector<std::wstring>& lines);

// A program started by the test; terminated at the end of the scope if it is
// still running, so a failed test leaves no clock behind to block the next.
class RunningProgram {
public:
    // Starts exe with the given command-line arguments in workdir. Check
    // started() and error() afterwards.
    RunningProgram(const std::wstring& exe, const std::wstring& args, const std::wstring& workdir);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool started() const { return static_cast<bool>(process_); }
    DWORD error() const { return error_; }
    DWORD id() const { return id_; }

    // True when the program ended within the timeout; its exit code then in code.
    bool WaitForExit(std::chrono::milliseconds timeout, DWORD* code = nullptr);

    // The program's clock window, once it is shown (after the start-up
    // window's splash); nullptr when none appeared in time.
    HWND WaitForClockWindow(std::chrono::milliseconds timeout) const;
    // The program's first visible top-level window of one of the classes;
    // nullptr when none appeared in time.
    HWND WaitForWindow(std::initializer_list<const wchar_t*> classes, std::chrono::milliseconds timeout) const;

private:
    win::UniqueKernelHandle process_;
    DWORD id_ = 0;
    DWORD error_ = 0;
};

// Double-clicks the clock window's end button (the top circle at the left
// edge of its client area) with real mouse input.
void DoubleClickEndButton(HWND clock);

// Runs a program to its end and returns its exit code; ~0u when it could not
// start or did not end in time.
DWORD RunToEnd(const std::wstring& exe, const std::wstring& args, std::chrono::milliseconds timeout);

}  // namespace qv::release
