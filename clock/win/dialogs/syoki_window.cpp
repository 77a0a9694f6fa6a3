// The initial setup window SYOKI: the ten places with their time differences,
// business hours and summer time, read from and written to the places file.
#include "syoki_window.h"

#include "accessible_name.h"
#include "text.h"
#include "dialogs.h"
#include "form.h"
#include "input_mode.h"
#include "unstorable_text.h"

namespace qv::win {

namespace {

using namespace syoki;

constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX | WS_GROUP;

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
        FormStyle style{kClassName, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW, 5790, 3705};
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
            DisableInput(AddControl(L"EDIT", L"", kEdit, WS_EX_CLIENTEDGE, J + n, InFrame(1560, RowTop(n), 1095, 270)));
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
    }

    // Form_Load: the model as the places file has it now.
    void Load() override {
        SettingsModel& m = app_.model;
        ReadPlaces(m, app_.programFolder);
        for (int n = 1; n <= kPlaceCount; ++n) SetItemText(L + n, Widen(m.PlaceName[n]));
        for (int n = 1; n <= kPlaceCount; ++n) SetItemText(J + n, Widen(m.TimeDiff[n].ToText()));
        for (int n = 1; n <= kPlaceCount; ++n) SetItemText(S + n, Widen(m.WorkStart[n].ToText()));
        for (int n = 1; n <= kPlaceCount; ++n) SetItemText(E + n, Widen(m.WorkEnd[n].ToText()));
        // Only 1 is a checked box; 0 and anything unreadable show unchecked.
        for (int n = 1; n <= kPlaceCount; ++n) SetChecked(Check + n, m.SummerTime[n].Equals(1));
        loaded_ = Fields();
    }

    HWND FirstFocus() override { return Item(L + 1); }

    // As on a paper form: Enter goes on to the next field; on a button it presses it.
    void OnEnter(HWND focus) override {
        if (!focus || !IsChild(hwnd_, focus)) return;
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
        } else if (id == BOK && code == BN_CLICKED) {
            BOK_Click();
        } else if (id == BCH && code == BN_CLICKED) {
            BCH_Click();
        }
    }

    void BOK_Click() {
        SettingsModel& m = app_.model;
        const SettingsModel before = m;  // going back to the edits leaves the model as it was
        for (int n = 1; n <= kPlaceCount; ++n) m.PlaceName[n] = Narrow(ItemText(L + n));
        for (int n = 1; n <= kPlaceCount; ++n) m.TimeDiff[n] = Value::Text(Narrow(ItemText(J + n)));
        for (int n = 1; n <= kPlaceCount; ++n) {
            if (!m.PlaceName[n].empty() && m.TimeDiff[n].IsEmpty()) m.TimeDiff[n] = Value::Integer(0);
        }
        for (int n = 1; n <= kPlaceCount; ++n) m.WorkStart[n] = Value::Text(Narrow(ItemText(S + n)));
        for (int n = 1; n <= kPlaceCount; ++n) m.WorkEnd[n] = Value::Text(Narrow(ItemText(E + n)));
        for (int n = 1; n <= kPlaceCount; ++n) m.SummerTime[n] = Value::Integer(IsChecked(Check + n) ? 1 : 0);
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
            texts.push_back({L"始業時刻" + row, Item(S + n), m.WorkStart[n].ToText()});
            texts.push_back({L"終業時刻" + row, Item(E + n), m.WorkEnd[n].ToText()});
        }
        return texts;
    }

    void BCH_Click() {
        AppContext& app = app_;
        app.windows.OpenHenko();
        Close();
    }

    std::vector<std::wstring> loaded_;  // the fields as Load filled them
};

}  // namespace

void OpenSyokiWindow(AppContext& app) {
    SyokiWindow::Open(app);
}

}  // namespace qv::win
