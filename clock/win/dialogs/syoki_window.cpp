// The initial setup window SYOKI: the ten places with their time differences,
// business hours and summer time, read from and written to the places file.
#include "syoki_window.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <utility>
#include <optional>

#include "accessible_name.h"
#include "text.h"
#include "dialogs.h"
#include "form.h"
#include "input_mode.h"
#include "unstorable_text.h"
#include "zone_box.h"
#include "zone_places.h"

namespace qv::win {

namespace {

using namespace syoki;

constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX | WS_GROUP;
// J1 .. J10: a time difference typed in, or a zone chosen from the list.
constexpr DWORD kZoneCombo = CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
constexpr double kZoneListHeight = 3600;  // twips of the open list
constexpr double kZoneListWidth = 6300;   // twips: wide enough for the zones' names

// Everything but the two buttons lies in Frame1 and is placed from its origin.
constexpr double kFrameLeft = 120, kFrameTop = 0;
constexpr TwipsBox InFrame(double left, double top, double width, double height) {
    return {kFrameLeft + left, kFrameTop + top, width, height};
}
constexpr double RowTop(int n) { return 480 + 240 * (n - 1); }

class SyokiWindow final : public Form {
public:
    explicit SyokiWindow(AppContext& app) : Form(app) {}

    static void Open(AppContext& app) {
        FormStyle style{kClassName, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 5790, 3705};
        // The boxes list every zone: the whole list is read before they are built.
        if (app.loadZones) app.zones = app.loadZones(nullptr);
        Form::Open(std::make_unique<SyokiWindow>(app), style);
    }

private:
    // Creation order is the keyboard order: row by row name, difference,
    // start, end; then OK and Cancel; the summer-time boxes last.
    void BuildControls() override {
        AddControl(L"BUTTON", L"", BS_GROUPBOX | WS_GROUP, 0, Frame1, {120, 0, 5535, 3135});
        AddControl(L"STATIC", L"名称", kLabel, 0, Label1, InFrame(360, 240, 1080, 240));
        AddControl(L"STATIC", L"時差", kLabel, 0, Label2, InFrame(1560, 240, 1080, 240));
        AddControl(L"STATIC", L"始業時刻", kLabel, 0, Label3, InFrame(2760, 240, 1080, 240));
        AddControl(L"STATIC", L"終業時刻", kLabel, 0, Label4, InFrame(3960, 240, 1080, 240));
        AddControl(L"STATIC", L"ST", kLabel, 0, Label15, InFrame(5040, 240, 465, 240));
        for (int n = 1; n <= kPlaceCount; ++n) {
            TwipsBox box = n < 10 ? InFrame(120, RowTop(n), 135, 240) : InFrame(90, RowTop(n), 195, 240);
            AddControl(L"STATIC", std::to_wstring(n), kLabel, 0, RowNumber + n, box);
            // "10" is wider than its box in the form's font: it grows into
            // the gap before the name box rather than losing its "0".
            WidenToText(RowNumber + n);
        }
        for (int n = 1; n <= kPlaceCount; ++n) {
            AddControl(L"EDIT", L"", kEdit, WS_EX_CLIENTEDGE, L + n, InFrame(360, RowTop(n), 1095, 270));
            AddZoneBox(n);
            DisableInput(AddControl(L"EDIT", L"", kEdit, WS_EX_CLIENTEDGE, S + n, InFrame(2760, RowTop(n), 1095, 270)));
            DisableInput(AddControl(L"EDIT", L"", kEdit, WS_EX_CLIENTEDGE, E + n, InFrame(3960, RowTop(n), 1095, 270)));
        }
        AddControl(L"BUTTON", L"OK", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, BOK, {3600, 3240, 855, 375});
        AddControl(L"BUTTON", L"ｷｬﾝｾﾙ", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, BCH, {4800, 3240, 855, 375});
        for (int n = 1; n <= kPlaceCount; ++n) {
            HWND box = AddControl(L"BUTTON", L"Check" + std::to_wstring(n), BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP,
                                  0, Check + n, InFrame(5160, RowTop(n), 255, 255));
            // The caption says nothing of the row: screen readers hear the column and the row.
            // A box that cannot be named so keeps its caption as its name.
            if (box) SetAccessibleName(box, SummerTimeName(n));
        }
        NameRowFields();
        CreateZoneTips();
    }

    // The boxes have no caption of their own: screen readers hear their
    // column's caption and their row, as the summer-time boxes do.
    void NameRowFields() {
        const std::pair<int, int> columns[] = {{L, Label1}, {J, Label2}, {S, Label3}, {E, Label4}};
        for (const auto& [base, heading] : columns) {
            const std::wstring caption = ItemText(heading);
            for (int n = 1; n <= kPlaceCount; ++n) {
                SetAccessibleName(Item(base + n), RowFieldName(caption, n));
                // The focus of a zone box is in its edit field.
                if (base == J) SetAccessibleName(Box(n).edit(), RowFieldName(caption, n));
            }
        }
    }

