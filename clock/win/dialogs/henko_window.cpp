// The display settings window HENKO: colours, font, format, sizes, picture and
// transparency of the clock window, and the way on to SYOKI, VerInfo and back
// to the clock.
#include "henko_window.h"

#include <array>
#include <optional>
#include <utility>

#include "accessible_name.h"
#include "text.h"
#include "dialogs.h"
#include "form.h"
#include "input_mode.h"
#include "unstorable_text.h"

namespace qv::win {

namespace {

using namespace henko;

constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP;
constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX | WS_GROUP;
constexpr DWORD kBorderedLabel = SS_LEFT | SS_NOPREFIX | SS_SUNKEN | WS_GROUP;

// Frame1's own origin: the options, swatches and "変更" are placed inside it.
constexpr double kFrameLeft = 120, kFrameTop = 120;
constexpr TwipsBox InFrame(double left, double top, double width, double height) {
    return {kFrameLeft + left, kFrameTop + top, width, height};
}

// One colour of the clock window: the option that selects it, its swatch,
// the model field and the value an empty field gets at opening.
struct ColourSlot {
    int option;
    int swatch;
    std::string SettingsModel::*field;
    std::uint32_t defaultColor;
};

// The order in which "変更" tests the options.
constexpr std::array<ColourSlot, 4> kSlotsByOption{{
    {OP1, HYO, &SettingsModel::NameColor, defaults::kNameColor},
    {OP2, STM, &SettingsModel::SummerColor, defaults::kSummerColor},
    {OP3, SYU, &SettingsModel::WorkColor, defaults::kWorkColor},
    {OP4, NHY, &SettingsModel::TimeColor, defaults::kTimeColor},
}};
// The order in which the opening fills the swatches.
constexpr std::array<int, 4> kLoadOrder{0, 3, 1, 2};  // name, time, summer, work

// The grouping rectangles, drawn by the window itself.
constexpr std::array<TwipsBox, 4> kShapes{{
    {6720, 840, 1575, 495},   // Shape1, around CK1
    {3000, 840, 3615, 1575},  // Shape2, the four text fields
    {3000, 2520, 3975, 1215}, // Shape3, the font group
    {3000, 120, 5295, 615},   // Shape4, the picture row
}};

class HenkoWindow final : public Form {
public:
    explicit HenkoWindow(AppContext& app) : Form(app) {}

