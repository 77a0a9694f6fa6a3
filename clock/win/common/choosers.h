// The common dialog services of the settings dialogs (colour, font, picture
// file, help), behind an interface so tests can answer for the user.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace qv::win {

struct FontChoice {
    std::wstring name;
    float size = 0;  // points
    bool bold = false;
    bool italic = false;
};

class Choosers {
public:
    virtual ~Choosers() = default;
    // The chosen colour (0x00BBGGRR), or nothing when cancelled.
    virtual std::optional<COLORREF> ChooseColor(HWND owner, COLORREF initial) = 0;
    // Screen and printer fonts; nothing when cancelled.
    virtual std::optional<FontChoice> ChooseFont(HWND owner, const FontChoice& initial) = 0;
    // A file chosen through the open dialog with the given filter; nothing when cancelled.
    virtual std::optional<std::wstring> ChooseOpenFile(HWND owner, const std::wstring& filter) = 0;
    // Shows a help file; every failure is ignored.
    virtual void ShowHelp(HWND owner, const std::wstring& helpFile) = 0;
};

}  // namespace qv::win
