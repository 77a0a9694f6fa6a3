// The loosely typed value: kinds, conversions and the settings-file line form.
#include "value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace qv {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Only digits and one point: strtod alone would also take "inf",
    // "nan" and exponents, which are not numbers here.
    int digits = 0;
    bool point = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) return std::nullopt;
    if (digits <= 15) {
        // Exact fast path: at most 15 digits make an exact integer, and one
        // division by an exact power of ten rounds correctly.
        static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8,
                                             1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        // Signed: at most 15 digits fit, and its conversion is one exact load.
        std::int64_t mantissa = 0;
        int fraction = 0;
        bool afterPoint = false;
        for (char c : text) {
            if (c == '.') {
                afterPoint = true;
                continue;
            }
            mantissa = mantissa * 10 + (c - '0');
            fraction += afterPoint;
        }
        double number = static_cast<double>(mantissa) / kPowers[fraction];
        return negative ? -number : number;
    }
    // The C runtime's correctly rounded conversion (std::from_chars would
    // bring its own tables into the program).
    const std::string digitsOnly(text);
    char* end = nullptr;
    const double number = std::strtod(digitsOnly.c_str(), &end);
    if (end != digitsOnly.c_str() + digitsOnly.size() || !std::isfinite(number)) return std::nullopt;
    return negative ? -number : number;
}

Value Value::Text(std::string text) {
    Value v;
    v.v_ = std::move(text);
    return v;
}

Value Value::Integer(std::int16_t number) {
    Value v;
    v.v_ = number;
    return v;
}

Value Value::Single(float number) {
    Value v;
    v.v_ = number;
    return v;
}

Value Value::Boolean(bool flag) {
    Value v;
    v.v_ = flag;
    return v;
}

Value::Kind Value::kind() const {
    switch (v_.index()) {
    case 1: return Kind::Text;
    case 2: return Kind::Integer;
    case 3: return Kind::Single;
    case 4: return Kind::Boolean;
    default: return Kind::Empty;
    }
}

bool Value::IsEmpty() const {
    if (std::holds_alternative<std::monostate>(v_)) return true;
    const auto* text = std::get_if<std::string>(&v_);
    return text && text->empty();
}

std::optional<double> Value::ToNumber() const {
    switch (kind()) {
    case Kind::Empty: return 0.0;
    case Kind::Text: return ParseNumber(std::get<std::string>(v_));
    case Kind::Integer: return static_cast<double>(std::get<std::int16_t>(v_));
    case Kind::Single: return static_cast<double>(std::get<float>(v_));
    case Kind::Boolean: return std::get<bool>(v_) ? -1.0 : 0.0;  // True is -1 as a number
    }
    return std::nullopt;
}

double Value::ToNumberOr(double fallback) const {
    return ToNumber().value_or(fallback);
}

bool Value::Equals(double number) const {
    if (IsEmpty()) return number == 0;
    auto mine = ToNumber();
    return mine && *mine == number;
}

std::string Value::ToText() const {
    switch (kind()) {
    case Kind::Empty: return {};
    case Kind::Text: return std::get<std::string>(v_);
    case Kind::Integer: return std::to_string(std::get<std::int16_t>(v_));
    case Kind::Single: return FormatSingle(std::get<float>(v_));
    case Kind::Boolean: return std::get<bool>(v_) ? "True" : "False";
    }
    return {};
}

std::optional<bool> Value::ToBoolean() const {
    if (const auto* text = std::get_if<std::string>(&v_)) {
        std::string_view t = TrimBlanks(*text);
        auto equalsNoCase = [t](std::string_view word) {
            if (t.size() != word.size()) return false;
            for (std::size_t i = 0; i < t.size(); ++i) {
                char c = t[i];
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
                if (c != word[i]) return false;
            }
            return true;
        };
        if (equalsNoCase("true")) return true;
        if (equalsNoCase("false")) return false;
    }
    if (const auto* flag = std::get_if<bool>(&v_)) return *flag;
    auto number = ToNumber();
    if (!number) return std::nullopt;
    return *number != 0;
}