    static void Open(AppContext& app) {
        FormStyle style{kClassName, kTitle,
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                        0, 8385, 3810};
        Form::Open(std::make_unique<HenkoWindow>(app), style);
    }

private:
    void BuildControls() override {
        AddControl(L"BUTTON", L"どの色を変更しますか？", BS_GROUPBOX | WS_GROUP, 0, Frame1, {120, 120, 2775, 3615});
        AddControl(L"BUTTON", L"名称標準表示色", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 0, OP1, InFrame(120, 360, 1815, 495));
        AddControl(L"BUTTON", L"日時標準表示色", BS_AUTORADIOBUTTON, 0, OP4, InFrame(120, 960, 1815, 495));
        AddControl(L"BUTTON", L"サマータイム表示色", BS_AUTORADIOBUTTON, 0, OP2, InFrame(120, 1560, 1935, 495));
        AddControl(L"BUTTON", L"就業時間表示色", BS_AUTORADIOBUTTON, 0, OP3, InFrame(120, 2160, 1815, 495));
        AddControl(L"STATIC", L"", kBorderedLabel, 0, HYO, InFrame(2160, 480, 495, 255));
        AddControl(L"STATIC", L"", kBorderedLabel, 0, NHY, InFrame(2160, 1080, 495, 255));
        AddControl(L"STATIC", L"", kBorderedLabel, 0, STM, InFrame(2160, 1680, 495, 255));
        AddControl(L"STATIC", L"", kBorderedLabel, 0, SYU, InFrame(2160, 2280, 495, 255));
        AddControl(L"BUTTON", L"変更", kButton, 0, BIRH, InFrame(960, 2880, 735, 495));

        AddControl(L"BUTTON", L"画像変更", kButton, 0, BGHEN, {3120, 240, 1095, 375});
        // The picture path's box has no caption beside it: screen readers hear what it holds.
        SetAccessibleName(AddControl(L"EDIT", L"", kEdit, WS_EX_CLIENTEDGE, GZU, {4320, 290, 3855, 270}), kPictureName);
        AddControl(L"STATIC", L"日時表示形式", kLabel, 0, Label1, {3120, 960, 1095, 255});
        AddControl(L"EDIT", L"", kEdit, WS_EX_CLIENTEDGE, HYOJ, {4320, 960, 2175, 270});
        AddControl(L"STATIC", L"表示欄(高さ)", kLabel, 0, Label2, {3120, 1320, 1095, 255});
        DisableInput(AddControl(L"EDIT", L"", kEdit, WS_EX_CLIENTEDGE, NH, {4320, 1320, 1095, 270}));
        AddControl(L"STATIC", L"表示欄(幅)", kLabel, 0, Label3, {3120, 1680, 1095, 255});
        DisableInput(AddControl(L"EDIT", L"", kEdit, WS_EX_CLIENTEDGE, NW, {4320, 1680, 1095, 270}));
        AddControl(L"STATIC", L"上下幅", kLabel, 0, Label7, {3120, 2040, 1095, 255});
        DisableInput(AddControl(L"EDIT", L"", kEdit, WS_EX_CLIENTEDGE, IJ, {4320, 2040, 1095, 270}));
        AddControl(L"BUTTON", L"透明表示", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0, CK1, {6960, 960, 1095, 255});
        // In the free band between CK1's box and "ヘルプ", as wide as that box:
        // its caption needs all of it at 9 points.
        AddControl(L"BUTTON", L"常に手前に表示", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0, CK2, {6720, 1500, 1575, 255});

        AddControl(L"BUTTON", L"ﾌｫﾝﾄ変更", kButton, 0, BFONT, {3120, 2880, 1095, 375});
        AddControl(L"STATIC", L"ﾌｫﾝﾄ名", kLabel, 0, Label4, {4320, 2640, 795, 255});
        AddControl(L"STATIC", L"ﾌｫﾝﾄｻｲｽﾞ", kLabel, 0, Label5, {4320, 3000, 795, 255});
        AddControl(L"STATIC", L"ﾌｫﾝﾄｽﾀｲﾙ", kLabel, 0, Label6, {4320, 3360, 795, 255});
        AddControl(L"STATIC", L"", kBorderedLabel, 0, NFON, {5160, 2640, 1695, 255});
        AddControl(L"STATIC", L"", kBorderedLabel, 0, SFON, {5160, 3000, 615, 255});
        AddControl(L"STATIC", L"", kBorderedLabel, 0, STFON, {5160, 3360, 1215, 255});

        AddControl(L"BUTTON", L"ヘルプ", kButton, 0, Help, {7080, 1920, 1215, 375});
        AddControl(L"BUTTON", L"初期設定", kButton, 0, BSYO, {7080, 2400, 1215, 375});
        AddControl(L"BUTTON", L"ﾊﾞｰｼﾞｮﾝ情報", kButton, 0, GoVerInfo, {7080, 2880, 1215, 375});
        AddControl(L"BUTTON", L"終了", kButton, 0, BEND, {7080, 3360, 1215, 375});
    }

    // Form_Load.
    void Load() override {
        SettingsModel& m = app_.model;
        // The font chooser starts from the model's font; a value it cannot
        // take counts as no size, regular, upright.
        font_.name = Widen(m.FontName.ToText());
        font_.size = static_cast<float>(m.FontSize.ToNumber().value_or(0));
        font_.bold = m.FontBold.ToBoolean().value_or(false);
        font_.italic = m.FontItalic.ToBoolean().value_or(false);
        ShowFontDescription();

        SetItemText(HYOJ, Widen(m.DateFormat.ToText()));
        SetItemText(NH, Widen(m.FieldHeight.ToText()));
        SetItemText(NW, Widen(m.FieldWidth.ToText()));
        SetItemText(GZU, Widen(m.PicturePath.ToText()));
        SetItemText(IJ, Widen(m.RowGap.ToText()));

        for (int index : kLoadOrder) {
            const ColourSlot& slot = kSlotsByOption[static_cast<std::size_t>(index)];
            std::string& colour = m.*slot.field;
            if (colour.empty()) {
                colour = std::to_string(slot.defaultColor);  // the swatch stays neutral
            } else if (auto number = ColorFromText(colour)) {
                PaintSwatch(index, static_cast<COLORREF>(*number & 0xFFFFFF));
            }
        }

        SetChecked(OP1, true);
        // Back from the initial setup or the about box, the user is where they left.
        firstFocus_ = std::exchange(app_.henkoLeftFrom, 0);
        if (firstFocus_ == 0) firstFocus_ = OP1;
        // Any number but 0 means transparent; text that is no number reads as opaque.
        auto transparent = Value::Text(m.Transparent).ToNumber();
        if (transparent && *transparent != 0) {
            SetChecked(CK1, true);
            CK1_Click();
        }
        SetChecked(CK2, m.AlwaysOnTop);
    }

