// The system choosers, opened for real and answered from a second thread the
// way a user would: find the dialog, fill it in, press its button.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "system_choosers.h"
#include "dialog_fixture.h"

namespace qv::win::test {
namespace {

class SystemChoosersTest : public ::testing::Test {
protected:
    SystemChoosersTest() {
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~SystemChoosersTest() override { DestroyWindow(owner); }

    static void Press(HWND dialog, int id) {
        HWND button = GetDlgItem(dialog, id);
        if (button) PostMessageW(button, BM_CLICK, 0, 0);
    }

    HWND owner = nullptr;
    std::unique_ptr<Choosers> choosers = MakeSystemChoosers();
};

TEST(OpenFileFilter, BecomesNulSeparatedWithADoubleNulEnd) {
    static constexpr wchar_t picture[] = L"PICTURE\0*.bmp;*.jpg;*.gif;*.wmf\0\0";
    EXPECT_EQ(OpenFileFilter(L"PICTURE|*.bmp;*.jpg;*.gif;*.wmf|"), std::wstring(picture, std::size(picture) - 1));
    static constexpr wchar_t two[] = L"A\0*.a\0B\0*.b\0\0";
    EXPECT_EQ(OpenFileFilter(L"A|*.a|B|*.b"), std::wstring(two, std::size(two) - 1));
    EXPECT_EQ(OpenFileFilter(L""), std::wstring(L"\0\0", 2));
}

TEST_F(SystemChoosersTest, ColourChooserReturnsThePressedOkColourAndNothingOnCancel) {
    {
        DialogAnswerer user(GetCurrentThreadId(), [](HWND dialog) { Press(dialog, IDOK); });
        auto colour = choosers->ChooseColor(owner, RGB(10, 20, 30));
        ASSERT_TRUE(user.Wait()) << "no colour dialog appeared";
        ASSERT_TRUE(colour.has_value());
        EXPECT_EQ(*colour, RGB(10, 20, 30));
    }
    {
        DialogAnswerer user(GetCurrentThreadId(), [](HWND dialog) { Press(dialog, IDCANCEL); });
        auto colour = choosers->ChooseColor(owner, RGB(10, 20, 30));
        ASSERT_TRUE(user.Wait());
        EXPECT_FALSE(colour.has_value());
    }
}

TEST_F(SystemChoosersTest, FontChooserStartsFromTheGivenFontAndReturnsIt) {
    {
        DialogAnswerer user(GetCurrentThreadId(), [](HWND dialog) { Press(dialog, IDOK); });
        auto font = choosers->ChooseFont(owner, FontChoice{L"ＭＳ ゴシック", 12.0f, true, false});
        ASSERT_TRUE(user.Wait()) << "no font dialog appeared";
        ASSERT_TRUE(font.has_value());
        EXPECT_EQ(font->name, L"ＭＳ ゴシック");
        EXPECT_EQ(font->size, 12.0f);
        EXPECT_TRUE(font->bold);
        EXPECT_FALSE(font->italic);
    }
    {
        DialogAnswerer user(GetCurrentThreadId(), [](HWND dialog) { Press(dialog, IDCANCEL); });
        auto font = choosers->ChooseFont(owner, FontChoice{L"ＭＳ ゴシック", 9.0f, false, false});
        ASSERT_TRUE(user.Wait());
        EXPECT_FALSE(font.has_value());
    }
}

TEST_F(SystemChoosersTest, FileChooserOffersThePictureFilterAndReturnsTheTypedFile) {
    TempFolder folder{kFolderStem};
    const auto picture = folder.path() / L"sunset.jpg";
    std::ofstream(picture, std::ios::binary) << "not really a picture";
    std::wstring filterShown;
    {
        DialogAnswerer user(GetCurrentThreadId(), [&](HWND dialog) {
            wchar_t first[128] = {};
            SendDlgItemMessageW(dialog, 0x470, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));  // cmb1
            filterShown = first;
            HWND name = GetDlgItem(dialog, 0x480);  // edt1
            if (!name) name = GetDlgItem(dialog, 0x47c);  // cmb13
            SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(picture.c_str()));
            Press(dialog, IDOK);
        });
        auto file = choosers->ChooseOpenFile(owner, L"PICTURE|*.bmp;*.jpg;*.gif;*.wmf|");
        ASSERT_TRUE(user.Wait()) << "no file dialog appeared";
        EXPECT_EQ(filterShown, L"PICTURE");
        ASSERT_TRUE(file.has_value());
        EXPECT_EQ(std::filesystem::path(*file), picture);
    }
    {
        DialogAnswerer user(GetCurrentThreadId(), [](HWND dialog) { Press(dialog, IDCANCEL); });
        auto file = choosers->ChooseOpenFile(owner, L"PICTURE|*.bmp;*.jpg;*.gif;*.wmf|");
        ASSERT_TRUE(user.Wait());
        EXPECT_FALSE(file.has_value());
    }
}

}  // namespace
}  // namespace qv::win::test
