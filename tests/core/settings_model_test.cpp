// The settings model's defaults: which fields they fill, with which kinds, in which order.
#include "settings_model.h"

#include <gtest/gtest.h>

#include "value_printer.h"

namespace qv {
namespace {

TEST(SettingsModel, FirstRunOnAnEmptyModel) {
    SettingsModel m;
    ResetSummerTime(m);
    ApplyFirstRunDefaults(m);
    EXPECT_EQ(m.PlaceName[1], "日本");
    for (int n = 2; n <= kPlaceCount; ++n) EXPECT_EQ(m.PlaceName[n], "") << n;
    for (const Value& s : m.SummerTime) EXPECT_EQ(s, Value::Integer(0));
    EXPECT_TRUE(m.TimeDiff[1].IsEmpty());
    EXPECT_EQ(m.FontBold, Value::Boolean(false));
    EXPECT_EQ(m.FontItalic, Value::Boolean(false));
    EXPECT_EQ(m.FontName, Value::Text("ＭＳ ゴシック"));
    EXPECT_EQ(m.FontSize, Value::Text(" 8 "));
    EXPECT_EQ(m.FieldHeight, Value::Integer(180));
    EXPECT_EQ(m.FieldWidth, Value::Integer(1095));
    EXPECT_EQ(m.DateFormat, Value::Text("mm/dd hh:mm"));
    EXPECT_EQ(m.NameColor, "0");
    EXPECT_EQ(m.TimeColor, "0");
    EXPECT_EQ(m.SummerColor, "12648447");
    EXPECT_EQ(m.WorkColor, "16711680");
    EXPECT_EQ(m.Transparent, "0");
    EXPECT_EQ(m.WinHeight, Value::Integer(885));
    EXPECT_EQ(m.WinWidth, Value::Integer(1410));
    EXPECT_EQ(m.RowGap, Value::Integer(75));
    // No defaults: the window's place and layout (empty converts to 0, selects QV1).
    EXPECT_TRUE(m.WinTop.IsEmpty());
    EXPECT_TRUE(m.WinLeft.IsEmpty());
    EXPECT_TRUE(m.LayoutSwitch.Equals(0));
    EXPECT_TRUE(m.PicturePath.IsEmpty());
    EXPECT_TRUE(m.FormState.IsEmpty());
}

TEST(SettingsModel, DefaultsReplaceOnlyEmptyValues) {
    SettingsModel m;
    m.PlaceName[1] = std::string("ロンドン");
    m.FontSize = Value::Text(" 9 ");
    m.FieldHeight = Value::Text(" 200 ");
    m.NameColor = std::string("255");
    m.Transparent = std::string("1");
    m.WinHeight = Value::Text(" 3000 ");
    m.WinWidth = Value::Text(" 4000 ");
    m.RowGap = Value::Text("");  // zero-length text is empty too
    m.FontBold = Value::Boolean(true);
    ApplyFirstRunDefaults(m);
    EXPECT_EQ(m.PlaceName[1], "ロンドン");
    EXPECT_EQ(m.FontSize, Value::Text(" 9 "));
    EXPECT_EQ(m.FieldHeight, Value::Text(" 200 "));
    EXPECT_EQ(m.NameColor, "255");
    EXPECT_EQ(m.FontBold, Value::Boolean(true));
    // Transparent was there: the window size is left alone.
    EXPECT_EQ(m.WinHeight, Value::Text(" 3000 "));
    EXPECT_EQ(m.WinWidth, Value::Text(" 4000 "));
    EXPECT_EQ(m.RowGap, Value::Integer(75));
}

TEST(SettingsModel, MissingTransparencyResetsTheWindowSizeWhateverItHeld) {
    SettingsModel m;
    m.WinHeight = Value::Text(" 3000 ");
    m.WinWidth = Value::Text(" 4000 ");
    ApplyFirstRunDefaults(m);
    EXPECT_EQ(m.WinHeight, Value::Integer(885));
    EXPECT_EQ(m.WinWidth, Value::Integer(1410));
}

TEST(SettingsModel, EveryStartSetIsOnlySizesAndFormat) {
    SettingsModel m;
    ApplyEveryStartDefaults(m);
    EXPECT_EQ(m.FieldHeight, Value::Integer(180));
    EXPECT_EQ(m.FieldWidth, Value::Integer(1095));
    EXPECT_EQ(m.DateFormat, Value::Text("mm/dd hh:mm"));
    EXPECT_EQ(m.PlaceName[1], "");
    EXPECT_EQ(m.NameColor, "");
    EXPECT_TRUE(m.FontName.IsEmpty());
    EXPECT_TRUE(m.RowGap.IsEmpty());
    EXPECT_EQ(m.Transparent, "");
    EXPECT_TRUE(m.WinHeight.IsEmpty());
}

TEST(SettingsModel, SummerTimeResetIsUnconditional) {
    SettingsModel m;
    for (Value& s : m.SummerTime) s = Value::Text(" 1 ");
    ResetSummerTime(m);
    for (const Value& s : m.SummerTime) EXPECT_EQ(s, Value::Integer(0));
}

}  // namespace
}  // namespace qv