    HWND FirstFocus() override { return Item(firstFocus_); }

    // Enter presses a focused button and does nothing elsewhere; Esc does
    // nothing: the window has no cancel.
    void OnEnter(HWND focus) override {
        if (IsPushButton(focus) && IsChild(hwnd_, focus)) SendMessageW(focus, BM_CLICK, 0, 0);
    }

    void OnCommand(int id, int code, HWND) override {
        if (id == HYOJ && code == EN_SETFOCUS) {
            CloseInput(Item(HYOJ));
            return;
        }
        if (code != BN_CLICKED) return;
        switch (id) {
        case BIRH: BIRH_Click(); break;
        case BFONT: BFONT_Click(); break;
        case BGHEN: BGHEN_Click(); break;
        case CK1: CK1_Click(); break;
        case CK2: CK2_Click(); break;
        case Help: help_Click(); break;
        case BSYO: BSYO_Click(); return;       // the window is gone
        case GoVerInfo: GoVerInfo_Click(); return;
        case BEND: BEND_Click(); return;
        default: break;
        }
    }

    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        if (msg != WM_CTLCOLORSTATIC) return false;
        int id = GetDlgCtrlID(reinterpret_cast<HWND>(lp));
        for (std::size_t i = 0; i < kSlotsByOption.size(); ++i) {
            if (kSlotsByOption[i].swatch == id && swatchBrush_[i]) {
                SetBkColor(reinterpret_cast<HDC>(wp), swatchColour_[i]);
                result = reinterpret_cast<LRESULT>(swatchBrush_[i].get());
                return true;
            }
        }
        return false;
    }

    void Paint(HDC dc) override {
        SelectScope pen(dc, GetStockObject(BLACK_PEN));
        SelectScope brush(dc, GetStockObject(NULL_BRUSH));
        for (const TwipsBox& shape : kShapes) {
            RECT r = PixelRect(shape);
            Rectangle(dc, r.left, r.top, r.right, r.bottom);
        }
    }

    void PaintSwatch(std::size_t index, COLORREF colour) {
        swatchColour_[index] = colour;
        swatchBrush_[index] = UniqueBrush(CreateSolidBrush(colour));
        InvalidateRect(Item(kSlotsByOption[index].swatch), nullptr, TRUE);
    }

    void ShowFontDescription() {
        const SettingsModel& m = app_.model;
        bool bold = m.FontBold.ToBoolean().value_or(false);
        bool italic = m.FontItalic.ToBoolean().value_or(false);
        const wchar_t* style = bold ? (italic ? L"太字/斜体" : L"太字") : (italic ? L"斜体" : L"標準");
        SetItemText(STFON, style);
        SetItemText(NFON, Widen(m.FontName.ToText()));
        SetItemText(SFON, Widen(m.FontSize.ToText()));
    }

    // "変更": the colour of the selected option. A cancelled chooser changes nothing.
    void BIRH_Click() {
        auto chosen = app_.choosers.ChooseColor(hwnd_, lastColour_);
        if (!chosen) return;
        lastColour_ = *chosen & 0xFFFFFF;
        for (std::size_t i = 0; i < kSlotsByOption.size(); ++i) {
            if (IsChecked(kSlotsByOption[i].option)) {
                app_.model.*kSlotsByOption[i].field = std::to_string(lastColour_);
                PaintSwatch(i, lastColour_);
                break;
            }
        }
    }

