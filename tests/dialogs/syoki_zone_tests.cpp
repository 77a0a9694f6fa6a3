// Choosing a zone in SYOKI as a user does, with the keyboard alone and with
// the mouse alone; what a zone row shows; the places file it writes, with a
// zone this system lacks kept as it was.
#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "dialog_fixture.h"
#include "ole_scope.h"
#include "settings_files.h"
#include "syoki_window.h"
#include "system_zones.h"
#include "city_search.h"
#include "text.h"

namespace qv::win::test {
namespace {

using namespace syoki;

class SyokiZoneTest : public DialogTest {
protected:
    SyokiZoneTest() { app.zones = LoadSystemZones(); }

    std::wstring Display(const char* key) const { return Widen(app.zones.Find(key)->display); }

    static COMBOBOXINFO Parts(HWND w, int n) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(GetDlgItem(w, J + n), &info);
        return info;
    }
    static void Key(HWND to, UINT vk) {
        PostMessageW(to, WM_KEYDOWN, vk, 1);
        PostMessageW(to, WM_KEYUP, vk, 0xC0000001);
        Pump();
    }
    static void ClickAt(HWND to, POINT p) {
        const LPARAM at = MAKELPARAM(p.x, p.y);
        PostMessageW(to, WM_MOUSEMOVE, 0, at);
        PostMessageW(to, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(to, WM_LBUTTONUP, 0, at);
        Pump();
    }
    // Typing that replaces the row's time difference, as a user selects it all and types.
    static void Retype(HWND w, int n, const std::wstring& text) {
        HWND edit = Parts(w, n).hwndItem;
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        Chars(edit, text);
    }
    static bool Enabled(HWND w, int id) { return IsWindowEnabled(GetDlgItem(w, id)) != FALSE; }

    // The row's tool tip as the tool tip control holds it.
    static std::wstring Tip(HWND w, int n) {
        struct Find {
            HWND owner, tips = nullptr;
        } find{w};
        struct Each {
            static BOOL CALLBACK Window(HWND h, LPARAM lp) {
                auto* f = reinterpret_cast<Find*>(lp);
                if (GetWindow(h, GW_OWNER) == f->owner && !lstrcmpiW(ClassName(h).c_str(), TOOLTIPS_CLASSW)) f->tips = h;
                return TRUE;
            }
        };
        EnumThreadWindows(GetCurrentThreadId(), &Each::Window, reinterpret_cast<LPARAM>(&find));
        if (!find.tips) return L"(no tool tip control)";
        wchar_t text[512] = {};
        TTTOOLINFOW info{};
        info.cbSize = TTTOOLINFOW_V2_SIZE;
        info.hwnd = w;
        info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(w, J + n));
        info.lpszText = text;
        SendMessageW(find.tips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&info));
        return text;
    }
};

std::vector<std::string> ZoneFile(const char* zone1, const char* zone2) {
    std::vector<std::string> lines = {"名称", "ニューヨーク", "どこか"};
    lines.resize(11);
    lines.insert(lines.end(), {"時差", " 7 ", " 5 "});
    lines.resize(22);
    lines.push_back("始業時間");
    lines.resize(33);
    lines.push_back("終業時間");
    lines.resize(44);
    lines.insert(lines.end(), {"サマータイム情報", " 1 ", " 1 "});
    lines.resize(55);
    lines.insert(lines.end(), {"タイムゾーン", zone1, zone2});
    lines.resize(66);
    return lines;
}

