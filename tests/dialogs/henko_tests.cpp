// The display settings window HENKO driven as a user would: its layout, the
// colours, font, picture, transparency and text fields, help, and the ways out.
#include <windows.h>
#include <filesystem>
#include <imm.h>

#include <gtest/gtest.h>

#include "ole_scope.h"
#include "settings_files.h"
#include "henko_window.h"
#include "dialog_fixture.h"
#include "layout_check.h"

namespace qv::win::test {
namespace {

using namespace henko;

class HenkoTest : public DialogTest {
protected:
    // The colour a swatch paints at its centre.
    static COLORREF SwatchColour(HWND window, int id) {
        HWND swatch = GetDlgItem(window, id);
        RECT r{};
        GetClientRect(swatch, &r);
        return PrintedPixel(swatch, r.right / 2, r.bottom / 2);
    }
    static COLORREF Neutral() { return GetSysColor(COLOR_BTNFACE); }

    void GiveColours() {
        model.NameColor = "255";          // red
        model.SummerColor = "65280";      // green
        model.WorkColor = "16711680";     // blue
        model.TimeColor = "8421504";      // grey
    }
};

TEST_F(HenkoTest, EveryControlStandsAtItsPlaceWithItsCaption) {
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    wchar_t title[64] = {};
    GetWindowTextW(w, title, 64);
    EXPECT_STREQ(title, L"設定変更");
    ExpectSettingsFrame(w, true, 8385, 3810);

    ExpectControl(w, Frame1, 120, 120, 2775, 3615, L"どの色を変更しますか？", L"Button");
    // Inside Frame1, whose origin is (120, 120).
    ExpectControl(w, OP1, 240, 480, 1815, 495, L"名称標準表示色", L"Button");
    ExpectControl(w, OP4, 240, 1080, 1815, 495, L"日時標準表示色", L"Button");
    ExpectControl(w, OP2, 240, 1680, 1935, 495, L"サマータイム表示色", L"Button");
    ExpectControl(w, OP3, 240, 2280, 1815, 495, L"就業時間表示色", L"Button");
    ExpectControl(w, HYO, 2280, 600, 495, 255, L"", L"Static");
    ExpectControl(w, NHY, 2280, 1200, 495, 255, L"", L"Static");
    ExpectControl(w, STM, 2280, 1800, 495, 255, L"", L"Static");
    ExpectControl(w, SYU, 2280, 2400, 495, 255, L"", L"Static");
    ExpectControl(w, BIRH, 1080, 3000, 735, 495, L"変更", L"Button");
    ExpectControl(w, BGHEN, 3120, 240, 1095, 375, L"画像変更", L"Button");
    ExpectControl(w, GZU, 4320, 290, 3855, 270, nullptr, L"Edit");
    ExpectControl(w, Label1, 3120, 960, 1095, 255, L"日時表示形式", L"Static");
    ExpectControl(w, HYOJ, 4320, 960, 2175, 270, nullptr, L"Edit");
    ExpectControl(w, Label2, 3120, 1320, 1095, 255, L"表示欄(高さ)", L"Static");
    ExpectControl(w, NH, 4320, 1320, 1095, 270, nullptr, L"Edit");
    ExpectControl(w, Label3, 3120, 1680, 1095, 255, L"表示欄(幅)", L"Static");
    ExpectControl(w, NW, 4320, 1680, 1095, 270, nullptr, L"Edit");
    ExpectControl(w, Label7, 3120, 2040, 1095, 255, L"上下幅", L"Static");
    ExpectControl(w, IJ, 4320, 2040, 1095, 270, nullptr, L"Edit");
    ExpectControl(w, CK1, 6960, 960, 1095, 255, L"透明表示", L"Button");
    ExpectControl(w, CK2, 6720, 1500, 1575, 255, L"常に手前に表示", L"Button");
    ExpectControl(w, BFONT, 3120, 2880, 1095, 375, L"ﾌｫﾝﾄ変更", L"Button");
    ExpectControl(w, Label4, 4320, 2640, 795, 255, L"ﾌｫﾝﾄ名", L"Static");
    ExpectControl(w, Label5, 4320, 3000, 795, 255, L"ﾌｫﾝﾄｻｲｽﾞ", L"Static");
    ExpectControl(w, Label6, 4320, 3360, 795, 255, L"ﾌｫﾝﾄｽﾀｲﾙ", L"Static");
    ExpectControl(w, NFON, 5160, 2640, 1695, 255, nullptr, L"Static");
    ExpectControl(w, SFON, 5160, 3000, 615, 255, nullptr, L"Static");
    ExpectControl(w, STFON, 5160, 3360, 1215, 255, nullptr, L"Static");
    ExpectControl(w, Help, 7080, 1920, 1215, 375, L"ヘルプ", L"Button");
    ExpectControl(w, BSYO, 7080, 2400, 1215, 375, L"初期設定", L"Button");
    ExpectControl(w, GoVerInfo, 7080, 2880, 1215, 375, L"ﾊﾞｰｼﾞｮﾝ情報", L"Button");
    ExpectControl(w, BEND, 7080, 3360, 1215, 375, L"終了", L"Button");

    // The four options are one group of radio buttons; OP1 is selected.
    for (int id : {OP1, OP4, OP2, OP3}) {
        EXPECT_EQ(GetWindowLongW(GetDlgItem(w, id), GWL_STYLE) & BS_TYPEMASK, BS_AUTORADIOBUTTON);
    }
    EXPECT_TRUE(Checked(w, OP1));
    Click(w, OP3);
    EXPECT_TRUE(Checked(w, OP3));
    EXPECT_FALSE(Checked(w, OP1));
}

TEST_F(HenkoTest, EmptyColoursGetTheirDefaultsWhileTheSwatchesStayNeutral) {
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(model.NameColor, "0");
    EXPECT_EQ(model.TimeColor, "0");
    EXPECT_EQ(model.SummerColor, "12648447");
    EXPECT_EQ(model.WorkColor, "16711680");
    for (int id : {HYO, NHY, STM, SYU}) EXPECT_EQ(SwatchColour(w, id), Neutral()) << "swatch " << id;

    Click(w, BEND);
    EXPECT_FALSE(Exists(w));
    auto lines = ReadSettingsFile(folder / kDisplayFile);
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[0], "色");
    EXPECT_EQ(lines[1], "0");         // name
    EXPECT_EQ(lines[2], "12648447");  // summer time
    EXPECT_EQ(lines[3], "16711680");  // business hours
    EXPECT_EQ(lines[4], "0");         // time
}

TEST_F(HenkoTest, SwatchesShowTheModelColours) {
    GiveColours();
    model.WorkColor = "not a colour";  // cannot paint: neutral, and opening goes on
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(SwatchColour(w, HYO), RGB(255, 0, 0));
    EXPECT_EQ(SwatchColour(w, STM), RGB(0, 255, 0));
    EXPECT_EQ(SwatchColour(w, NHY), RGB(128, 128, 128));
    EXPECT_EQ(SwatchColour(w, SYU), Neutral());
    EXPECT_EQ(model.WorkColor, "not a colour");
}

TEST_F(HenkoTest, ChangeWithTheThirdOptionChangesOnlyTheBusinessHoursColour) {
    GiveColours();
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    Click(w, OP3);
    choosers.colours.push_back(RGB(0x12, 0x34, 0x56));
    Click(w, BIRH);
    EXPECT_EQ(model.WorkColor, std::to_string(RGB(0x12, 0x34, 0x56)));
    EXPECT_EQ(SwatchColour(w, SYU), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(model.NameColor, "255");
    EXPECT_EQ(model.SummerColor, "65280");
    EXPECT_EQ(model.TimeColor, "8421504");
    EXPECT_EQ(SwatchColour(w, HYO), RGB(255, 0, 0));
    EXPECT_EQ(SwatchColour(w, STM), RGB(0, 255, 0));
    EXPECT_EQ(SwatchColour(w, NHY), RGB(128, 128, 128));
    // The first chooser of an opening starts from black, the next from the last choice.
    choosers.colours.push_back(RGB(1, 2, 3));
    Click(w, OP4);
    Click(w, BIRH);
    EXPECT_EQ(model.TimeColor, std::to_string(RGB(1, 2, 3)));
    ASSERT_EQ(choosers.colourInitials.size(), 2u);
    EXPECT_EQ(choosers.colourInitials[0], 0u);
    EXPECT_EQ(choosers.colourInitials[1], RGB(0x12, 0x34, 0x56));
}

TEST_F(HenkoTest, OptionsAreTestedInTheOrderOneTwoThreeFour) {
    GiveColours();
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    // Two options marked at once: the first in the order OP1, OP2, OP3, OP4 wins.
    SendDlgItemMessageW(w, OP1, BM_SETCHECK, BST_UNCHECKED, 0);
    SendDlgItemMessageW(w, OP4, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageW(w, OP2, BM_SETCHECK, BST_CHECKED, 0);
    choosers.colours.push_back(RGB(9, 9, 9));
    Click(w, BIRH);
    EXPECT_EQ(model.SummerColor, std::to_string(RGB(9, 9, 9)));
    EXPECT_EQ(model.TimeColor, "8421504");

    SendDlgItemMessageW(w, OP2, BM_SETCHECK, BST_UNCHECKED, 0);
    SendDlgItemMessageW(w, OP3, BM_SETCHECK, BST_CHECKED, 0);
    choosers.colours.push_back(RGB(7, 7, 7));
    Click(w, BIRH);
    EXPECT_EQ(model.WorkColor, std::to_string(RGB(7, 7, 7)));
    EXPECT_EQ(model.TimeColor, "8421504");
}

TEST_F(HenkoTest, ACancelledColourChooserChangesNothing) {
    GiveColours();
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    Click(w, OP2);
    choosers.colours.push_back(std::nullopt);
    Click(w, BIRH);
    EXPECT_EQ(model.SummerColor, "65280");
    EXPECT_EQ(SwatchColour(w, STM), RGB(0, 255, 0));
}

TEST_F(HenkoTest, FontLabelsDescribeTheModelFont) {
    struct Case {
        Value bold, italic;
        const wchar_t* style;
    };
    const Case cases[] = {
        {Value::Boolean(false), Value::Boolean(false), L"標準"},
        {Value::Boolean(false), Value::Boolean(true), L"斜体"},
        {Value::Text("True"), Value::Text("False"), L"太字"},  // as read from the file
        {Value::Boolean(true), Value::Boolean(true), L"太字/斜体"},
        {Value::Text(""), Value(), L"標準"},                   // unreadable: regular, and no failure
    };
    for (const Case& c : cases) {
        model.FontBold = c.bold;
        model.FontItalic = c.italic;
        model.FontName = Value::Text("ＭＳ ゴシック");
        model.FontSize = Value::Text(" 9 ");  // a size read from the file
        HWND w = OpenHenko();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(Text(w, STFON), c.style);
        EXPECT_EQ(Text(w, NFON), L"ＭＳ ゴシック");
        EXPECT_EQ(Text(w, SFON), L" 9 ");
        CloseBox(w);
    }
}

TEST_F(HenkoTest, TheFontChooserStartsFromTheModelAndItsChoiceGoesIntoIt) {
    model.FontBold = Value::Text("False");
    model.FontItalic = Value::Text("True");
    model.FontName = Value::Text("ＭＳ ゴシック");
    model.FontSize = Value::Text(" 9 ");
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);

    choosers.fonts.push_back(FontChoice{L"ＭＳ 明朝", 10.5f, true, false});
    Click(w, BFONT);
    ASSERT_EQ(choosers.fontInitials.size(), 1u);
    EXPECT_EQ(choosers.fontInitials[0].name, L"ＭＳ ゴシック");
    EXPECT_EQ(choosers.fontInitials[0].size, 9.0f);
    EXPECT_FALSE(choosers.fontInitials[0].bold);
    EXPECT_TRUE(choosers.fontInitials[0].italic);
    EXPECT_EQ(model.FontName, Value::Text("ＭＳ 明朝"));
    EXPECT_EQ(model.FontSize, Value::Single(10.5f));
    EXPECT_EQ(model.FontBold, Value::Boolean(true));
    EXPECT_EQ(model.FontItalic, Value::Boolean(false));
    EXPECT_EQ(Text(w, NFON), L"ＭＳ 明朝");
    EXPECT_EQ(Text(w, SFON), L"10.5");
    EXPECT_EQ(Text(w, STFON), L"太字");

    // A cancel changes nothing; the next chooser starts from the last choice.
    choosers.fonts.push_back(std::nullopt);
    Click(w, BFONT);
    EXPECT_EQ(model.FontSize, Value::Single(10.5f));
    EXPECT_EQ(Text(w, STFON), L"太字");
    ASSERT_EQ(choosers.fontInitials.size(), 2u);
    EXPECT_EQ(choosers.fontInitials[1].name, L"ＭＳ 明朝");

    Click(w, BEND);
    auto lines = ReadSettingsFile(folder / kDisplayFile);
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[15], "True");
    EXPECT_EQ(lines[16], "False");
    EXPECT_EQ(lines[17], "ＭＳ 明朝");
    EXPECT_EQ(lines[18], " 10.5 ");
}

TEST_F(HenkoTest, ThePictureChooserFillsThePathBoxOnly) {
    model.PicturePath = Value::Text("C:\\old.bmp");
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Text(w, GZU), L"C:\\old.bmp");
    choosers.files.push_back(L"C:\\pictures\\first.jpg");
    Click(w, BGHEN);
    ASSERT_EQ(choosers.filters.size(), 1u);
    EXPECT_EQ(choosers.filters[0], L"PICTURE|*.bmp;*.jpg;*.gif;*.wmf|");
    EXPECT_EQ(Text(w, GZU), L"C:\\pictures\\first.jpg");
    EXPECT_EQ(model.PicturePath, Value::Text("C:\\old.bmp"));
    // A cancelled second choice leaves the first path.
    choosers.files.push_back(std::nullopt);
    Click(w, BGHEN);
    EXPECT_EQ(Text(w, GZU), L"C:\\pictures\\first.jpg");
    Click(w, BEND);
    EXPECT_EQ(model.PicturePath, Value::Text("C:\\pictures\\first.jpg"));
}

