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

}  // namespace

void ResetSummerTime(SettingsModel& model) {
    for (Value& summer : model.SummerTime) summer = Value::Integer(0);
}

void ApplyFirstRunDefaults(SettingsModel& model) {
    DefaultText(model.PlaceName[1], "日本");
    DefaultValue(model.FontBold, Value::Boolean(false));
    DefaultValue(model.FontItalic, Value::Boolean(false));
    DefaultValue(model.FontName, Value::Text("ＭＳ ゴシック"));
    DefaultValue(model.FontSize, Value::Text(" 8 "));
    DefaultValue(model.FieldHeight, Value::Integer(180));
    DefaultValue(model.FieldWidth, Value::Integer(1095));
    DefaultValue(model.DateFormat, Value::Text("mm/dd hh:mm"));
    DefaultText(model.NameColor, "0");
    DefaultText(model.TimeColor, "0");
    DefaultText(model.SummerColor, "12648447");
    DefaultText(model.WorkColor, "16711680");
    if (model.Transparent.empty()) {
        // A display file without the transparency line also resets the
        // window to its first-run size, whatever the window file said.
        model.Transparent = std::string("0");
        model.WinHeight = Value::Integer(885);
        model.WinWidth = Value::Integer(1410);
    }
    DefaultValue(model.RowGap, Value::Integer(75));
}

void ApplyEveryStartDefaults(SettingsModel& model) {
    DefaultValue(model.FieldHeight, Value::Integer(180));
    DefaultValue(model.FieldWidth, Value::Integer(1095));
    DefaultValue(model.DateFormat, Value::Text("mm/dd hh:mm"));
}

}  // namespace qv