TEST_F(SyokiZoneTest, AZoneChosenWithTheKeyboardAlone) {
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    Type(w, L + 2, L"東京");
    HWND edit = Parts(w, 2).hwndItem;
    SetFocus(edit);
    ComScope com;
    const std::wstring hint = AccDescription(ClientObject(edit).Get());
    EXPECT_EQ(hint, Tip(w, 2)) << "a screen reader hears the tool tip's hint";
    // The city's English name finds it; F4 opens the list, Down picks, Enter
    // only closes the list (the window stays open).
    Chars(edit, L"tokyo");
    EXPECT_EQ(SendDlgItemMessageW(w, J + 2, CB_GETCOUNT, 0, 0), 1);
    Key(edit, VK_F4);
    EXPECT_TRUE(SendDlgItemMessageW(w, J + 2, CB_GETDROPPEDSTATE, 0, 0));
    Key(edit, VK_DOWN);
    Key(edit, VK_RETURN);
    EXPECT_FALSE(SendDlgItemMessageW(w, J + 2, CB_GETDROPPEDSTATE, 0, 0));
    ASSERT_TRUE(Exists(w));
    EXPECT_EQ(Text(w, J + 2), L"東京 (日本) — " + Display("Tokyo Standard Time"));
    EXPECT_FALSE(Enabled(w, Check + 2));
    EXPECT_NE(Tip(w, 2).find(L"Tokyo Standard Time"), std::wstring::npos) << Tip(w, 2);
    for (HWND part : {edit, GetDlgItem(w, J + 2)}) {
        EXPECT_EQ(AccDescription(ClientObject(part).Get()), Tip(w, 2)) << "the chosen zone, not the hint";
    }
    EXPECT_NE(hint, Tip(w, 2));
    // Typing an offset searches the display names too.
    HWND other = Parts(w, 3).hwndItem;
    SetFocus(other);
    Chars(other, L"+09:00");
    EXPECT_GE(SendDlgItemMessageW(w, J + 3, CB_GETCOUNT, 0, 0), 2);
    Key(other, VK_ESCAPE);
    Type(w, J + 3, L"");
    Click(w, BOK);

    const auto lines = ReadSettingsFile(folder / kPlacesFile);
    ASSERT_EQ(lines.size(), 66u);
    EXPECT_EQ(lines[55], "タイムゾーン");
    EXPECT_EQ(lines[57], "Tokyo Standard Time");
    // The fake clock keeps UTC: Tokyo is 9 hours ahead of it, without summer time.
    EXPECT_EQ(lines[13], " 9 ");
    EXPECT_EQ(lines[46], " 0 ");
}