    // "ﾌｫﾝﾄ変更". A cancelled chooser changes nothing.
    void BFONT_Click() {
        auto chosen = app_.choosers.ChooseFont(hwnd_, font_);
        if (!chosen) return;
        font_ = *chosen;
        SettingsModel& m = app_.model;
        m.FontBold = Value::Boolean(font_.bold);
        m.FontItalic = Value::Boolean(font_.italic);
        m.FontName = Value::Text(Narrow(font_.name));
        m.FontSize = Value::Single(font_.size);
        ShowFontDescription();
    }

    // "画像変更": the path goes into GZU; PicturePath takes it at "終了".
    void BGHEN_Click() {
        auto file = app_.choosers.ChooseOpenFile(hwnd_, kPictureFilter);
        if (file && !file->empty()) SetItemText(GZU, *file);
    }

    void CK1_Click() {
        app_.model.Transparent.assign(1, IsChecked(CK1) ? '1' : '0');
    }

    // Into the model at once, like transparency; the clock takes it when it
    // next opens.
    void CK2_Click() {
        app_.model.AlwaysOnTop = IsChecked(CK2);
    }

    void help_Click() {
        ShowHelp();
    }

    // "初期設定": the text fields are not taken; colours, font,
    // transparency and always on top are already in the model. A failed save is reported and
    // the hand-over goes on: the values stay in the model for the next save.
    // Going back to the edits keeps the window open.
    void BSYO_Click() {
        if (SaveDisplay() == Saved::WentBack) return;
        AppContext& app = app_;
        app.henkoLeftFrom = BSYO;
        app.windows.OpenSyoki();
        Close();
    }

    void GoVerInfo_Click() {
        if (SaveDisplay() == Saved::WentBack) return;
        AppContext& app = app_;
        app.henkoLeftFrom = GoVerInfo;
        app.windows.OpenVerInfo();
        Close();
    }

    // "終了". When the save fails the window stays open: a restart would read
    // the old file and lose the edits.
    void BEND_Click() {
        SettingsModel& m = app_.model;
        const SettingsModel before = m;  // going back to the edits leaves the model as it was
        m.RestartFlag = Value::Integer(1);
        m.FieldHeight = Value::Text(Narrow(ItemText(NH)));
        m.FieldWidth = Value::Text(Narrow(ItemText(NW)));
        m.DateFormat = Value::Text(Narrow(ItemText(HYOJ)));
        m.PicturePath = Value::Text(Narrow(ItemText(GZU)));
        m.RowGap = Value::Text(Narrow(ItemText(IJ)));
        const Saved saved = SaveDisplay();
        if (saved == Saved::WentBack) m = before;
        if (saved != Saved::Yes) return;
        AppContext& app = app_;
        Close();
        app.windows.LoadVr();
    }

    enum class Saved { Yes, WentBack, Failed };

    // A picture path the file cannot hold is saved as its short path; any
    // other such text is the user's to go back to or to save as '?'.
    Saved SaveDisplay() {
        SettingsModel& m = app_.model;
        if (const std::string path = m.PicturePath.ToText(), storable = StorablePicturePath(path); storable != path) {
            m.PicturePath = Value::Text(storable);
        }
        const std::vector<SavedText> texts = {
            {L"画像ファイル", Item(GZU), m.PicturePath.ToText()},
            {L"日時表示形式", Item(HYOJ), m.DateFormat.ToText()},
            {L"表示欄(高さ)", Item(NH), m.FieldHeight.ToText()},
            {L"表示欄(幅)", Item(NW), m.FieldWidth.ToText()},
            {L"上下幅", Item(IJ), m.RowGap.ToText()},
            {L"ﾌｫﾝﾄ名", Item(BFONT), m.FontName.ToText()},
        };
        if (!MaySave(app_, hwnd_, texts)) return Saved::WentBack;
        if (auto error = WriteDisplay(m, app_.programFolder)) {
            ShowSaveError(app_, hwnd_, *error);
            return Saved::Failed;
        }
        return Saved::Yes;
    }

    FontChoice font_;
    int firstFocus_ = OP1;
    COLORREF lastColour_ = 0;
    std::array<UniqueBrush, 4> swatchBrush_;
    std::array<COLORREF, 4> swatchColour_{};
};

}  // namespace

void OpenHenkoWindow(AppContext& app) {
    HenkoWindow::Open(app);
}

}  // namespace qv::win