TEST_F(HenkoTest, TransparencyOpensFromTheModelAndFollowsTheBox) {
    struct Case {
        std::string stored;
        bool checked;
        std::string after;
    };
    const Case cases[] = {{"0", false, "0"}, {"1", true, "1"}, {"5", true, "1"}, {" -2 ", true, "1"},
                          {"abc", false, "abc"}, {"", false, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE("Transparent [" + c.stored + "]");
        model.Transparent = c.stored;
        HWND w = OpenHenko();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(Checked(w, CK1), c.checked);
        EXPECT_EQ(model.Transparent, c.after);
        Click(w, CK1);
        EXPECT_EQ(model.Transparent, c.checked ? "0" : "1");
        Click(w, CK1);
        EXPECT_EQ(model.Transparent, c.checked ? "1" : "0");
        CloseBox(w);
    }
}

// Into the model at once, written by every way on, shown again from the
// model on return; reached by Tab after CK1, switched by Space, and named
// by its caption for screen readers.
TEST_F(HenkoTest, AlwaysOnTopFollowsTheBoxAndComesBackFromTheModel) {
    ComScope com;
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(Checked(w, CK2));
    EXPECT_EQ(AccName(ClientObject(GetDlgItem(w, CK2)).Get()), L"常に手前に表示");
    SetFocus(GetDlgItem(w, CK1));
    Press(VK_TAB);
    ASSERT_EQ(FocusedId(), CK2);
    Press(VK_SPACE);
    EXPECT_TRUE(Checked(w, CK2));
    EXPECT_TRUE(model.AlwaysOnTop);
    Click(w, BSYO);
    auto lines = ReadSettingsFile(folder / kDisplayFile);
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[20], "表示オプション");
    EXPECT_EQ(lines[21], "最前面=1");

    w = OpenHenko();  // back from 初期設定
    EXPECT_TRUE(Checked(w, CK2));
    Click(w, CK2);
    EXPECT_FALSE(model.AlwaysOnTop);
    Click(w, GoVerInfo);
    EXPECT_EQ(ReadSettingsFile(folder / kDisplayFile).size(), 20u);

    w = OpenHenko();  // back from the about box
    EXPECT_FALSE(Checked(w, CK2));
    Click(w, CK2);
    Click(w, BEND);
    EXPECT_EQ(ReadSettingsFile(folder / kDisplayFile).size(), 22u);
    ASSERT_EQ(launcher.calls.back().name, "LoadVr");
}

