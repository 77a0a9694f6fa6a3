// Random input against the codec, the date reader, the format routine and the
// settings readers: valid output and no crash (run under the sanitizers too).
#include <gtest/gtest.h>

#include <random>
#include <regex>

#include "date_format.h"
#include "settings_files.h"
#include "sjis.h"
#include "temp_folder.h"

namespace qv {
namespace {

bool IsValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += n;
    }
    return true;
}

// Random text built from pieces that dates, times and pictures are made of.
std::string RandomText(std::mt19937& random, std::initializer_list<const char*> pieces, int maxPieces) {
    std::vector<const char*> all(pieces);
    std::string text;
    int count = static_cast<int>(random() % static_cast<unsigned>(maxPieces + 1));
    for (int i = 0; i < count; ++i) text += all[random() % all.size()];
    return text;
}

TEST(Robustness, ShiftJisDecodingAlwaysGivesValidUtf8) {
    std::mt19937 random(1);
    for (int i = 0; i < 5000; ++i) {
        std::string bytes(random() % 40, '\0');
        for (char& b : bytes) b = static_cast<char>(random());
        std::string utf8 = SjisToUtf8(bytes);
        ASSERT_TRUE(IsValidUtf8(utf8));
        // Whatever survived decoding encodes again without growing.
        ASSERT_LE(Utf8ToSjis(utf8).size(), utf8.size());
    }
}

TEST(Robustness, TextsReadAsATimeOfDayOrStayThemselves) {
    std::mt19937 random(2);
    const std::regex hhmm("[0-2][0-9]:[0-5][0-9]");
    int times = 0;
    for (int i = 0; i < 20000; ++i) {
        // Half of the texts are shaped like dates and times, with numbers in
        // and out of range.
        auto n = [&](unsigned below) { return std::to_string(random() % below); };
        std::string text = i % 2 ? RandomText(random, {"1", "2", "9", "12", "30", "59", "60", "2026", ":", "/", "-", " ", "年", "月",
                                                       "日", "時", "分", "秒", "午前", "午後", "AM", "p", "(月)", "Mon", "x", "\xE6"},
                                              8)
                                 : (random() % 2 ? n(14) + "/" + n(33) + " " : "") + n(26) + ":" + n(62) +
                                       RandomText(random, {":05", " PM", " a", "x"}, 1);
        std::string formatted = Format(Value::Text(text), "hh:mm");
        if (formatted != text) {
            ASSERT_TRUE(std::regex_match(formatted, hhmm)) << '[' << text << "] -> [" << formatted << ']';
            ++times;
        }
    }
    EXPECT_GT(times, 1000);
}

TEST(Robustness, AnyPictureFormatsAnyDate) {
    std::mt19937 random(3);
    std::string out;
    for (int i = 0; i < 20000; ++i) {
        std::string picture = RandomText(random, {"y", "m", "d", "h", "n", "s", "a", "A/P", "am/pm", "AMPM", "g", "e", "w", "q", "c",
                                                  "t", "\"", "\\", ":", "/", " ", "年", "x", "0"},
                                         12);
        DateValue value = -657434.0 + std::uniform_real_distribution<double>(0, 3615900.0)(random);
        FormatDateInto(out, value, picture);
        ASSERT_TRUE(IsValidUtf8(out)) << picture;
    }
}

TEST(Robustness, RandomSettingsFilesReadAsTextLines) {
    test::TempFolder folder;
    std::mt19937 random(4);
    for (int i = 0; i < 100; ++i) {
        std::string bytes(random() % 300, '\0');
        for (char& b : bytes) {
            unsigned r = random() % 8;
            b = r == 0 ? '\r' : r == 1 ? '\n' : static_cast<char>(random());
        }
        test::WriteAllBytes(folder.path() / kWindowFile, bytes);
        SettingsModel m;
        ReadWindow(m, folder.path());
        for (const Value* v : {&m.RestartFlag, &m.FormState, &m.WinTop, &m.WinHeight, &m.WinWidth, &m.WinLeft, &m.LayoutSwitch}) {
            ASSERT_TRUE(v->kind() == Value::Kind::Empty || v->kind() == Value::Kind::Text);
            ASSERT_TRUE(IsValidUtf8(v->ToText()));
            ASSERT_EQ(v->ToText().find_first_of("\r\n"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace qv
