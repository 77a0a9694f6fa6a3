// The real process services: named mutex, ExitProcess, GetLocalTime, MessageBoxW.
#include "platform.h"

#include <vector>

namespace qv::win {

SingleInstance::SingleInstance(std::wstring name) : name_(std::move(name)) {}

bool SingleInstance::AnotherCopyRunning() {
    // Every clock window load asks again; once this copy holds the mutex the
    // answer stays no.
    if (mutex_) return false;
    HANDLE h = CreateMutexW(nullptr, FALSE, name_.c_str());
    DWORD error = GetLastError();
    if (!h) return error == ERROR_ACCESS_DENIED;  // exists, held by another security context of this session
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return true;
    }
    mutex_.reset(h);
    return false;
}

void SystemProcess::EndProgram() { ExitProcess(0); }

namespace {

CivilTime ToCivil(const SYSTEMTIME& st) {
    return CivilTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

}  // namespace

CivilTime SystemClock::Now() const {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return ToCivil(st);
}

CivilTime SystemClock::UtcNow() const {
    SYSTEMTIME st;
    GetSystemTime(&st);
    return ToCivil(st);
}

int SystemClock::Millisecond() const {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return st.wMilliseconds;
}

CivilTime SystemClock::LocalAt(const CivilTime& utc) const {
    if (utc.year < 1601) return ClockSource::LocalAt(utc);  // before the system's calendar: today's offset
    SYSTEMTIME in{};
    in.wYear = static_cast<WORD>(utc.year);
    in.wMonth = static_cast<WORD>(utc.month);
    in.wDay = static_cast<WORD>(utc.day);
    in.wHour = static_cast<WORD>(utc.hour);
    in.wMinute = static_cast<WORD>(utc.minute);
    in.wSecond = static_cast<WORD>(utc.second);
    SYSTEMTIME out{};
    // The computer's zone by the rule of that instant's year where the system keeps rules by year
    // (Windows 7 and later; Wine 8 has not the call), else by this year's rule.
    using ToLocalEx = BOOL(WINAPI*)(const DYNAMIC_TIME_ZONE_INFORMATION*, const SYSTEMTIME*, SYSTEMTIME*);
    static const auto toLocalEx = reinterpret_cast<ToLocalEx>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SystemTimeToTzSpecificLocalTimeEx")));
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    if (toLocalEx && GetDynamicTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID && toLocalEx(&zone, &in, &out))
        return ToCivil(out);
    if (SystemTimeToTzSpecificLocalTime(nullptr, &in, &out)) return ToCivil(out);
    return ClockSource::LocalAt(utc);
}

int SystemMessages::Show(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags) {
    return MessageBoxW(owner, text.c_str(), title.c_str(), flags);
}

FilePath ProgramFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            // Without its own path the program keeps its files in the current folder.
            n = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
            if (n == 0 || n >= buffer.size()) return L".";
            return FilePath(buffer.data(), n);
        }
        if (n < buffer.size()) return ParentFolder(FilePath(buffer.data(), n));
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace qv::win
