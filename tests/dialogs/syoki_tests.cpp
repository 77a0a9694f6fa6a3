// The initial setup window SYOKI driven as a user would: layout, keyboard
// order, input modes, and the places file through OK and Cancel.
#include <windows.h>
#include <filesystem>
#include <imm.h>

#include <gtest/gtest.h>

#include "settings_files.h"
#include "syoki_window.h"
#include "dialog_fixture.h"
#include "layout_check.h"

namespace qv::win::test {
namespace {

using namespace syoki;

// A places file: names, differences, starts, ends and summer time per row.
std::vector<std::string> PlacesFile(const std::vector<std::string>& names, const std::vector<std::string>& diffs,
                                    const std::vector<std::string>& starts, const std::vector<std::string>& ends,
                                    const std::vector<std::string>& summer) {
    std::vector<std::string> lines;
    auto section = [&lines](const char* title, const std::vector<std::string>& values) {
        lines.push_back(title);
        for (int n = 0; n < 10; ++n) lines.push_back(n < static_cast<int>(values.size()) ? values[n] : "");
    };
    section("名称", names);
    section("時差", diffs);
    section("始業時間", starts);
    section("終業時間", ends);
    section("サマータイム情報", summer);
    return lines;
}

class SyokiTest : public DialogTest {};

TEST_F(SyokiTest, EveryControlStandsAtItsPlaceWithItsCaption) {
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    wchar_t title[64] = {};
    GetWindowTextW(w, title, 64);
    EXPECT_STREQ(title, L"初期設定");
    ExpectSettingsFrame(w, false, 5790, 3705);

    ExpectControl(w, Frame1, 120, 0, 5535, 3135, L"", L"Button");
    // Inside Frame1, whose origin is (120, 0).
    ExpectControl(w, Label1, 480, 240, 1080, 240, L"名称", L"Static");
    ExpectControl(w, Label2, 1680, 240, 1080, 240, L"時差", L"Static");
    ExpectControl(w, Label3, 2880, 240, 1080, 240, L"始業時刻", L"Static");
    ExpectControl(w, Label4, 4080, 240, 1080, 240, L"終業時刻", L"Static");
    ExpectControl(w, Label15, 5160, 240, 465, 240, L"ST", L"Static");
    for (int n = 1; n <= 10; ++n) {
        SCOPED_TRACE("row " + std::to_string(n));
        double top = 480 + 240 * (n - 1);
        if (n < 10) {
            ExpectControl(w, RowNumber + n, 240, top, 135, 240, std::to_wstring(n).c_str(), L"Static");
        } else {
            // Its 195 twips are narrower than "10" in the form's font: it
            // widens to show both digits, and stops short of the name box.
            HWND label = GetDlgItem(w, RowNumber + n);
            RECT box{}, name{};
            GetWindowRect(label, &box);
            GetWindowRect(GetDlgItem(w, L + n), &name);
            MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&box), 2);
            RECT table = TwipsRect(210, top, 195, 240);
            EXPECT_EQ(box.left, table.left);
            EXPECT_EQ(box.top, table.top);
            EXPECT_EQ(box.bottom, table.bottom);
            EXPECT_GE(box.right, table.right);
            EXPECT_LT(box.right, name.left);
            EXPECT_GE(box.right - box.left, TextExtentIn(label, L"10").cx) << "the \"0\" of \"10\" is cut off";
            wchar_t caption[8] = {};
            GetWindowTextW(label, caption, 8);
            EXPECT_STREQ(caption, L"10");
        }
        ExpectControl(w, L + n, 480, top, 1095, 270, L"", L"Edit");
        // A combo box whose closed selection field fills the row's box.
        ExpectControl(w, J + n, 1680, top, 1095, 270, L"", L"ComboBox");
        ExpectControl(w, S + n, 2880, top, 1095, 270, L"", L"Edit");
        ExpectControl(w, E + n, 4080, top, 1095, 270, L"", L"Edit");
        ExpectControl(w, Check + n, 5280, top, 255, 255, (L"Check" + std::to_wstring(n)).c_str(), L"Button");
    }
    ExpectControl(w, BOK, 3600, 3240, 855, 375, L"OK", L"Button");
    ExpectControl(w, BCH, 4800, 3240, 855, 375, L"ｷｬﾝｾﾙ", L"Button");
}