TEST_F(SyokiZoneTest, AZoneChosenWithTheMouseAlone) {
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    const COMBOBOXINFO parts = Parts(w, 1);
    ClickAt(GetDlgItem(w, J + 1), {(parts.rcButton.left + parts.rcButton.right) / 2, (parts.rcButton.top + parts.rcButton.bottom) / 2});
    ASSERT_TRUE(SendDlgItemMessageW(w, J + 1, CB_GETDROPPEDSTATE, 0, 0));
    RECT item{};
    SendMessageW(parts.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    ClickAt(parts.hwndList, {(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    EXPECT_FALSE(SendDlgItemMessageW(w, J + 1, CB_GETDROPPEDSTATE, 0, 0));
    const ZoneEntry& third = app.zones.Zones()[2];
    EXPECT_EQ(Text(w, J + 1), Widen(third.display));
    EXPECT_FALSE(Enabled(w, Check + 1));
    Click(w, BOK);
    const auto lines = ReadSettingsFile(folder / kPlacesFile);
    ASSERT_EQ(lines.size(), 66u);
    EXPECT_EQ(lines[56], third.key);
}

TEST_F(SyokiZoneTest, ZoneRowsShowTheirZoneAndAnUnknownOneIsKeptUnlessEdited) {
    WriteSettingsFile(folder / kPlacesFile, ZoneFile("eastern standard time", "Mars Standard Time"));
    clock.Set({2024, 7, 15, 9, 30, 0});  // summer in New York
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Text(w, J + 1), Display("Eastern Standard Time"));
    EXPECT_TRUE(Checked(w, Check + 1));
    EXPECT_FALSE(Enabled(w, Check + 1));
    EXPECT_EQ(Text(w, J + 2), L"(不明) Mars Standard Time");
    EXPECT_TRUE(Enabled(w, Check + 2));
    EXPECT_NE(Tip(w, 2).find(L"Mars Standard Time"), std::wstring::npos) << Tip(w, 2);
    {
        ComScope com;
        EXPECT_EQ(AccDescription(ClientObject(GetDlgItem(w, J + 2)).Get()), Tip(w, 2));
        EXPECT_EQ(AccDescription(ClientObject(GetDlgItem(w, J + 1)).Get()), Tip(w, 1));
        EXPECT_NE(Tip(w, 1).find(L"Eastern Standard Time"), std::wstring::npos) << Tip(w, 1);
    }
    // The input method is closed on entry, not taken away.
    HWND edit = Parts(w, 1).hwndItem;
    if (HIMC context = ImmGetContext(edit)) {
        ImmSetOpenStatus(context, TRUE);
        SetFocus(edit);
        Pump();
        EXPECT_FALSE(ImmGetOpenStatus(context));
        ImmReleaseContext(edit, context);
    }
    Click(w, BOK);
    auto lines = ReadSettingsFile(folder / kPlacesFile);
    ASSERT_EQ(lines.size(), 66u);
    EXPECT_EQ(lines[56], "eastern standard time");  // as read, not as the system spells it
    EXPECT_EQ(lines[57], "Mars Standard Time");
    EXPECT_EQ(lines[12], "-5 ");  // -5 + 1 = New York's offset from the computer (on UTC) now
    EXPECT_EQ(lines[45], " 1 ");
    EXPECT_EQ(lines[13], " 5 ");  // the unknown zone's row on its numbers
    EXPECT_EQ(lines[46], " 1 ");

    // Edited, the unknown zone's row is a time difference again.
    w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    Type(w, J + 2, L"3");
    Click(w, BOK);
    lines = ReadSettingsFile(folder / kPlacesFile);
    ASSERT_EQ(lines.size(), 66u);
    EXPECT_EQ(lines[57], "");
    EXPECT_EQ(lines[13], "3");
    // Without a zone left, the file is the 55 lines again.
    w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    Type(w, J + 1, L"-4");
    Click(w, BOK);
    EXPECT_EQ(ReadSettingsFile(folder / kPlacesFile).size(), 55u);
}

TEST_F(SyokiZoneTest, ASearchLeftInTheBoxIsNeverSavedAsANumber) {
    std::vector<std::string> file = ZoneFile("", "");
    file[12] = "xyz";  // untouched, a file's text goes back as it came
    file[13] = " 5 ";
    WriteSettingsFile(folder / kPlacesFile, file);
    const auto before = ReadAllBytes(folder / kPlacesFile);
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    Retype(w, 2, L"アトランティス");
    Retype(w, 4, L"Atlantis");
    messages.answers = {IDYES};
    Click(w, BOK);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].flags, static_cast<UINT>(MB_YESNO | MB_DEFBUTTON1 | MB_ICONEXCLAMATION));
    const std::wstring& text = messages.shown[0].text;
    EXPECT_NE(text.find(L"時差 (2行目): 「アトランティス」"), std::wstring::npos) << Narrow(text);
    EXPECT_NE(text.find(L"時差 (4行目): 「Atlantis」"), std::wstring::npos) << Narrow(text);
    EXPECT_EQ(text.find(L"1行目"), std::wstring::npos) << Narrow(text);
    ASSERT_TRUE(Exists(w));
    EXPECT_EQ(GetFocus(), Parts(w, 2).hwndItem);
    EXPECT_EQ(ReadAllBytes(folder / kPlacesFile), before);
    EXPECT_TRUE(launcher.calls.empty());

    // Valid, the row saves; "いいえ" keeps the other row as it opened.
    Retype(w, 2, L"+5.5");
    messages.answers = {IDNO};
    Click(w, BOK);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text.find(L"2行目"), std::wstring::npos) << Narrow(messages.shown[1].text);
    EXPECT_FALSE(Exists(w));
    const auto lines = ReadSettingsFile(folder / kPlacesFile);
    ASSERT_EQ(lines.size(), 55u);
    EXPECT_EQ(lines[12], "xyz");
    EXPECT_EQ(lines[13], "+5.5");
    EXPECT_EQ(lines[15], "");  // row 4 had nothing, and has nothing again

    // A text far too long, control characters, half a surrogate pair: asked about, nothing breaks.
    w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    Retype(w, 1, std::wstring(300, L'x'));
    Type(w, J + 3, std::wstring(L"a\x01\tb") + wchar_t(0xD83D));
    messages.answers = {IDYES};
    Click(w, BOK);
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_NE(messages.shown[2].text.find(std::wstring(40, L'x') + L"…」"), std::wstring::npos);
    EXPECT_NE(messages.shown[2].text.find(L"3行目"), std::wstring::npos);
    EXPECT_TRUE(Exists(w));
}

TEST_F(SyokiZoneTest, ANumberTypedOverAZoneKeepsTheRowsOwnSummerTime) {
    WriteSettingsFile(folder / kPlacesFile, ZoneFile("Eastern Standard Time", ""));
    clock.Set({2024, 7, 15, 9, 30, 0});  // summer in New York
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(Checked(w, Check + 1));
    Retype(w, 1, L"-13");
    EXPECT_FALSE(Checked(w, Check + 1)) << "the zone's summer time went with the zone";
    EXPECT_TRUE(Enabled(w, Check + 1));
    // Row 2 runs on numbers with its own tick: a zone passing through leaves it.
    ASSERT_TRUE(Checked(w, Check + 2));
    Retype(w, 2, Display("Tokyo Standard Time"));
    EXPECT_FALSE(Checked(w, Check + 2));
    Retype(w, 2, L"5");
    EXPECT_TRUE(Checked(w, Check + 2));
    Click(w, BOK);
    const auto lines = ReadSettingsFile(folder / kPlacesFile);
    ASSERT_EQ(lines.size(), 55u);
    EXPECT_EQ(lines[12], "-13");
    EXPECT_EQ(lines[45], " 0 ");
    EXPECT_EQ(lines[46], " 1 ");
}

