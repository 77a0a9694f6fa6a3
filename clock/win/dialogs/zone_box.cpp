// The zone-choosing time-difference box: its list, its search and its texts.
#include "zone_box.h"

#include <algorithm>

#include "text.h"
#include "value.h"

namespace qv::win {

namespace {

constexpr wchar_t kUnknownMark[] = L"(不明) ";

}  // namespace

ZoneBox::ZoneBox(HWND combo, const ZoneList& zones, int fieldHeight, int listWidth) : combo_(combo), zones_(zones) {
    Fit(fieldHeight, listWidth);
    Fill(L"");
}

void ZoneBox::Fit(int fieldHeight, int listWidth) {
    // The selection field keeps the row's height: the combo box's own height
    // follows the item height of its field (-1), by a border that differs
    // between systems and fonts, so the height is stepped and measured.
    auto shownHeight = [this] {
        RECT shown{};
        GetWindowRect(combo_, &shown);
        return static_cast<int>(shown.bottom - shown.top);
    };
    int item = static_cast<int>(SendMessageW(combo_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int step = 0; step < 24 && shownHeight() != fieldHeight && item > 1; ++step) {
        item += shownHeight() > fieldHeight ? -1 : 1;
        SendMessageW(combo_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item);
    }
    SendMessageW(combo_, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(listWidth), 0);
}

HWND ZoneBox::edit() const {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(combo_, &info) ? info.hwndItem : combo_;
}

std::wstring ZoneBox::Text() const {
    const int length = GetWindowTextLengthW(combo_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(std::max(0, GetWindowTextW(combo_, text.data(), length + 1))));
    return text;
}

ZoneMatch ZoneBox::Named() const { return ZoneNamed(zones_, ::qv::win::Narrow(Text())); }

std::optional<ZoneMatch> ZoneBox::Match(int index) const {
    if (index >= 0) {
        if (static_cast<std::size_t>(index) >= matches_.size()) return std::nullopt;
        return matches_[static_cast<std::size_t>(index)];
    }
    const std::string text = ::qv::win::Narrow(Text());
    if (text.empty() || ParseNumber(text)) return std::nullopt;
    // A whole city or country name is taken as its line; a line is taken already.
    if (ZoneMatch named = ZoneNamed(zones_, text); named.zone) {
        if (named.line == text) return std::nullopt;
        return named;
    }
    // Otherwise the best of what the user typed finds (not of a text as loaded).
    if (typed_.empty() || matches_.empty()) return std::nullopt;
    return matches_.front();
}

void ZoneBox::ShowZone(const ZoneEntry& zone) { ShowText(Widen(zone.display)); }

void ZoneBox::ShowUnknownZone(const std::string& key) {
    unknownKey_ = key;
    unknownText_ = kUnknownMark + Widen(key);
    ShowText(unknownText_);
}

void ZoneBox::Take(const ZoneMatch& match) {
    typed_.clear();
    ShowText(Widen(match.line));
}

void ZoneBox::ShowText(const std::wstring& text) { SetWindowTextW(combo_, text.c_str()); }

void ZoneBox::Narrow() {
    const std::wstring typed = Text();
    DWORD start = 0, end = 0;
    SendMessageW(combo_, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    Fill(typed);
    // Only typing on at the end completes: a deletion leaves the text as it is.
    const bool onward = typed.size() > typed_.size() && typed.compare(0, typed_.size(), typed_) == 0 && start == typed.size();
    typed_ = typed;
    if (onward && !matches_.empty() && !matches_.front().rest.empty()) {
        const std::wstring completed = typed + Widen(matches_.front().rest);
        SetWindowTextW(combo_, completed.c_str());
        SendMessageW(combo_, CB_SETEDITSEL, 0, MAKELPARAM(typed.size(), completed.size()));
        return;
    }
    // Emptying the list empties the field too: the typing is put back as it was.
    SetWindowTextW(combo_, typed.c_str());
    SendMessageW(combo_, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
}

void ZoneBox::Fill(const std::wstring& filter) {
    SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
    matches_.clear();
    if (filter.empty()) {
        for (const ZoneEntry& zone : zones_.Zones()) matches_.push_back({&zone, {}, zone.display, {}});
    } else {
        matches_ = FindZones(zones_, ::qv::win::Narrow(filter));
    }
    for (const ZoneMatch& match : matches_) {
        SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(match.line).c_str()));
    }
}

std::wstring ZoneBox::TipText() const {
    std::wstring tip;
    if (const ZoneEntry* zone = ZoneOfText()) {
        tip = L"タイムゾーン: ";
        tip += Widen(zone->display);
        tip += L" [";
        tip += Widen(zone->key);
        tip += L"]";
    } else if (ShowsUnknownZone()) {
        tip = L"このコンピューターにないタイムゾーン: ";
        tip += Widen(unknownKey_);
    } else {
        tip = L"時差 (時間)、またはタイムゾーン (一覧から選ぶか、名前の一部を入力)";
    }
    return tip;
}

}  // namespace qv::win
