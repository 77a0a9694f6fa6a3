// The display file's options after its 20 lines: written only when on, kept
// when unknown, read only under their exact title, and never more than 20.
#include "display_options.h"

#include <gtest/gtest.h>

#include <vector>

#include "settings_files.h"
#include "sjis.h"
#include "temp_folder.h"

namespace qv {
namespace {

using test::ReadAllBytes;
using test::TempFolder;
using test::WriteAllBytes;
using Lines = std::vector<std::string>;

// The 20 lines of a display file with the first-run defaults (UTF-8 here).
Lines TwentyLines() {
    return {"色", "0", "12648447", "16711680", "0", "フォームピクチャー", "", "透明かどうか", "0", "日時表示形式",
            "mm/dd hh:mm", "表示内容寸法", " 180 ", " 1095 ", "フォント情報", "False", "False", "ＭＳ ゴシック", " 8 ", " 75 "};
}

// The 20 lines, then `more`, as the file stores them.
std::string FileWith(const Lines& more) {
    std::string text;
    Lines lines = TwentyLines();
    lines.insert(lines.end(), more.begin(), more.end());
    for (const auto& line : lines) text += line + "\r\n";
    return Utf8ToSjis(text);
}

SettingsModel Defaults() {
    SettingsModel m;
    ResetSummerTime(m);
    ApplyFirstRunDefaults(m);
    return m;
}

// The model read from a file on disk (the reader takes only so many lines).
SettingsModel ReadFromDisk(const std::string& bytes) {
    TempFolder folder;
    WriteAllBytes(folder.path() / kDisplayFile, bytes);
    SettingsModel m = Defaults();
    m.AlwaysOnTop = true;  // whatever memory held, the file decides
    m.DisplayOptions = {"old=1"};
    ReadDisplay(m, folder.path());
    return m;
}

TEST(DisplayOptions, WrittenOnlyWhenOnAndOffGivesTodaysBytes) {
    SettingsModel m = Defaults();
    const std::string today = FileWith({});
    EXPECT_EQ(DisplayFileBytes(m), today);

    m.AlwaysOnTop = true;
    TempFolder folder;
    ASSERT_EQ(WriteDisplay(m, folder.path()), std::nullopt);
    const std::string on = ReadAllBytes(folder.path() / kDisplayFile);
    EXPECT_EQ(on, FileWith({"表示オプション", "最前面=1"}));

    SettingsModel back = ReadFromDisk(on);
    EXPECT_TRUE(back.AlwaysOnTop);
    EXPECT_EQ(back.DisplayOptions, Lines{"最前面=1"});
    EXPECT_EQ(back.RowGap, Value::Text(" 75 "));
    EXPECT_EQ(DisplayFileBytes(back), on);
    back.AlwaysOnTop = false;
    EXPECT_EQ(DisplayFileBytes(back), today);

    // A file without the section, or one that ends at its 20th line without
    // a break, switches it off, whatever memory held.
    EXPECT_FALSE(ReadFromDisk(today).AlwaysOnTop);
    EXPECT_FALSE(ReadFromDisk(today.substr(0, today.size() - 2)).AlwaysOnTop);
}

// Unknown keys kept in order, lines without '=' dropped, the first of our
// keys counts and only exactly "1" is on; switching changes only our key.
TEST(DisplayOptions, UnknownKeysKeptTheFirstKeyCountsOnlyOneIsOn) {
    SettingsModel m = ReadFromDisk(FileWith({"表示オプション", "色数=256", "ｼﾞｬﾝｸ", "最前面=1", "", "=", "最前面=2"}));
    EXPECT_TRUE(m.AlwaysOnTop);
    EXPECT_EQ(DisplayFileBytes(m), FileWith({"表示オプション", "色数=256", "最前面=1", "=", "最前面=2"}));
    m.AlwaysOnTop = false;  // every line of our key goes: a later "最前面=1" must not switch it on
    EXPECT_EQ(DisplayFileBytes(m), FileWith({"表示オプション", "色数=256", "="}));

    for (const char* off : {"最前面=2", "最前面=", "最前面=1 ", "最前面=True", "最前面=#?x%s ｼﾞｬﾝｸ"}) {
        SCOPED_TRACE(off);
        const std::string stored = FileWith({"表示オプション", off, "最前面=1"});
        SettingsModel junk = ReadFromDisk(stored);
        EXPECT_FALSE(junk.AlwaysOnTop);
        EXPECT_EQ(DisplayFileBytes(junk), stored);
    }
    // Switched on over a first key that said off: that line says on, in its place.
    SettingsModel later = ReadFromDisk(FileWith({"表示オプション", "a=1", "最前面=2", "最前面=1"}));
    later.AlwaysOnTop = true;
    EXPECT_EQ(DisplayFileBytes(later), FileWith({"表示オプション", "a=1", "最前面=1", "最前面=1"}));
}

TEST(DisplayOptions, ReadOnlyUnderTheExactTitleAndAtMostTwentyLines) {
    for (const char* title : {"表示オプション ", " 表示オプション", "表示ｵﾌﾟｼｮﾝ", "", "最前面=1"}) {
        SCOPED_TRACE(title);
        SettingsModel m = ReadFromDisk(FileWith({title, "最前面=1", "a=b"}));
        EXPECT_FALSE(m.AlwaysOnTop);
        EXPECT_EQ(DisplayFileBytes(m), FileWith({}));
    }

    Lines lines{"表示オプション"};
    for (int n = 1; n <= 19; ++n) lines.push_back("k" + std::to_string(n) + "=" + std::to_string(n));
    lines.push_back("no equals sign");  // the 20th: read and dropped
    lines.push_back("最前面=1");        // the 21st: not read
    SettingsModel m = ReadFromDisk(FileWith(lines));
    EXPECT_FALSE(m.AlwaysOnTop);
    ASSERT_EQ(m.DisplayOptions.size(), 19u);
    EXPECT_EQ(m.DisplayOptions.back(), "k19=19");
    // Twenty kept and switched on: ours first, and the file still holds no
    // more than a reader takes (the last unknown line gives way).
    lines[20] = "k20=20";
    SettingsModel full = ReadFromDisk(FileWith(lines));
    full.AlwaysOnTop = true;
    SettingsModel back = ReadFromDisk(DisplayFileBytes(full));
    EXPECT_TRUE(back.AlwaysOnTop);
    ASSERT_EQ(back.DisplayOptions.size(), 20u);
    EXPECT_EQ(back.DisplayOptions.back(), "k19=19");
    EXPECT_EQ(DisplayFileBytes(back), DisplayFileBytes(full));
}

}  // namespace
}  // namespace qv
