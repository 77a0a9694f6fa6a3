// A time-difference box that also chooses a time zone: an editable drop-down
// combo box whose list holds the system's zones by display name, or, once
// something is typed, the cities, countries and zones the search finds.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "city_search.h"
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

    // The zone the text names (a display name, a line of the list, a city or
    // a one-zone country by its whole name); none for any other text.
    const ZoneEntry* ZoneOfText() const { return Named().zone; }
    ZoneMatch Named() const;
    std::wstring Text() const;
    // What the row shows when its place follows a zone, a zone this system
    // does not know, or nothing.
    void ShowZone(const ZoneEntry& zone);
    void ShowUnknownZone(const std::string& key);
    void ShowText(const std::wstring& text);
    // The unknown zone's text is still there, unedited.
    bool ShowsUnknownZone() const { return !unknownText_.empty() && Text() == unknownText_; }

    // CBN_EDITCHANGE: the list now holds what the typed text finds, and a
    // name it begins is completed in the field, the completion selected.
    void Narrow();
    // The list's line `index` (CB_GETCURSEL); or (index -1) what Enter takes:
    // the zone of a whole city or country name, else the best match of the
    // search; none for a number or a line already taken.
    std::optional<ZoneMatch> Match(int index) const;
    // The field shows the match's line: the row follows its zone.
    void Take(const ZoneMatch& match);
    // The tool tip's text for the row as it stands.
    std::wstring TipText() const;

private:
    void Fill(const std::wstring& filter);

    HWND combo_;
    const ZoneList& zones_;
    std::vector<ZoneMatch> matches_;  // the list's lines, in order
    std::wstring typed_;              // the text the user typed last, before completion
    std::wstring unknownText_;
    std::string unknownKey_;
};


}  // namespace qv::win