std::string Value::ToFileLine() const {
    switch (kind()) {
    case Kind::Integer:
    case Kind::Single: {
        double number = *ToNumber();
        std::string text = ToText();
        // A number's line: a blank where a minus sign would stand, digits, a blank.
        return (number < 0 ? text : " " + text) + " ";
    }
    default: return ToText();
    }
}

const std::string* Value::TextIf() const {
    return std::get_if<std::string>(&v_);
}

std::string& Value::MutableText() {
    if (auto* text = std::get_if<std::string>(&v_)) return *text;
    return v_.emplace<std::string>();
}

std::string FormatSingle(float number) {
    if (number == 0) return "0";  // also -0
    char buffer[200];
    if (std::isnan(number)) return std::signbit(number) ? "-nan" : "nan";
    if (std::isinf(number)) return number < 0 ? "-inf" : "inf";
    // Every float has a finite decimal expansion of at most 112 significant
    // digits: print it exactly, then round to 7 digits with ties away from
    // zero, as the system's own conversion does (8679.5625 is "8679.563").
    const int length = std::snprintf(buffer, sizeof buffer, "%.120e", static_cast<double>(number));
    if (length <= 0 || length >= static_cast<int>(sizeof buffer)) return "0";
    const char* end = buffer + length;
    const bool negative = buffer[0] == '-';
    char digits[8] = {};
    int count = 0;
    const char* p = buffer + (negative ? 1 : 0);
    bool roundUp = false;
    for (; p < end && *p != 'e'; ++p) {
        if (*p == '.') continue;
        if (count < 7) digits[count++] = *p;
        else if (count++ == 7) roundUp = *p >= '5';
    }
    int exponent = 0;
    if (p < end) {
        const bool negativeExponent = p[1] == '-';
        for (const char* e = p + 2; e < end; ++e) exponent = exponent * 10 + (*e - '0');
        if (negativeExponent) exponent = -exponent;
    }
    int kept = count < 7 ? count : 7;
    if (roundUp) {
        int i = kept - 1;
        while (i >= 0 && digits[i] == '9') digits[i--] = '0';
        if (i >= 0) {
            ++digits[i];
        } else {
            digits[0] = '1';
            ++exponent;
        }
    }
    while (kept > 1 && digits[kept - 1] == '0') --kept;

    std::string text;
    if (negative) text.push_back('-');
    if (exponent < -4 || exponent >= 7) {  // 1E+10, 1E-05
        text.push_back(digits[0]);
        if (kept > 1) {
            text.push_back('.');
            text.append(digits + 1, static_cast<std::size_t>(kept - 1));
        }
        text.push_back('E');
        text.push_back(exponent < 0 ? '-' : '+');
        int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10) text.push_back('0');
        text += std::to_string(magnitude);
    } else if (exponent >= 0) {  // 10.5, 180
        for (int i = 0; i <= exponent; ++i) text.push_back(i < kept ? digits[i] : '0');
        if (kept > exponent + 1) {
            text.push_back('.');
            text.append(digits + exponent + 1, static_cast<std::size_t>(kept - exponent - 1));
        }
    } else {  // 0.0001
        text += "0.";
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text.append(digits, static_cast<std::size_t>(kept));
    }
    return text;
}

std::optional<std::uint32_t> ColorFromText(std::string_view text) {
    auto number = ParseNumber(text);
    if (!number) return std::nullopt;
    double rounded = std::nearbyint(*number);  // to even on a tie, as a 32-bit conversion rounds
    if (rounded < 0 || rounded > static_cast<double>(std::numeric_limits<std::uint32_t>::max())) return std::nullopt;
    return static_cast<std::uint32_t>(rounded);
}

}  // namespace qv