TEST_F(SyokiTest, KeyboardOrderRunsRowByRowThenButtonsThenSummerBoxes) {
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    std::vector<int> expected;
    for (int n = 1; n <= 10; ++n) expected.insert(expected.end(), {L + n, J + n, S + n, E + n});
    expected.insert(expected.end(), {BOK, BCH});
    for (int n = 1; n <= 10; ++n) expected.push_back(Check + n);

    std::vector<int> order;
    HWND first = GetDlgItem(w, L + 1);
    HWND item = first;
    do {
        order.push_back(GetDlgCtrlID(item));
        item = GetNextDlgTabItem(w, item, FALSE);
    } while (item && item != first && order.size() < 100);
    EXPECT_EQ(order, expected);

    // A real Tab key goes from the first name to the first time difference
    // (the edit field inside its combo box).
    SetFocus(first);
    PostMessageW(first, WM_KEYDOWN, VK_TAB, 0x000F0001);
    PostMessageW(first, WM_KEYUP, VK_TAB, 0xC00F0001);
    Pump();
    EXPECT_EQ(GetParent(GetFocus()), GetDlgItem(w, J + 1));
}

TEST_F(SyokiTest, NamesOpenTheInputMethodInHiraganaAndTheOtherBoxesHaveNone) {
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    for (int n : {1, 10}) {
        for (int base : {S, E}) {
            HIMC context = ImmGetContext(GetDlgItem(w, base + n));
            EXPECT_EQ(context, nullptr) << "box " << base + n;
            if (context) ImmReleaseContext(GetDlgItem(w, base + n), context);
        }
    }
    HWND name = GetDlgItem(w, L + 3);
    HIMC context = ImmGetContext(name);
    if (!context) GTEST_SKIP() << "this system gives the name box no input context";
    ImmSetOpenStatus(context, FALSE);
    ImmSetConversionStatus(context, IME_CMODE_ALPHANUMERIC, IME_SMODE_NONE);
    SetFocus(GetDlgItem(w, J + 3));
    SetFocus(name);
    Pump();
    EXPECT_TRUE(ImmGetOpenStatus(context));
    DWORD conversion = 0, sentence = 0;
    ImmGetConversionStatus(context, &conversion, &sentence);
    EXPECT_EQ(conversion & (IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | IME_CMODE_KATAKANA),
              static_cast<DWORD>(IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE));
    ImmReleaseContext(name, context);
}

TEST_F(SyokiTest, OpeningShowsThePlacesFileAndItsSummerTimeBoxes) {
    WriteSettingsFile(folder / kPlacesFile, PlacesFile({"東京", "ロンドン", "", "パリ"}, {" 0 ", "-9", "", "-8"},
                                                {"9:00", "09:00", "", ""}, {"17:00", "18:00", "", ""},
                                                {" 0 ", " 1 ", "", "2", "1"}));
    // The model held other values: the file wins.
    model.PlaceName[1] = "old";
    model.TimeDiff[1] = Value::Integer(5);
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(model.PlaceName[1], "東京");
    EXPECT_EQ(Text(w, L + 1), L"東京");
    EXPECT_EQ(Text(w, L + 2), L"ロンドン");
    EXPECT_EQ(Text(w, J + 1), L" 0 ");
    EXPECT_EQ(Text(w, J + 2), L"-9");
    EXPECT_EQ(Text(w, S + 1), L"9:00");
    EXPECT_EQ(Text(w, E + 2), L"18:00");
    EXPECT_EQ(Text(w, L + 4), L"パリ");
    EXPECT_FALSE(Checked(w, Check + 1));
    EXPECT_TRUE(Checked(w, Check + 2));
    EXPECT_FALSE(Checked(w, Check + 3));  // empty line: unchecked, no failure
    EXPECT_FALSE(Checked(w, Check + 4));  // 2 is neither 0 nor 1
    EXPECT_TRUE(Checked(w, Check + 5));
}

TEST_F(SyokiTest, OpeningWithoutAFileShowsTheModel) {
    model.PlaceName[1] = "日本";
    model.SummerTime[1] = Value::Integer(1);
    model.WorkStart[2] = Value::Text("08:30");
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Text(w, L + 1), L"日本");
    EXPECT_EQ(Text(w, J + 1), L"");
    EXPECT_EQ(Text(w, S + 2), L"08:30");
    EXPECT_TRUE(Checked(w, Check + 1));
}

