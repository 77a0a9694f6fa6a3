// The zone search of the setup form's time-difference box: typed text found
// in city and country names (Japanese and English), in the zones' display
// and key names, or read as an offset from UTC, without regard to case,
// width (全角/半角) or hiragana against katakana.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "time_zone.h"

namespace qv {

// One line of the search's list: a city with its zone, or a zone itself.
struct ZoneMatch {
    const ZoneEntry* zone = nullptr;
    std::string name;  // the place's Japanese name ("ニューヨーク"); empty for a zone itself
    std::string line;  // "ニューヨーク (アメリカ合衆国) — (UTC-05:00) …", or the display name
    std::string rest;  // what completes the typed text to a name it begins; empty when none
};

// The matches of `typed`, best first: names that begin with it before names
// that contain it, cities before countries before zones. Nothing for an empty
// text, a text longer than a name can be, or one with control characters or
// malformed UTF-8 (half a surrogate pair).
std::vector<ZoneMatch> FindZones(const ZoneList& zones, std::string_view typed);

// The zone a finished text names: a display name, a line of the list, a city
// by its whole name, or a country with one zone; no zone for any other text.
ZoneMatch ZoneNamed(const ZoneList& zones, std::string_view text);

// The text as the search compares it (UTF-32): ASCII lower case, full-width
// forms as ASCII, half-width katakana joined with their voicing marks, and
// hiragana as katakana. Empty when the text cannot be searched.
std::u32string FoldForSearch(std::string_view utf8);

// Minutes east of UTC for "+5:30", "-3", "+09:00", "5.5"; nothing for any other text.
std::optional<int> OffsetOfText(std::u32string_view folded);

}  // namespace qv
