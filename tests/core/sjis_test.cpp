// The Shift-JIS codec: known code page 932 bytes, bad input, and a round trip
// over every double-byte cell.
#include "sjis.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(Sjis, KnownTextsBothWays) {
    struct Case {
        const char* utf8;
        std::string sjis;
    } cases[] = {
        {"日本", "\x93\xfa\x96\x7b"},
        {"名称", "\x96\xbc\x8f\xcc"},
        {"ＭＳ ゴシック", "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e"},
        {"ﾊﾞｰｼﾞｮﾝ情報", "\xca\xde\xb0\xbc\xde\xae\xdd\x8f\xee\x95\xf1"},
        {"C:\\QV\\表示", "C:\\QV\\\x95\x5c\x8e\xa6"},  // 表 has 0x5C as its trail byte
        {"～", "\x81\x60"},
        {"①", "\x87\x40"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToSjis(c.utf8), c.sjis) << c.utf8;
        EXPECT_EQ(SjisToUtf8(c.sjis), c.utf8) << c.utf8;
    }
    EXPECT_EQ(SjisToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Sjis, BadBytesBecomeReplacementCharacters) {
    EXPECT_EQ(SjisToUtf8("\x81"), "\xEF\xBF\xBD");              // lead byte at the end
    EXPECT_EQ(SjisToUtf8("\x81\x20" "A"), "\xEF\xBF\xBD A");    // lead without a trail: the blank survives
    EXPECT_EQ(SjisToUtf8("\x85\x40"), "\xEF\xBF\xBD");          // unassigned cell
    EXPECT_EQ(SjisToUtf8("\xa0\xfd"), "\xEF\xA3\xB0\xEF\xA3\xB1");  // the system's private-use single bytes
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_FALSE(SjisToUtf8(all + all).empty());
}

TEST(Sjis, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToSjis("é"), "?");
    EXPECT_EQ(Utf8ToSjis("a😀b"), "a?b");
    EXPECT_EQ(Utf8ToSjis("\xff\xfe"), "??");           // not UTF-8
    EXPECT_EQ(Utf8ToSjis("\xe6\x97"), "??");            // cut-off sequence
    EXPECT_EQ(Utf8ToSjis("\xed\xa0\x80"), "???");       // an encoded surrogate
    EXPECT_EQ(Utf8ToSjis("\xc0\xaf"), "??");            // overlong '/'
}

TEST(Sjis, EveryMappedCellRoundTripsToItsCharacter) {
    int mapped = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            std::string cell{static_cast<char>(lead), static_cast<char>(trail)};
            std::string utf8 = SjisToUtf8(cell);
            if (utf8 == "\xEF\xBF\xBD") continue;
            ++mapped;
            // Duplicate cells (NEC and IBM extensions) encode to one of them;
            // the character itself always survives.
            std::string back = Utf8ToSjis(utf8);
            ASSERT_EQ(back.size(), 2u) << std::hex << lead << ' ' << trail;
            ASSERT_EQ(SjisToUtf8(back), utf8) << std::hex << lead << ' ' << trail;
        }
    }
    EXPECT_GT(mapped, 7900);
}

// The characters a save would turn into '?', each named once.
TEST(Sjis, CharactersWithoutAShiftJisForm) {
    EXPECT_EQ(CharactersWithoutSjis("東京 ﾛﾝﾄﾞﾝ New York ①"), "");
    EXPECT_EQ(CharactersWithoutSjis("Zürich"), "ü");
    EXPECT_EQ(CharactersWithoutSjis("Hà Nội, Hà"), "àộ");
    EXPECT_EQ(CharactersWithoutSjis("😀"), "😀");
    EXPECT_EQ(Utf8ToSjis("São"), "S?o");
}

TEST(Sjis, WellFormedUtf8) {
    EXPECT_TRUE(IsWellFormedUtf8("plain"));
    EXPECT_TRUE(IsWellFormedUtf8("名称 \uFFFD"));
    EXPECT_TRUE(IsWellFormedUtf8("名\xE7\xA7"));   // cut off by the end of what was read
    EXPECT_FALSE(IsWellFormedUtf8(Utf8ToSjis("名称")));
    EXPECT_FALSE(IsWellFormedUtf8("\xC0\x80"));    // overlong
    EXPECT_FALSE(IsWellFormedUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(IsWellFormedUtf8("\xE7\xA7x"));
    EXPECT_EQ(Utf8Cleaned("a\xFF" "b"), "a\uFFFDb");
}

}  // namespace
}  // namespace qv
