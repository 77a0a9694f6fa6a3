// Texts the Shift-JIS files cannot hold, at every save point where the user
// can still act: the message names the fields and characters; going back
// keeps the edits and puts the focus on the first field named; saving writes
// '?' in their place. A picture path is saved as its short path instead.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "settings_files.h"
#include "text.h"
#include "henko_window.h"
#include "syoki_window.h"
#include "dialog_fixture.h"

namespace qv::win::test {
namespace {

constexpr UINT kAsked = MB_YESNO | MB_DEFBUTTON1 | MB_ICONEXCLAMATION;

class UnstorableTest : public DialogTest {
protected:
    // The one message shown, checked for its title, buttons and default.
    std::wstring OnlyMessage() {
        EXPECT_EQ(messages.shown.size(), 1u);
        if (messages.shown.empty()) return {};
        EXPECT_EQ(messages.shown[0].title, L"保存できない文字");
        EXPECT_EQ(messages.shown[0].flags, kAsked);  // はい (go back) is the default
        return messages.shown[0].text;
    }
    static bool Has(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }
    // After "go back": the window open with the focus on the field named
    // first, nothing written, nothing handed over.
    void ExpectWentBack(HWND w, int focused, const char* file) {
        EXPECT_TRUE(Exists(w));
        EXPECT_EQ(GetFocus(), GetDlgItem(w, focused));
        EXPECT_FALSE(std::filesystem::exists(folder / file));
        EXPECT_TRUE(launcher.calls.empty());
    }
};

TEST_F(UnstorableTest, SyokiNamesEachRowAndGoesBackToTheFirst) {
    using namespace syoki;
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    Type(w, L + 1, L"東京");
    Type(w, L + 3, L"Zürich");
    Type(w, L + 5, L"Hà Nội");
    Type(w, L + 6, L"São Paulo");
    messages.answers = {IDYES};
    Click(w, BOK);
    const std::wstring text = OnlyMessage();
    EXPECT_TRUE(Has(text, L"名称 (3行目): ü")) << Narrow(text);
    EXPECT_TRUE(Has(text, L"名称 (5行目): àộ")) << Narrow(text);
    EXPECT_TRUE(Has(text, L"名称 (6行目): ã")) << Narrow(text);
    EXPECT_FALSE(Has(text, L"1行目")) << Narrow(text);
    ExpectWentBack(w, L + 3, kPlacesFile);
    EXPECT_EQ(Text(w, L + 3), L"Zürich");
    EXPECT_EQ(model.PlaceName[3], "");  // the model as it was: ｷｬﾝｾﾙ would leave it so
    // Saved with '?': the rest of the text as it was.
    messages.answers = {IDNO};
    Click(w, BOK);
    EXPECT_FALSE(Exists(w));
    auto lines = ReadSettingsFile(folder / kPlacesFile);
    ASSERT_EQ(lines.size(), 55u);
    EXPECT_EQ(lines[1], "東京");
    EXPECT_EQ(lines[3], "Z?rich");
    EXPECT_EQ(lines[5], "H? N?i");
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].name, "OpenHenko");
}

TEST_F(UnstorableTest, SyokiAsksNothingWhenEveryTextCanBeStored) {
    using namespace syoki;
    HWND w = OpenSyoki();
    ASSERT_NE(w, nullptr);
    Type(w, L + 1, L"ﾛﾝﾄﾞﾝ ①");
    Type(w, S + 2, L"9:00");
    Click(w, BOK);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(Exists(w));
    EXPECT_EQ(ReadSettingsFile(folder / kPlacesFile)[1], "ﾛﾝﾄﾞﾝ ①");
}

TEST_F(UnstorableTest, HenkoEndNamesTheFormatAndGoesBackToIt) {
    using namespace henko;
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    Type(w, HYOJ, L"hh時mm分 (Zürich)");
    Type(w, IJ, L"75€");
    messages.answers = {IDYES};
    Click(w, BEND);
    const std::wstring text = OnlyMessage();
    EXPECT_TRUE(Has(text, L"日時表示形式: ü")) << Narrow(text);
    EXPECT_TRUE(Has(text, L"上下幅: €")) << Narrow(text);
    ExpectWentBack(w, HYOJ, kDisplayFile);
    EXPECT_EQ(Text(w, HYOJ), L"hh時mm分 (Zürich)");
    EXPECT_EQ(model.DateFormat.ToText(), "");  // 初期設定 after going back saves no typed text
    EXPECT_TRUE(model.RestartFlag.IsEmpty());
    messages.answers = {IDNO};
    Click(w, BEND);
    EXPECT_FALSE(Exists(w));
    auto lines = ReadSettingsFile(folder / kDisplayFile);
    ASSERT_GE(lines.size(), 20u);
    EXPECT_EQ(lines[10], "hh時mm分 (Z?rich)");
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].name, "LoadVr");
}

// 初期設定 and ﾊﾞｰｼﾞｮﾝ情報 save the model as it is: here a font name from the chooser.
TEST_F(UnstorableTest, HenkoHandOversAskAboutTheFontNameFromTheChooser) {
    using namespace henko;
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    choosers.fonts.push_back(FontChoice{L"Fraktur Ä", 9.0f, false, false});
    Click(w, BFONT);
    messages.answers = {IDYES};
    Click(w, BSYO);
    EXPECT_TRUE(Has(OnlyMessage(), L"ﾌｫﾝﾄ名: Ä"));
    ExpectWentBack(w, BFONT, kDisplayFile);
    messages.answers = {IDNO};
    Click(w, GoVerInfo);
    EXPECT_FALSE(Exists(w));
    EXPECT_EQ(ReadSettingsFile(folder / kDisplayFile)[17], "Fraktur ?");
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].name, "OpenVerInfo");
}

// A picture whose path the file cannot hold is saved by its short path, which
// names the same file; no question is asked.
TEST_F(UnstorableTest, APicturePathIsSavedAsItsShortPath) {
    using namespace henko;
    const std::filesystem::path picture = folder.path() / L"Zürich Hà Nội.bmp";
    std::ofstream(picture, std::ios::binary) << "BM";
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    Type(w, GZU, picture.wstring());
    Click(w, BEND);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(Exists(w));
    const std::string saved = ReadSettingsFile(folder / kDisplayFile)[6];
    EXPECT_EQ(saved.find('?'), std::string::npos) << saved;
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::path(Widen(saved)), picture)) << saved;
}

// A path with no short form (a file that does not exist) is the user's to decide.
TEST_F(UnstorableTest, APicturePathWithoutAShortFormIsAsked) {
    using namespace henko;
    HWND w = OpenHenko();
    ASSERT_NE(w, nullptr);
    Type(w, GZU, (folder.path() / L"missing Zürich.bmp").wstring());
    messages.answers = {IDYES};
    Click(w, BEND);
    EXPECT_TRUE(Has(OnlyMessage(), L"画像ファイル: ü"));
    ExpectWentBack(w, GZU, kDisplayFile);
}

}  // namespace
}  // namespace qv::win::test
