// Process-level services of the clock program behind small interfaces, so a
// test can create the windows in its own process: the second-copy check,
// ending the program, the system clock and message boxes.
#pragma once

#include <windows.h>

#include <string>

#include "app_context.h"
#include "handles.h"

namespace qv::win {

class ProcessServices {
public:
    virtual ~ProcessServices() = default;
    // True when another copy of the program runs in this user's session.
    virtual bool AnotherCopyRunning() = 0;
    // Ends the program at once; no handler of any window runs afterwards.
    virtual void EndProgram() = 0;
};

// One copy per session: a named mutex in the session's namespace, held for the
// life of the process once this copy has claimed it.
class SingleInstance {
public:
    explicit SingleInstance(std::wstring name = L"Local\\QV.WorldClock.Running");
    bool AnotherCopyRunning();

private:
    std::wstring name_;
    UniqueKernelHandle mutex_;
};

class SystemProcess final : public ProcessServices {
public:
    bool AnotherCopyRunning() override { return instance_.AnotherCopyRunning(); }
    void EndProgram() override;

private:
    SingleInstance instance_;
};

class SystemClock final : public ClockSource {
public:
    CivilTime Now() const override;
    CivilTime UtcNow() const override;
    int Millisecond() const override;
    CivilTime LocalAt(const CivilTime& utc) const override;
};

class SystemMessages final : public MessageService {
public:
    int Show(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags) override;
};

// The folder that holds the program file (the settings files live there).
FilePath ProgramFolder();

}  // namespace qv::win