TEST_F(HenkoTest, TypedTextReachesTheModelOnlyThroughEnd) {
    model.DateFormat = Value::Text("mm/dd hh:mm");
    model.FieldHeight = Value::Integer(180);
    model.FieldWidth = Value::Text(" 1095 ");
    model.RowGap = Value::Integer(75);
    model.PicturePath = Value();
    const SettingsModel before = model;

    // Opens HENKO, which shows the model's values, types new ones into every
    // box and leaves by `button`.
    auto typeAndLeaveBy = [this](int button) {
        HWND w = OpenHenko();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(Text(w, HYOJ), L"mm/dd hh:mm");
        EXPECT_EQ(Text(w, NH), L"180");
        EXPECT_EQ(Text(w, NW), L" 1095 ");
        EXPECT_EQ(Text(w, GZU), L"");
        EXPECT_EQ(Text(w, IJ), L"75");
        Type(w, HYOJ, L"hh:mm");
        Type(w, NH, L"300");
        Type(w, NW, L"abc");
        Type(w, GZU, L"C:\\typed.gif");
        Type(w, IJ, L"");
        Click(w, button);
        EXPECT_FALSE(Exists(w));
    };

    // Through "初期設定" and back: lost.
    ASSERT_NO_FATAL_FAILURE(typeAndLeaveBy(BSYO));
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].name, "OpenSyoki");
    EXPECT_EQ(model.DateFormat, before.DateFormat);
    EXPECT_EQ(model.FieldHeight, before.FieldHeight);
    EXPECT_EQ(model.FieldWidth, before.FieldWidth);
    EXPECT_EQ(model.PicturePath, before.PicturePath);
    EXPECT_EQ(model.RowGap, before.RowGap);
    EXPECT_TRUE(std::filesystem::exists(folder / kDisplayFile));  // written before the hand-over

    // Through "ﾊﾞｰｼﾞｮﾝ情報" and back: lost.
    ASSERT_NO_FATAL_FAILURE(typeAndLeaveBy(GoVerInfo));
    ASSERT_EQ(launcher.calls.size(), 2u);
    EXPECT_EQ(launcher.calls[1].name, "OpenVerInfo");
    EXPECT_EQ(model.DateFormat, before.DateFormat);
    EXPECT_EQ(model.FieldWidth, before.FieldWidth);

    // Through "終了": taken as text, written, and the clock restarted.
    ASSERT_NO_FATAL_FAILURE(typeAndLeaveBy(BEND));
    ASSERT_EQ(launcher.calls.size(), 3u);
    EXPECT_EQ(launcher.calls[2].name, "LoadVr");
    EXPECT_TRUE(launcher.calls[2].windowsOpen.empty());  // HENKO closed first
    EXPECT_EQ(model.RestartFlag, Value::Integer(1));
    EXPECT_EQ(model.DateFormat, Value::Text("hh:mm"));
    EXPECT_EQ(model.FieldHeight, Value::Text("300"));
    EXPECT_EQ(model.FieldWidth, Value::Text("abc"));
    EXPECT_EQ(model.PicturePath, Value::Text("C:\\typed.gif"));
    EXPECT_EQ(model.RowGap, Value::Text(""));
    auto lines = ReadSettingsFile(folder / kDisplayFile);
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[6], "C:\\typed.gif");
    EXPECT_EQ(lines[10], "hh:mm");
    EXPECT_EQ(lines[12], "300");
    EXPECT_EQ(lines[13], "abc");
    EXPECT_EQ(lines[19], "");
}

