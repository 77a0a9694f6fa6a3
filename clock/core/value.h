// The loosely typed value of the settings model: empty, text, 16-bit integer,
// single-precision number or boolean, with the conversions every window relies on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace qv {

class Value {
public:
    enum class Kind { Empty, Text, Integer, Single, Boolean };

    Value() = default;
    static Value Text(std::string text);
    static Value Integer(std::int16_t number);
    static Value Single(float number);
    static Value Boolean(bool flag);

    Kind kind() const;
    bool operator==(const Value&) const = default;

    // The empty value, or zero-length text. A number or boolean is never empty.
    bool IsEmpty() const;

    // Decimal number with optional sign and point, blanks around allowed;
    // the empty value is 0. Nothing when the text is not a number.
    std::optional<double> ToNumber() const;
    double ToNumberOr(double fallback) const;

    // The numeric tests (RestartFlag = 1, LayoutSwitch = 0, ...): empty and
    // zero-length text count as 0; text that is not a number makes it false.
    bool Equals(double number) const;

    // A number as its shortest decimal text without blanks; a boolean as
    // "True"/"False"; text as it is; empty as "".
    std::string ToText() const;

    // "True"/"False" (any case), or a number (0 is false). Nothing otherwise.
    std::optional<bool> ToBoolean() const;

    // The line a settings file holds for this value: text as is, numbers as
    // " 180 " / "-120 " / " 10.5 ", booleans "True"/"False", empty as "".
    std::string ToFileLine() const;

    // The held text, or nothing when the value is not text (no copy).
    const std::string* TextIf() const;
    // Makes the value text (keeping its buffer when it already is) and hands
    // the text out for writing in place: the clock tick reuses it every tick.
    std::string& MutableText();

private:
    std::variant<std::monostate, std::string, std::int16_t, float, bool> v_;
};

// A decimal number with optional sign and point, blanks around allowed
// (" 8 ", "-3.5", ".5"); nothing for any other text, the empty one included.
std::optional<double> ParseNumber(std::string_view text);

// Shortest decimal form of a single-precision number, up to 7 significant digits.
std::string FormatSingle(float number);

// A colour text (decimal BGR) as a 32-bit number; nothing when not a number.
std::optional<std::uint32_t> ColorFromText(std::string_view text);

}  // namespace qv
