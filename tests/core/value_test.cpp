// The loosely typed value: its number, text, boolean and file-line conversions.
#include "value.h"

#include <gtest/gtest.h>

#include "value_printer.h"

namespace qv {
namespace {

TEST(Value, NumbersFromTextAllowBlanksSignAndPoint) {
    EXPECT_EQ(Value::Text(" 8 ").ToNumber(), 8.0);
    EXPECT_EQ(Value::Text("-3.5").ToNumber(), -3.5);
    EXPECT_EQ(Value::Text("+2").ToNumber(), 2.0);
    EXPECT_EQ(Value::Text(".5").ToNumber(), 0.5);
    EXPECT_EQ(Value::Text("\t180 ").ToNumber(), 180.0);
    EXPECT_EQ(Value().ToNumber(), 0.0);
    EXPECT_EQ(Value::Integer(-120).ToNumber(), -120.0);
    EXPECT_EQ(Value::Single(10.5f).ToNumber(), 10.5);
}

TEST(Value, TextThatIsNotANumberDoesNotConvert) {
    for (const char* text : {"", " ", "abc", "1 2", "1.2.3", "--1", "-", ".", "1e3", "inf", "nan", "0x10", "12px", "9:00"}) {
        EXPECT_EQ(Value::Text(text).ToNumber(), std::nullopt) << '[' << text << ']';
    }
    EXPECT_EQ(Value::Text("abc").ToNumberOr(1095), 1095);
    // Hundreds of digits overflow a double: not a number, never infinity.
    EXPECT_EQ(Value::Text(std::string(400, '9')).ToNumber(), std::nullopt);
}

TEST(Value, NumericTestsCountEmptyAsZeroAndOtherTextAsFalse) {
    EXPECT_TRUE(Value().Equals(0));
    EXPECT_TRUE(Value::Text("").Equals(0));
    EXPECT_FALSE(Value().Equals(1));
    EXPECT_TRUE(Value::Text(" 1 ").Equals(1));
    EXPECT_TRUE(Value::Integer(1).Equals(1));
    EXPECT_FALSE(Value::Text("フォーム切替情報").Equals(1));
    EXPECT_FALSE(Value::Text("フォーム切替情報").Equals(0));
    EXPECT_FALSE(Value::Text(" ").Equals(0));
}

TEST(Value, EmptinessOnlyForEmptyValueAndZeroLengthText) {
    EXPECT_TRUE(Value().IsEmpty());
    EXPECT_TRUE(Value::Text("").IsEmpty());
    EXPECT_FALSE(Value::Text(" ").IsEmpty());
    EXPECT_FALSE(Value::Integer(0).IsEmpty());
    EXPECT_FALSE(Value::Boolean(false).IsEmpty());
    EXPECT_EQ(Value().kind(), Value::Kind::Empty);
    EXPECT_EQ(Value::Text("").kind(), Value::Kind::Text);
}

TEST(Value, TextFormsHaveNoBlanks) {
    EXPECT_EQ(Value::Integer(180).ToText(), "180");
    EXPECT_EQ(Value::Integer(-120).ToText(), "-120");
    EXPECT_EQ(Value::Single(10.5f).ToText(), "10.5");
    EXPECT_EQ(Value::Boolean(true).ToText(), "True");
    EXPECT_EQ(Value::Boolean(false).ToText(), "False");
    EXPECT_EQ(Value::Text(" 8 ").ToText(), " 8 ");
    EXPECT_EQ(Value().ToText(), "");
}

TEST(Value, SingleHasAtMostSevenSignificantDigits) {
    EXPECT_EQ(FormatSingle(0.0f), "0");
    EXPECT_EQ(FormatSingle(-0.0f), "0");
    EXPECT_EQ(FormatSingle(0.1f), "0.1");
    EXPECT_EQ(FormatSingle(1234567.875f), "1234568");
    EXPECT_EQ(FormatSingle(3.1415927f), "3.141593");
    EXPECT_EQ(FormatSingle(8679.5625f), "8679.563");  // an exact tie rounds away from zero
    EXPECT_EQ(FormatSingle(-8679.5625f), "-8679.563");
    EXPECT_EQ(FormatSingle(9999999.5f), "1E+07");
    EXPECT_EQ(FormatSingle(0.0001f), "0.0001");
    EXPECT_EQ(FormatSingle(1.5e-7f), "1.5E-07");
    EXPECT_EQ(FormatSingle(3.4e38f), "3.4E+38");
    EXPECT_EQ(FormatSingle(-1200.25f), "-1200.25");
    EXPECT_EQ(FormatSingle(9999999.0f), "9999999");
    EXPECT_EQ(FormatSingle(1e10f), "1E+10");
    EXPECT_EQ(FormatSingle(0.00001f), "1E-05");
}

TEST(Value, BooleansFromWordsOrNumbers) {
    EXPECT_EQ(Value::Text("True").ToBoolean(), true);
    EXPECT_EQ(Value::Text("false").ToBoolean(), false);
    EXPECT_EQ(Value::Text("TRUE").ToBoolean(), true);
    EXPECT_EQ(Value::Text(" 0 ").ToBoolean(), false);
    EXPECT_EQ(Value::Text("-1").ToBoolean(), true);
    EXPECT_EQ(Value::Integer(2).ToBoolean(), true);
    EXPECT_EQ(Value::Boolean(false).ToBoolean(), false);
    EXPECT_EQ(Value().ToBoolean(), false);
    EXPECT_EQ(Value::Text("yes").ToBoolean(), std::nullopt);
}

TEST(Value, FileLinesByKind) {
    EXPECT_EQ(Value::Integer(180).ToFileLine(), " 180 ");
    EXPECT_EQ(Value::Integer(-120).ToFileLine(), "-120 ");
    EXPECT_EQ(Value::Single(10.5f).ToFileLine(), " 10.5 ");
    EXPECT_EQ(Value::Single(-120.0f).ToFileLine(), "-120 ");
    EXPECT_EQ(Value::Integer(0).ToFileLine(), " 0 ");
    EXPECT_EQ(Value::Boolean(false).ToFileLine(), "False");
    EXPECT_EQ(Value::Text("ＭＳ ゴシック").ToFileLine(), "ＭＳ ゴシック");
    EXPECT_EQ(Value::Text(" 180 ").ToFileLine(), " 180 ");
    EXPECT_EQ(Value().ToFileLine(), "");
}

TEST(Value, MutableTextKeepsTheBufferAndTurnsOtherKindsIntoText) {
    Value v = Value::Text("12/07 10:30");
    const char* buffer = v.TextIf()->data();
    v.MutableText() = std::string("10:30");
    EXPECT_EQ(v.TextIf()->data(), buffer);
    Value number = Value::Integer(5);
    EXPECT_EQ(number.TextIf(), nullptr);
    number.MutableText() = std::string("x");
    EXPECT_EQ(number, Value::Text("x"));
}

TEST(Value, ColoursFromDecimalText) {
    EXPECT_EQ(ColorFromText("16711680"), 0xFF0000u);
    EXPECT_EQ(ColorFromText("12648447"), 0xC0FFFFu);
    EXPECT_EQ(ColorFromText(" 0 "), 0u);
    EXPECT_EQ(ColorFromText("4294967295"), 0xFFFFFFFFu);
    EXPECT_EQ(ColorFromText("4294967296"), std::nullopt);
    EXPECT_EQ(ColorFromText("-1"), std::nullopt);
    EXPECT_EQ(ColorFromText("blue"), std::nullopt);
    EXPECT_EQ(ColorFromText(""), std::nullopt);
}

}  // namespace
}  // namespace qv