TEST_F(HenkoTest, TheHandOversOpenTheNextWindowBeforeClosing) {
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    Click(w, BSYO);
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].windowsOpen, std::vector<std::wstring>{kClassName});
    w = OpenHenko();
    Click(w, GoVerInfo);
    ASSERT_EQ(launcher.calls.size(), 2u);
    EXPECT_EQ(launcher.calls[1].windowsOpen, std::vector<std::wstring>{kClassName});
    EXPECT_TRUE(OpenSettingsWindows().empty());
}

TEST_F(HenkoTest, TheCloseBoxEndsWithoutWritingOrHandingOver) {
    model.Transparent = "1";
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    Type(w, HYOJ, L"hh");
    Click(w, CK1);
    CloseBox(w);
    EXPECT_FALSE(Exists(w));
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(HenkoTest, HelpButtonAndF1ShowTheProgramsHelpFile) {
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    Click(w, Help);
    ASSERT_EQ(choosers.helpFiles.size(), 1u);
    EXPECT_EQ(choosers.helpFiles[0], (folder.path() / L"Qv_help.hlp").wstring());

    // F1 in a text box, through the thread's message queue.
    HWND edit = GetDlgItem(w, NH);
    SetFocus(edit);
    PostMessageW(edit, WM_KEYDOWN, VK_F1, 0x003B0001);
    Pump();
    ASSERT_EQ(choosers.helpFiles.size(), 2u);
    EXPECT_EQ(choosers.helpFiles[1], choosers.helpFiles[0]);
    EXPECT_TRUE(Exists(w));
    // A cancelled chooser after the help is still no error.
    choosers.colours.push_back(std::nullopt);
    Click(w, BIRH);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(HenkoTest, InputMethodIsOffInTheFormatBoxAndAbsentInTheNumberBoxes) {
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    for (int id : {NH, NW, IJ}) {
        HIMC context = ImmGetContext(GetDlgItem(w, id));
        EXPECT_EQ(context, nullptr) << "box " << id;
        if (context) ImmReleaseContext(GetDlgItem(w, id), context);
    }
    HWND format = GetDlgItem(w, HYOJ);
    HIMC context = ImmGetContext(format);
    if (!context) GTEST_SKIP() << "this system gives the format box no input context";
    ImmSetOpenStatus(context, TRUE);
    SetFocus(GetDlgItem(w, GZU));
    SetFocus(format);
    Pump();
    EXPECT_FALSE(ImmGetOpenStatus(context));
    ImmReleaseContext(format, context);
}

TEST_F(HenkoTest, AFailedSaveIsReportedAndTheProgramGoesOn) {
    // Another program holds the display file open without sharing it.
    WriteSettingsFile(folder / kDisplayFile, {"色", "1", "2", "3", "4"});
    const std::string old = ReadAllBytes(folder / kDisplayFile);
    HANDLE lock = CreateFileW((folder / kDisplayFile).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    Type(w, HYOJ, L"hh:mm");
    Click(w, BEND);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(L"STEI1.QV"), std::wstring::npos);
    // "終了" stays: a restart would read the old file and lose the edits.
    EXPECT_TRUE(Exists(w));
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_EQ(Text(w, HYOJ), L"hh:mm");

    // "初期設定" reports it too and goes on to the next window.
    Click(w, BSYO);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_FALSE(Exists(w));
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].name, "OpenSyoki");
    CloseHandle(lock);
    EXPECT_EQ(ReadAllBytes(folder / kDisplayFile), old);
}

}  // namespace
}  // namespace qv::win::test