TEST_F(SyokiTest, OkStoresTheRowsAndWritesAllFiftyFiveLines) {
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    Type(w, L + 1, L"東京");           // named, no difference: 0
    Type(w, L + 2, L"ニューヨーク");
    Type(w, J + 2, L"-14");
    Type(w, S + 2, L"9:00");
    Type(w, E + 2, L"17:30");
    Type(w, J + 3, L"");               // unnamed: stays empty
    Type(w, S + 4, L"8:00");           // unnamed with other fields: kept
    Type(w, J + 4, L"3");
    Click(w, Check + 2);
    Click(w, BOK);

    EXPECT_FALSE(Exists(w));
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].name, "OpenHenko");
    EXPECT_TRUE(launcher.calls[0].windowsOpen.empty());  // SYOKI closed first

    EXPECT_EQ(model.PlaceName[1], "東京");
    EXPECT_EQ(model.TimeDiff[1], Value::Integer(0));
    EXPECT_EQ(model.TimeDiff[2], Value::Text("-14"));
    EXPECT_EQ(model.TimeDiff[3], Value::Text(""));
    EXPECT_EQ(model.TimeDiff[4], Value::Text("3"));
    EXPECT_EQ(model.WorkStart[4], Value::Text("8:00"));
    EXPECT_EQ(model.SummerTime[1], Value::Integer(0));
    EXPECT_EQ(model.SummerTime[2], Value::Integer(1));

    auto lines = ReadSettingsFile(folder / kPlacesFile);
    ASSERT_EQ(lines.size(), 55u);
    EXPECT_EQ(lines, PlacesFile({"東京", "ニューヨーク"}, {" 0 ", "-14", "", "3"}, {"", "9:00", "", "8:00"},
                                {"", "17:30"}, {" 0 ", " 1 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 "}));
    EXPECT_EQ(ReadAllBytes(folder / kPlacesFile).substr(0, 6), "\x96\xbc\x8f\xcc\r\n");  // "名称" in Shift-JIS
}

TEST_F(SyokiTest, OkWithoutChangesRewritesTheWholeFile) {
    auto original = PlacesFile({"東京"}, {"0"}, {"9:00"}, {"18:00"}, {"1", "0"});
    WriteSettingsFile(folder / kPlacesFile, original);
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    Click(w, BOK);
    auto lines = ReadSettingsFile(folder / kPlacesFile);
    ASSERT_EQ(lines.size(), 55u);
    // Texts come back as typed; the summer-time boxes as numbers.
    EXPECT_EQ(lines[1], "東京");
    EXPECT_EQ(lines[12], "0");
    EXPECT_EQ(lines[23], "9:00");
    EXPECT_EQ(lines[45], " 1 ");
    EXPECT_EQ(lines[46], " 0 ");
    EXPECT_EQ(lines[54], " 0 ");
}

TEST_F(SyokiTest, CancelLeavesTheFileByteForByteAndTheModelAsRead) {
    auto original = PlacesFile({"東京", "", "x"}, {" 9 "}, {"9:00"}, {}, {"1"});
    WriteSettingsFile(folder / kPlacesFile, original);
    const std::string before = ReadAllBytes(folder / kPlacesFile);
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    Type(w, L + 1, L"changed");
    Click(w, Check + 1);
    Click(w, BCH);
    EXPECT_FALSE(Exists(w));
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].name, "OpenHenko");
    EXPECT_EQ(launcher.calls[0].windowsOpen, std::vector<std::wstring>{kClassName});  // loaded before closing
    EXPECT_EQ(ReadAllBytes(folder / kPlacesFile), before);
    EXPECT_EQ(model.PlaceName[1], "東京");
    EXPECT_EQ(model.SummerTime[1], Value::Text("1"));
}

TEST_F(SyokiTest, TheCloseBoxEndsWithoutWritingOrHandingOver) {
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    Type(w, L + 1, L"東京");
    CloseBox(w);
    EXPECT_FALSE(Exists(w));
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    EXPECT_EQ(model.PlaceName[1], "");
}

TEST_F(SyokiTest, F1ShowsTheHelpFile) {
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    HWND edit = GetDlgItem(w, S + 5);
    SetFocus(edit);
    PostMessageW(edit, WM_KEYDOWN, VK_F1, 0x003B0001);
    Pump();
    ASSERT_EQ(choosers.helpFiles.size(), 1u);
    EXPECT_EQ(choosers.helpFiles[0], (folder.path() / L"Qv_help.hlp").wstring());
}

TEST_F(SyokiTest, AFailedSaveIsReportedAndTheWindowKeepsTheEdits) {
    auto original = PlacesFile({"東京"}, {}, {}, {}, {});
    WriteSettingsFile(folder / kPlacesFile, original);
    const std::string before = ReadAllBytes(folder / kPlacesFile);
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    HANDLE lock = CreateFileW((folder / kPlacesFile).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Type(w, L + 1, L"大阪");
    Click(w, BOK);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(L"STEI.QV"), std::wstring::npos);
    EXPECT_TRUE(Exists(w));
    EXPECT_EQ(Text(w, L + 1), L"大阪");
    EXPECT_EQ(model.PlaceName[1], "大阪");
    EXPECT_TRUE(launcher.calls.empty());
    CloseHandle(lock);
    EXPECT_EQ(ReadAllBytes(folder / kPlacesFile), before);
    // Once the file is free again, OK saves and hands over.
    Click(w, BOK);
    EXPECT_FALSE(Exists(w));
    EXPECT_EQ(ReadSettingsFile(folder / kPlacesFile)[1], "大阪");
}

}  // namespace
}  // namespace qv::win::test