TEST_F(SyokiZoneTest, AZoneNameTheFileCannotHoldIsAskedAbout) {
    // A UTF-8 file: the zone's name has a character without a Shift-JIS form.
    std::vector<std::string> lines = ZoneFile("Tokyo Standard Time", "Zürich Time");
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    std::ofstream(folder / kPlacesFile, std::ios::binary) << bytes;
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    messages.answers = {IDYES};
    Click(w, BOK);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, L"保存できない文字");
    EXPECT_NE(messages.shown[0].text.find(L"時差 (2行目): ü"), std::wstring::npos) << Narrow(messages.shown[0].text);
    EXPECT_TRUE(Exists(w));
    EXPECT_EQ(GetFocus(), Parts(w, 2).hwndItem);
    messages.answers = {IDNO};
    Click(w, BOK);
    EXPECT_FALSE(Exists(w));
    const auto saved = ReadSettingsFile(folder / kPlacesFile);
    ASSERT_EQ(saved.size(), 66u);
    EXPECT_EQ(saved[56], "Tokyo Standard Time");
    EXPECT_EQ(saved[57], "Z?rich Time");
}

// What users type for a place, the zone it leads to, and the name it gives an empty row.
// A country of one zone taken whole by Enter names the row for the country;
// its list names each city.
struct Search {
    const wchar_t* typed;
    const char* key;
    const wchar_t* name;       // by Enter
    const wchar_t* listName;  // by the list's first line
};
constexpr Search kSearches[] = {
    {L"ニューヨーク", "Eastern Standard Time", L"ニューヨーク", L"ニューヨーク"},
    {L"にゅーよーく", "Eastern Standard Time", L"ニューヨーク", L"ニューヨーク"},
    {L"new y", "Eastern Standard Time", L"ニューヨーク", L"ニューヨーク"},
    {L"ｼﾄﾞﾆｰ", "AUS Eastern Standard Time", L"シドニー", L"シドニー"},
    {L"インド", "India Standard Time", L"インド", L"コルカタ"},
};

class SyokiSearchTest : public SyokiZoneTest {
protected:
    static std::vector<std::wstring> ListLines(HWND w, int n) {
        std::vector<std::wstring> lines;
        const auto count = SendDlgItemMessageW(w, J + n, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t line[512] = {};
            if (SendDlgItemMessageW(w, J + n, CB_GETLBTEXTLEN, i, 0) < 511) SendDlgItemMessageW(w, J + n, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(line));
            lines.push_back(line);
        }
        return lines;
    }
    // Rows 1..5 search kSearches, row 6, named already, searches "new y";
    // `take` takes each row's match as the user does.
    void TakeEachSearch(bool byList, const std::function<void(HWND w, int n, const Search& s)>& take) {
        HWND w = OpenSyoki();
        ASSERT_NE(w, nullptr);
        Type(w, L + 6, L"本社");
        for (int n = 1; n <= 6; ++n) {
            const Search& s = kSearches[n <= 5 ? n - 1 : 2];
            Retype(w, n, s.typed);
            take(w, n, s);
        }
        ExpectSearchesSaved(w, byList);
    }
    // Each row on its zone, an empty name filled, a given one left alone: the file holds their keys.
    void ExpectSearchesSaved(HWND w, bool byList) {
        for (int n = 1; n <= 5; ++n) {
            const Search& s = kSearches[n - 1];
            EXPECT_EQ(Text(w, L + n), byList ? s.listName : s.name) << Narrow(s.typed);
            EXPECT_FALSE(Enabled(w, Check + n)) << Narrow(s.typed);
            EXPECT_NE(Tip(w, n).find(Widen(s.key)), std::wstring::npos) << Narrow(s.typed) << ": " << Narrow(Tip(w, n));
        }
        EXPECT_EQ(Text(w, L + 6), L"本社");
        Click(w, BOK);
        EXPECT_TRUE(messages.shown.empty());
        const auto lines = ReadSettingsFile(folder / kPlacesFile);
        ASSERT_EQ(lines.size(), 66u);
        for (int n = 1; n <= 5; ++n) EXPECT_EQ(lines[55 + n], kSearches[n - 1].key) << n;
        EXPECT_EQ(lines[61], "Eastern Standard Time");
        EXPECT_EQ(lines[1], Narrow(kSearches[0].name));
        EXPECT_EQ(lines[6], "本社");
    }
};

