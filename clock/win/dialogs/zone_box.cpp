// The zone-choosing time-difference box: its list, its search and its texts.
#include "zone_box.h"

#include <algorithm>
#include <cwctype>

#include "text.h"

namespace qv::win {

namespace {

constexpr wchar_t kUnknownMark[] = L"(不明) ";

}  // namespace

bool ContainsNoCase(const std::wstring& text, const std::wstring& part) {
    auto lower = [](wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); };
    return std::search(text.begin(), text.end(), part.begin(), part.end(),
                       [&](wchar_t a, wchar_t b) { return lower(a) == lower(b); }) != text.end();
}

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

const ZoneEntry* ZoneBox::ZoneOfText() const { return zones_.FindDisplay(::qv::win::Narrow(Text())); }

void ZoneBox::ShowZone(const ZoneEntry& zone) { ShowText(Widen(zone.display)); }

void ZoneBox::ShowUnknownZone(const std::string& key) {
    unknownKey_ = key;
    unknownText_ = kUnknownMark + Widen(key);
    ShowText(unknownText_);
}

void ZoneBox::ShowText(const std::wstring& text) { SetWindowTextW(combo_, text.c_str()); }

void ZoneBox::Narrow() {
    const std::wstring typed = Text();
    DWORD start = 0, end = 0;
    SendMessageW(combo_, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    Fill(typed);
    // Emptying the list empties the field too: the typing is put back as it was.
    SetWindowTextW(combo_, typed.c_str());
    SendMessageW(combo_, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
}

void ZoneBox::Fill(const std::wstring& filter) {
    SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
    for (const ZoneEntry& zone : zones_.Zones()) {
        const std::wstring display = Widen(zone.display);
        if (!filter.empty() && !ContainsNoCase(display, filter) && !ContainsNoCase(Widen(zone.key), filter)) continue;
        SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(display.c_str()));
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
