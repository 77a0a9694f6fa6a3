// The settings windows handing over to one another through a launcher that
// opens the real next window: exactly one of them is open after every step.
#include <windows.h>

#include <gtest/gtest.h>

#include "settings_files.h"
#include "henko_window.h"
#include "syoki_window.h"
#include "verinfo_window.h"
#include "dialog_fixture.h"

namespace qv::win::test {
namespace {

class HandOverTest : public DialogTest {
protected:
    HandOverTest() { HandOverForReal(); }
    HWND Only(const wchar_t* cls) {
        Pump();
        auto open = OpenSettingsWindows();
        EXPECT_EQ(open, std::vector<std::wstring>{cls});
        return FindOwnWindow(cls);
    }
};

TEST_F(HandOverTest, HenkoSyokiHenkoVerInfoHenkoEnd) {
    model.FontName = Value::Text("ＭＳ ゴシック");
    model.FontSize = Value::Text(" 8 ");
    model.FontBold = Value::Boolean(false);
    model.FontItalic = Value::Boolean(false);
    OpenHenkoWindow(app);
    HWND w = Only(henko::kClassName);
    ASSERT_NE(w, nullptr);
    choosers.colours.push_back(RGB(255, 0, 0));
    Click(w, henko::BIRH);  // OP1: the names in red
    EXPECT_EQ(model.NameColor, "255");

    Click(w, henko::BSYO);
    w = Only(syoki::kClassName);
    ASSERT_NE(w, nullptr);
    Type(w, syoki::L + 1, L"東京");
    Type(w, syoki::L + 2, L"シドニー");
    Type(w, syoki::J + 2, L"1");
    Click(w, syoki::BOK);

    w = Only(henko::kClassName);
    ASSERT_NE(w, nullptr);
    Click(w, henko::GoVerInfo);
    w = Only(verinfo::kClassName);
    ASSERT_NE(w, nullptr);
    Click(w, verinfo::OK);

    w = Only(henko::kClassName);
    ASSERT_NE(w, nullptr);
    Type(w, henko::HYOJ, L"hh:mm");
    Click(w, henko::BEND);
    Pump();
    EXPECT_TRUE(OpenSettingsWindows().empty());
    ASSERT_FALSE(launcher.calls.empty());
    EXPECT_EQ(launcher.calls.back().name, "LoadVr");
    EXPECT_EQ(model.RestartFlag, Value::Integer(1));

    auto places = ReadSettingsFile(folder / kPlacesFile);
    ASSERT_EQ(places.size(), 55u);
    EXPECT_EQ(places[1], "東京");
    EXPECT_EQ(places[2], "シドニー");
    EXPECT_EQ(places[12], " 0 ");
    EXPECT_EQ(places[13], "1");
    auto display = ReadSettingsFile(folder / kDisplayFile);
    ASSERT_EQ(display.size(), 20u);
    EXPECT_EQ(display[1], "255");
    EXPECT_EQ(display[10], "hh:mm");
    EXPECT_EQ(display[17], "ＭＳ ゴシック");
    EXPECT_EQ(display[18], " 8 ");
}

}  // namespace
}  // namespace qv::win::test
