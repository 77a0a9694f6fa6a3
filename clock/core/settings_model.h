// The settings model: the one shared state of the clock program (places,
// display and window settings, process flags), and its defaults.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings_defaults.h"
#include "time_zone.h"
#include "value.h"

namespace qv {

inline constexpr int kPlaceCount = 10;

// Ten rows indexed 1 to 10, as the windows number them.
template <class T>
class Rows {
public:
    T& operator[](int n) { return rows_.at(static_cast<std::size_t>(n - 1)); }
    const T& operator[](int n) const { return rows_.at(static_cast<std::size_t>(n - 1)); }
    auto begin() { return rows_.begin(); }
    auto end() { return rows_.end(); }
    auto begin() const { return rows_.begin(); }
    auto end() const { return rows_.end(); }
    bool operator==(const Rows&) const = default;

private:
    std::array<T, kPlaceCount> rows_{};
};

struct SettingsModel {
    // Place table.
    Rows<std::string> PlaceName;
    Rows<Value> TimeDiff;
    Rows<Value> WorkStart;
    Rows<Value> WorkEnd;
    Rows<Value> SummerTime;
    Rows<Value> LocalTime;  // working value of the clock tick, never stored
    // The zone a place follows, by the system's key name, as the places file
    // holds it (empty: the place keeps its time difference); and its rules
    // when this system knows that zone (never stored).
    Rows<std::string> ZoneName;
    Rows<std::optional<ZoneRules>> Zone;

    // Display settings. Colours are decimal BGR text.
    std::string NameColor;
    std::string SummerColor;
    std::string WorkColor;
    std::string TimeColor;
    Value PicturePath;
    std::string Transparent;
    Value DateFormat;
    Value FieldHeight;
    Value FieldWidth;
    Value FontBold;
    Value FontItalic;
    Value FontName;
    Value FontSize;
    Value RowGap;
    // Display options, stored after the display file's 20 lines only when
    // there are any. AlwaysOnTop keeps both clock windows above every window
    // that is not itself on top; it takes effect when the clock next opens.
    bool AlwaysOnTop = false;
    // Every "key=value" option line as read, in order, our own included, so
    // that options of a later copy of the program survive a save here.
    std::vector<std::string> DisplayOptions;

    // Clock window settings (twips).
    Value FormState;
    Value WinTop;
    Value WinHeight;
    Value WinWidth;
    Value WinLeft;
    Value LayoutSwitch;

    // Process flags, never stored. RestartFlag is also the sink of every
    // section-title line a settings reader skips.
    Value RestartFlag;
    Value ClockLoaded;
    std::int16_t LoopIndex = 0;

    // Row-layout working positions (twips), never stored.
    Rows<double> NameLeft;
    Rows<double> NameTop;
    Rows<double> TimeLeft;
    Rows<double> TimeTop;
};

// The defaults that fill empty fields. The first-run set is applied once per
// process by the start-up window's first pass; the every-start set also by
// each restart. Each replaces only an empty value, in a fixed order.
void ResetSummerTime(SettingsModel& model);
void ApplyFirstRunDefaults(SettingsModel& model);
void ApplyEveryStartDefaults(SettingsModel& model);

// Stored values as the windows use them: text that is not a number (or, for
// PositiveOr, not above zero) counts as the fallback and never stops a load.
double NumberOr(const Value& value, double fallback);
double PositiveOr(const Value& value, double fallback);
std::uint32_t ColorOr(std::string_view text, std::uint32_t fallback);
// The labels' font size in points: the default outside 0 < size <= 1638.
double FontSizePoints(const SettingsModel& model);
// Transparent display: the stored flag is a number other than 0.
bool TransparentDisplay(const SettingsModel& model);

// Business hours to their "hh:mm" form, on all ten rows.
void FormatWorkStart(SettingsModel& model);
void FormatWorkEnd(SettingsModel& model);

}  // namespace qv