    // The combo box at the row's time-difference box: its selection field
    // the row's 270 twips high, its list below.
    void AddZoneBox(int n) {
        const TwipsBox field = ZoneField(n);
        HWND combo = AddControl(L"COMBOBOX", L"", kZoneCombo, 0, J + n, {field.left, field.top, field.width, field.height + kZoneListHeight});
        const RECT pixels = PixelRect(field);
        zoneBoxes_[Row(n)].emplace(combo, app_.zones, pixels.bottom - pixels.top, ZoneListPixels());
    }
    TwipsBox ZoneField(int n) const { return InFrame(1560, RowTop(n), 1095, 270); }
    int ZoneListPixels() const { return PixelRect({0, 0, kZoneListWidth, 0}).right; }

    // At another DPI the zone boxes' fields keep the rows' twips again.
    void Relaid() override {
        for (int n = 1; n <= kPlaceCount; ++n) {
            const RECT pixels = PixelRect(ZoneField(n));
            if (zoneBoxes_[Row(n)]) zoneBoxes_[Row(n)]->Fit(pixels.bottom - pixels.top, ZoneListPixels());
        }
        if (tips_) SendMessageW(tips_.get(), TTM_SETMAXTIPWIDTH, 0, ZoneListPixels());
    }

    void CreateZoneTips() {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        tips_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, ModuleInstance(), nullptr));
        if (!tips_) return;
        SendMessageW(tips_.get(), TTM_SETMAXTIPWIDTH, 0, ZoneListPixels());
        for (auto& box : zoneBoxes_) {
            // The pointer over the field is over the edit inside the combo box.
            for (HWND tool : {box->combo(), box->edit()}) SendTip(TTM_ADDTOOLW, tool, L"");
        }
    }

    // A tool of the tip window: added, or its text changed.
    void SendTip(UINT message, HWND tool, const wchar_t* text) {
        TTTOOLINFOW info{};
        info.cbSize = TTTOOLINFOW_V2_SIZE;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = hwnd_;
        info.uId = reinterpret_cast<UINT_PTR>(tool);
        info.lpszText = const_cast<wchar_t*>(text);
        SendMessageW(tips_.get(), message, 0, reinterpret_cast<LPARAM>(&info));
    }

    static std::size_t Row(int n) { return static_cast<std::size_t>(n - 1); }
    ZoneBox& Box(int n) { return *zoneBoxes_[Row(n)]; }
    const ZoneBox& Box(int n) const { return *zoneBoxes_[Row(n)]; }

