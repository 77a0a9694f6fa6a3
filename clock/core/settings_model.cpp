// The settings model's defaults: the summer-time reset, the first-run set and
// the every-start set, each filling only empty fields, in a fixed order.
#include "settings_model.h"

namespace qv {

namespace {

void DefaultValue(Value& field, Value value) {
    if (field.IsEmpty()) field = std::move(value);
}

// Move-assigning a new string (rather than assigning the characters) also
// keeps GCC 12's -Wrestrict false alarm on string assignment quiet.
void DefaultText(std::string& field, const char* value) {
    if (field.empty()) field = std::string(value);
}

void DefaultColor(std::string& field, std::uint32_t value) {
    if (field.empty()) field = std::to_string(value);
}

}  // namespace

void ResetSummerTime(SettingsModel& model) {
    for (Value& summer : model.SummerTime) summer = Value::Integer(0);
}

void ApplyFirstRunDefaults(SettingsModel& model) {
    DefaultText(model.PlaceName[1], defaults::kPlaceName);
    DefaultValue(model.FontBold, Value::Boolean(false));
    DefaultValue(model.FontItalic, Value::Boolean(false));
    DefaultValue(model.FontName, Value::Text(defaults::kFontName));
    DefaultValue(model.FontSize, Value::Text(defaults::kFontSize));
    ApplyEveryStartDefaults(model);
    DefaultColor(model.NameColor, defaults::kNameColor);
    DefaultColor(model.TimeColor, defaults::kTimeColor);
    DefaultColor(model.SummerColor, defaults::kSummerColor);
    DefaultColor(model.WorkColor, defaults::kWorkColor);
    if (model.Transparent.empty()) {
        // A display file without the transparency line also resets the
        // window to its first-run size, whatever the window file said.
        model.Transparent = std::string(defaults::kTransparent);
        model.WinHeight = Value::Integer(defaults::kWinHeight);
        model.WinWidth = Value::Integer(defaults::kWinWidth);
    }
    DefaultValue(model.RowGap, Value::Integer(defaults::kRowGap));
}

void ApplyEveryStartDefaults(SettingsModel& model) {
    DefaultValue(model.FieldHeight, Value::Integer(defaults::kFieldHeight));
    DefaultValue(model.FieldWidth, Value::Integer(defaults::kFieldWidth));
    DefaultValue(model.DateFormat, Value::Text(defaults::kDateFormat));
}

double NumberOr(const Value& value, double fallback) { return value.ToNumber().value_or(fallback); }

double PositiveOr(const Value& value, double fallback) {
    const double n = NumberOr(value, fallback);
    return n > 0 ? n : fallback;
}

std::uint32_t ColorOr(std::string_view text, std::uint32_t fallback) { return ColorFromText(text).value_or(fallback); }

double FontSizePoints(const SettingsModel& model) {
    const double size = NumberOr(model.FontSize, defaults::kFontSizePoints);
    return size > 0 && size <= 1638 ? size : defaults::kFontSizePoints;
}

bool TransparentDisplay(const SettingsModel& model) {
    return Value::Text(model.Transparent).ToNumber().value_or(0) != 0;
}

}  // namespace qv