TEST_F(SyokiSearchTest, CitiesFoundAndTakenWithTheKeyboardAlone) {
    TakeEachSearch(false, [this](HWND w, int n, const Search& s) {
        HWND edit = Parts(w, n).hwndItem;
        if (n == 3) {
            // The best match completes inline, the completion selected for typing on.
            EXPECT_EQ(Text(w, J + 3), L"new york");
            DWORD start = 0, end = 0;
            SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 5u);
            EXPECT_EQ(end, 8u);
        }
        EXPECT_FALSE(ListLines(w, n).empty()) << Narrow(s.typed);
        Key(edit, VK_RETURN);
        ASSERT_TRUE(Exists(w));
        EXPECT_EQ(GetFocus(), edit) << "Enter takes the match and stays";
        EXPECT_EQ(ZoneNamed(app.zones, Narrow(Text(w, J + n))).zone, app.zones.Find(s.key)) << Narrow(Text(w, J + n));
    });
}

TEST_F(SyokiSearchTest, CitiesFoundAndTakenWithTheMouse) {
    TakeEachSearch(true, [this](HWND w, int n, const Search& s) {
        const COMBOBOXINFO parts = Parts(w, n);
        ClickAt(GetDlgItem(w, J + n), {(parts.rcButton.left + parts.rcButton.right) / 2, (parts.rcButton.top + parts.rcButton.bottom) / 2});
        ASSERT_TRUE(SendDlgItemMessageW(w, J + n, CB_GETDROPPEDSTATE, 0, 0)) << Narrow(s.typed);
        const std::vector<std::wstring> lines = ListLines(w, n);
        ASSERT_FALSE(lines.empty());
        // The city and its zone together on one line.
        EXPECT_EQ(lines[0].rfind(std::wstring(s.listName) + L" (", 0), 0u) << Narrow(lines[0]);
        EXPECT_NE(lines[0].find(L" — " + Display(s.key)), std::wstring::npos) << Narrow(lines[0]);
        RECT item{};
        SendMessageW(parts.hwndList, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
        ClickAt(parts.hwndList, {(item.left + item.right) / 2, (item.top + item.bottom) / 2});
        EXPECT_FALSE(SendDlgItemMessageW(w, J + n, CB_GETDROPPEDSTATE, 0, 0));
        EXPECT_EQ(Text(w, J + n), lines[0]);
    });
}

TEST_F(SyokiSearchTest, CountriesAndOffsetsListTheirZonesAndBadInputNothing) {
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    Retype(w, 1, L"オーストラリア");
    const auto australia = ListLines(w, 1);
    EXPECT_GE(australia.size(), 5u);
    for (const std::wstring& line : australia) EXPECT_NE(line.find(L" (オーストラリア) — "), std::wstring::npos) << Narrow(line);
    EXPECT_EQ(Text(w, J + 1), L"オーストラリア") << "a country of several zones completes to no city";
    Retype(w, 2, L"+5:30");
    EXPECT_EQ(ListLines(w, 2), (std::vector<std::wstring>{Display("India Standard Time"), Display("Sri Lanka Standard Time")}));
    // "+5:30" is a number to no one, but "-3" stays a time difference: Enter goes on.
    Retype(w, 3, L"-3");
    Key(Parts(w, 3).hwndItem, VK_RETURN);
    EXPECT_EQ(Text(w, J + 3), L"-3");
    EXPECT_EQ(GetFocus(), GetDlgItem(w, S + 3));
    Retype(w, 4, std::wstring(300, L'x'));
    EXPECT_TRUE(ListLines(w, 4).empty());
    Retype(w, 5, std::wstring(1, wchar_t(0xD83D)));
    EXPECT_TRUE(ListLines(w, 5).empty());
    Key(Parts(w, 5).hwndItem, VK_RETURN);
    EXPECT_EQ(Text(w, L + 5), L"");
    EXPECT_TRUE(Exists(w));
}

}  // namespace
}  // namespace qv::win::test
