// Choosing a zone in SYOKI as a user does, with the keyboard alone and with
// the mouse alone; what a zone row shows; the places file it writes, with a
// zone this system lacks kept as it was.
#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include <gtest/gtest.h>

#include "dialog_fixture.h"
#include "ole_scope.h"
#include "settings_files.h"
#include "syoki_window.h"
#include "system_zones.h"
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
    // Part of the key name narrows the list; F4 opens it, Down picks, Enter
    // only closes the list (the window stays open).
    Chars(edit, L"tokyo");
    EXPECT_EQ(SendDlgItemMessageW(w, J + 2, CB_GETCOUNT, 0, 0), 1);
    Key(edit, VK_F4);
    EXPECT_TRUE(SendDlgItemMessageW(w, J + 2, CB_GETDROPPEDSTATE, 0, 0));
    Key(edit, VK_DOWN);
    Key(edit, VK_RETURN);
    EXPECT_FALSE(SendDlgItemMessageW(w, J + 2, CB_GETDROPPEDSTATE, 0, 0));
    ASSERT_TRUE(Exists(w));
    EXPECT_EQ(Text(w, J + 2), Display("Tokyo Standard Time"));
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

}  // namespace
}  // namespace qv::win::test