    // After the row's text changed: its tool tip, and its ST box, which shows
    // a zone's summer time now and is not the user's to tick.
    void UpdateZoneRow(int n) {
        const ZoneBox& box = Box(n);
        const ZoneEntry* zone = box.ZoneOfText();
        // A zone ticks the box for its summer time now; a row back on numbers
        // shows its own tick again, not the zone's.
        SetChecked(Check + n, zone ? ZoneStateAt(zone->rules, ToUtcMillis(app_.clock.UtcNow())).summer : ownSummer_[Row(n)]);
        EnableWindow(Item(Check + n), zone ? FALSE : TRUE);
        // The hint the mouse gets as a tool tip, the keyboard gets as the box's description.
        const std::wstring tip = box.TipText();
        for (HWND part : {box.combo(), box.edit()}) {
            SetAccessibleDescription(part, tip);
            NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, part, OBJID_CLIENT, CHILDID_SELF);
            if (tips_) SendTip(TTM_UPDATETIPTEXTW, part, tip.c_str());
        }
    }

    // Form_Load: the model as the places file has it now.
    void Load() override {
        SettingsModel& m = app_.model;
        ReadPlaces(m, app_.programFolder);
        ApplyZones(m, app_.zones);
        for (int n = 1; n <= kPlaceCount; ++n) SetItemText(L + n, Widen(m.PlaceName[n]));
        for (int n = 1; n <= kPlaceCount; ++n) {
            // A zone place shows its zone; one this system lacks, its key name marked.
            if (m.ZoneName[n].empty()) Box(n).ShowText(Widen(m.TimeDiff[n].ToText()));
            else if (const ZoneEntry* zone = m.Zone[n] ? app_.zones.Find(m.ZoneName[n]) : nullptr) Box(n).ShowZone(*zone);
            else Box(n).ShowUnknownZone(m.ZoneName[n]);
        }
        for (int n = 1; n <= kPlaceCount; ++n) SetItemText(S + n, Widen(m.WorkStart[n].ToText()));
        for (int n = 1; n <= kPlaceCount; ++n) SetItemText(E + n, Widen(m.WorkEnd[n].ToText()));
        // Only 1 is a checked box; 0 and anything unreadable show unchecked.
        // A zone row's own tick starts unticked: the file's 1 there was the zone's.
        for (int n = 1; n <= kPlaceCount; ++n) ownSummer_[Row(n)] = !m.Zone[n] && m.SummerTime[n].Equals(1);
        for (int n = 1; n <= kPlaceCount; ++n) UpdateZoneRow(n);
        for (int n = 1; n <= kPlaceCount; ++n) loadedDiff_[Row(n)] = Box(n).Text();
        loaded_ = Fields();
    }

    HWND FirstFocus() override { return Item(L + 1); }

    // As on a paper form: Enter goes on to the next field; on a button it
    // presses it. In a time-difference box with a search, it takes the best match.
    void OnEnter(HWND focus) override {
        if (!focus || !IsChild(hwnd_, focus)) return;
        for (int n = 1; n <= kPlaceCount; ++n) {
            if (focus != Box(n).edit()) continue;
            if (const auto best = Box(n).Match(-1)) {
                TakeMatch(n, *best);
                return;
            }
        }
        if (IsPushButton(focus)) {
            SendMessageW(focus, BM_CLICK, 0, 0);
        } else {
            FocusNext(focus);
        }
    }

    // Esc is "ｷｬﾝｾﾙ", but edits are not thrown away without asking.
    void OnEscape(HWND) override {
        if (Fields() != loaded_ &&
            app_.messages.Show(hwnd_, kDiscardQuestion, kTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
            return;
        }
        BCH_Click();
    }

    // Every box's text and every check, to tell whether the user changed any.
    std::vector<std::wstring> Fields() const {
        std::vector<std::wstring> fields;
        for (int n = 1; n <= kPlaceCount; ++n) {
            for (int base : {L, J, S, E}) fields.push_back(ItemText(base + n));
            fields.push_back(IsChecked(Check + n) ? L"1" : L"0");
        }
        return fields;
    }

    void OnCommand(int id, int code, HWND) override {
        if (id > L && id <= L + kPlaceCount && code == EN_SETFOCUS) {
            OpenHiraganaInput(Item(id));
        } else if (id > J && id <= J + kPlaceCount) {
            OnZoneBox(id - J, code);
        } else if (id > Check && id <= Check + kPlaceCount && code == BN_CLICKED) {
            ownSummer_[Row(id - Check)] = IsChecked(id);
        } else if (id == BOK && code == BN_CLICKED) {
            BOK_Click();
        } else if (id == BCH && code == BN_CLICKED) {
            BCH_Click();
        }
    }

    void OnZoneBox(int n, int code) {
        ZoneBox& box = Box(n);
        if (code == CBN_SETFOCUS) {
            // Numbers need no conversion; a search in Japanese may open it.
            CloseInput(box.edit());
        } else if (code == CBN_EDITCHANGE && !narrowing_) {
            narrowing_ = true;
            box.Narrow();
            narrowing_ = false;
            UpdateZoneRow(n);
        } else if (code == CBN_SELCHANGE) {
            // The field takes the chosen line after this notification, as it does here.
            const auto index = SendMessageW(box.combo(), CB_GETCURSEL, 0, 0);
            if (const auto chosen = index != CB_ERR ? box.Match(static_cast<int>(index)) : std::nullopt) TakeMatch(n, *chosen);
            else UpdateZoneRow(n);
        }
    }

    // A line of the list taken: the row follows its zone, and an empty name
    // (or one this dialog wrote) becomes the place's name.
    void TakeMatch(int n, const ZoneMatch& match) {
        Box(n).Take(match);
        const std::wstring name = Widen(match.name);
        const std::wstring shown = ItemText(L + n);
        if (!name.empty() && (shown.empty() || shown == filledName_[Row(n)])) {
            SetItemText(L + n, name);
            filledName_[Row(n)] = name;
        }
        UpdateZoneRow(n);
    }

    // J's text into the row: a listed zone's display name makes the row
    // follow it (keeping the stored spelling of the same zone), an unknown
    // zone left unedited stays as read, any other text is the time difference.
    void TakeZoneBox(SettingsModel& m, int n) {
        const ZoneBox& box = Box(n);
        if (const ZoneEntry* zone = box.ZoneOfText()) {
            if (m.ZoneName[n].empty() || app_.zones.Find(m.ZoneName[n]) != zone) m.ZoneName[n] = zone->key;
            m.Zone[n] = zone->rules;
            return;
        }
        m.Zone[n].reset();
        if (box.ShowsUnknownZone()) return;
        m.ZoneName[n].clear();
        m.TimeDiff[n] = Value::Text(Narrow(box.Text()));
        if (!m.PlaceName[n].empty() && m.TimeDiff[n].IsEmpty()) m.TimeDiff[n] = Value::Integer(0);
    }

    void BOK_Click() {
        SettingsModel& m = app_.model;
        if (!DiffsMaySave()) return;
        const SettingsModel before = m;  // going back to the edits leaves the model as it was
        for (int n = 1; n <= kPlaceCount; ++n) m.PlaceName[n] = Narrow(ItemText(L + n));
        for (int n = 1; n <= kPlaceCount; ++n) TakeZoneBox(m, n);
        for (int n = 1; n <= kPlaceCount; ++n) m.WorkStart[n] = Value::Text(Narrow(ItemText(S + n)));
        for (int n = 1; n <= kPlaceCount; ++n) m.WorkEnd[n] = Value::Text(Narrow(ItemText(E + n)));
        for (int n = 1; n <= kPlaceCount; ++n) m.SummerTime[n] = Value::Integer(IsChecked(Check + n) ? 1 : 0);
        // A zone place's numbers: its offset from the computer's clock now.
        StampZoneOffsets(m, app_.clock.Now(), app_.clock.UtcNow());
        if (!MaySave(app_, hwnd_, SavedTexts())) {
            m = before;
            return;
        }
        // A failed save keeps the window open with the edits, so the user can
        // try again or leave with "ｷｬﾝｾﾙ".
        if (auto error = WritePlaces(m, app_.programFolder)) {
            ShowSaveError(app_, hwnd_, *error);
            return;
        }
        AppContext& app = app_;
        Close();
        app.windows.OpenHenko();
    }

    // The texts of the places file, row by row in the keyboard's order.
    std::vector<SavedText> SavedTexts() const {
        const SettingsModel& m = app_.model;
        std::vector<SavedText> texts;
        for (int n = 1; n <= kPlaceCount; ++n) {
            const std::wstring row = L" (" + std::to_wstring(n) + L"行目)";
            texts.push_back({L"名称" + row, Item(L + n), m.PlaceName[n]});
            texts.push_back({L"時差" + row, Item(J + n), m.TimeDiff[n].ToText()});
            // A zone's key name (from a UTF-8 file) is as much the row's text as its numbers.
            if (!m.ZoneName[n].empty()) texts.push_back({L"時差" + row, Box(n).edit(), m.ZoneName[n]});
            texts.push_back({L"始業時刻" + row, Item(S + n), m.WorkStart[n].ToText()});
            texts.push_back({L"終業時刻" + row, Item(E + n), m.WorkEnd[n].ToText()});
        }
        return texts;
    }

    // A time-difference text typed in this opening must be a number or a zone:
    // a search left in the box is never saved as a time difference of 0.
    // The user goes back to it (the default), or the rows keep what they had.
    bool DiffsMaySave() {
        std::vector<BadDiff> bad;
        for (int n = 1; n <= kPlaceCount; ++n) {
            const ZoneBox& box = Box(n);
            const std::wstring text = box.Text();
            if (text == loadedDiff_[Row(n)] || box.ZoneOfText() || box.ShowsUnknownZone()) continue;
            if (text.empty() || ParseNumber(Narrow(text))) continue;
            bad.push_back({n, text});
        }
        if (bad.empty()) return true;
        const int answer = app_.messages.Show(hwnd_, BadDiffMessage(bad), kTitle, MB_YESNO | MB_DEFBUTTON1 | MB_ICONEXCLAMATION);
        if (answer == IDNO) {
            for (const BadDiff& b : bad) Box(b.row).ShowText(loadedDiff_[Row(b.row)]);
            return true;
        }
        SetFocus(Box(bad.front().row).edit());
        return false;
    }

    void BCH_Click() {
        AppContext& app = app_;
        app.windows.OpenHenko();
        Close();
    }

    std::array<std::optional<ZoneBox>, kPlaceCount> zoneBoxes_;
    std::array<bool, kPlaceCount> ownSummer_{};          // each row's tick when it runs on numbers
    std::array<std::wstring, kPlaceCount> loadedDiff_;  // each time-difference text as Load showed it
    std::array<std::wstring, kPlaceCount> filledName_;  // a name a taken city wrote into the row
    UniqueWindow tips_;
    bool narrowing_ = false;
    std::vector<std::wstring> loaded_;  // the fields as Load filled them
};

}  // namespace

void OpenSyokiWindow(AppContext& app) {
    SyokiWindow::Open(app);
}

}  // namespace qv::win
