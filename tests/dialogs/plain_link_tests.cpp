// The about box in a program without the common controls 6 manifest: where
// the system's link control is missing, a link-styled label still opens the
// home page when clicked.
#include <windows.h>

#include <gtest/gtest.h>

#include "verinfo_window.h"
#include "dialog_fixture.h"
#include "layout_check.h"

namespace qv::win::test {
namespace {

class PlainLinkTest : public DialogTest {};

TEST_F(PlainLinkTest, TheLinkOpensTheHomePageWithOrWithoutTheLinkControl) {
    HWND w = OpenVerInfo();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Text(w, verinfo::HVerInfo), L"Ver. 0.5.0");
    HWND link = GetDlgItem(w, verinfo::Hyplex1);
    ASSERT_NE(link, nullptr);
    std::wstring cls = ClassName(link);
    RecordProperty("link_class", std::string(cls.begin(), cls.end()));
    if (_wcsicmp(cls.c_str(), L"Static") == 0) {
        EXPECT_EQ(Text(w, verinfo::Hyplex1), verinfo::kHomePage);
        EXPECT_TRUE(GetWindowLongW(link, GWL_STYLE) & SS_NOTIFY);
    } else {
        EXPECT_EQ(_wcsicmp(cls.c_str(), L"SysLink"), 0) << "unexpected link class";
    }
    SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 6));
    SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(8, 6));
    Pump();
    ASSERT_EQ(links.size(), 1u) << "link class " << std::string(cls.begin(), cls.end());
    EXPECT_EQ(links[0], verinfo::kHomePage);
}

}  // namespace
}  // namespace qv::win::test
