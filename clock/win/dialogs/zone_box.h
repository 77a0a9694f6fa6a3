// A time-difference box that also chooses a time zone: an editable drop-down
// combo box whose list holds the system's zones by display name, narrowed
// to those whose display or key name contains what is typed.
#pragma once

#include <windows.h>

#include <string>

#include "time_zone.h"

namespace qv::win {

class ZoneBox {
public:
    // `combo` is a CBS_DROPDOWN combo box; its selection field is made
    // `fieldHeight` pixels high and its list `listWidth` wide.
    ZoneBox(HWND combo, const ZoneList& zones, int fieldHeight, int listWidth);
    // Sizes the selection field and the list again (another DPI).
    void Fit(int fieldHeight, int listWidth);

    HWND combo() const { return combo_; }
    // The edit field inside the combo box (the input method's window).
    HWND edit() const;

    // The zone whose display name the text is, exactly; none for any other text.
    const ZoneEntry* ZoneOfText() const;
    std::wstring Text() const;
    // What the row shows when its place follows a zone, a zone this system
    // does not know, or nothing.
    void ShowZone(const ZoneEntry& zone);
    void ShowUnknownZone(const std::string& key);
    void ShowText(const std::wstring& text);
    // The unknown zone's text is still there, unedited.
    bool ShowsUnknownZone() const { return !unknownText_.empty() && Text() == unknownText_; }

    // CBN_EDITCHANGE: the list now holds the zones that match the typed text.
    void Narrow();
    // The tool tip's text for the row as it stands.
    std::wstring TipText() const;

private:
    void Fill(const std::wstring& filter);

    HWND combo_;
    const ZoneList& zones_;
    std::wstring unknownText_;
    std::string unknownKey_;
};

// Whether `text` contains `part`, without regard to case.
bool ContainsNoCase(const std::wstring& text, const std::wstring& part);

}  // namespace qv::win
