// The fuzzed entry points: read a settings file from bytes and run it through
// the start-up defaults, the tick and the layout, as the program would; format
// any value by any picture. Checks what must hold for every input.
#include "fuzz_targets.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "clock_tick.h"
#include "date_format.h"
#include "display_options.h"
#include "layout.h"
#include "settings_files.h"
#include "settings_model.h"
#include "value.h"
#include "fake_clock.h"
#include "zone_places.h"
#include "zone_samples.h"

namespace qv::fuzz {

namespace {

std::size_t CountLines(std::string_view bytes) {
    std::size_t lines = 0;
    for (std::size_t at = bytes.find("\r\n"); at != std::string_view::npos; at = bytes.find("\r\n", at + 2)) ++lines;
    return lines;
}

// What start-up does with the files, then one tick and the layout at the
// window's stored width and at the extremes.
void RunAsStartUp(SettingsModel& model) {
    ApplyZones(model, test::SampleZones());
    ApplyFirstRunDefaults(model);
    ApplyEveryStartDefaults(model);
    FormatWorkStart(model);
    FormatWorkEnd(model);
    RowLabels labels;
    for (int n = 1; n <= kPlaceCount; ++n) labels.nameCaption[static_cast<std::size_t>(n - 1)] = model.PlaceName[n];
    test::FakeClock clock({2026, 12, 7, 23, 59, 59});
    ClockTick(model, clock, labels);
    ClockTick(model, clock, labels);
    (void)SecondsUntilTickChanges(model, labels, clock.Now(), 60);
    StampZoneOffsets(model, clock.Now(), clock.UtcNow());
    for (double width : {model.WinWidth.ToNumberOr(0), 0.0, -1e300, 1e300, 1410.0}) LayoutRows(model, width);
    (void)ColorFromText(model.NameColor);
    (void)ColorFromText(model.TimeColor);
    (void)model.FontSize.ToNumber();
    (void)model.FontBold.ToBoolean();
    (void)model.LayoutSwitch.Equals(0);
}

using Reader = void (*)(SettingsModel&, std::string_view);
using Writer = std::string (*)(const SettingsModel&);

// `lines`: the written file's fixed length; `longer` to `longest`, that of a
// file with its optional last section (0: none).
std::string CheckFile(std::string_view bytes, Reader read, Writer write, std::size_t lines, std::size_t longer = 0,
                      std::size_t longest = 0) {
    // Whatever was read writes back as a file of the fixed length, and that
    // file reads back to the same bytes: a save never loses what a read kept.
    SettingsModel first;
    read(first, bytes);
    std::string written = write(first);
    const std::size_t count = CountLines(written);
    if (count != lines && (longer == 0 || count < longer || count > std::max(longer, longest)))
        return "the written file does not have its fixed number of lines";
    SettingsModel second;
    read(second, written);
    if (write(second) != written) return "a written file does not read back to itself";
    if (second.AlwaysOnTop != first.AlwaysOnTop) return "always on top changed through a save";

    SettingsModel model;
    ResetSummerTime(model);
    read(model, bytes);
    RunAsStartUp(model);
    return {};
}

}  // namespace

std::string PlacesFile(std::string_view bytes) { return CheckFile(bytes, ReadPlacesFrom, PlacesFileBytes, 55, 66); }
// The options: their title and 1 to 20 lines.
std::string DisplayFile(std::string_view bytes) {
    return CheckFile(bytes, ReadDisplayFrom, DisplayFileBytes, 20, 22, 21 + kMaxDisplayOptionLines);
}
std::string WindowFile(std::string_view bytes) { return CheckFile(bytes, ReadWindowFrom, WindowFileBytes, 9); }

std::string ZoneRulesBytes(std::string_view bytes) {
    // Two rule years of any numbers at all, as a damaged registry could hold.
    ZoneRules rules;
    rules.firstYear = 2000 + static_cast<int>(bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % 40);
    std::size_t at = bytes.empty() ? 0 : 1;
    auto next = [&]() {
        std::int16_t field = 0;
        if (at + 2 <= bytes.size()) std::memcpy(&field, bytes.data() + at, 2);
        at += 2;
        return static_cast<int>(field);
    };
    for (int year = 0; year < 2; ++year) {
        ZoneYearRule r;
        r.bias = next() % 1440;
        r.standardBias = next() % 120;
        r.daylightBias = next() % 120;
        for (ZoneChange* c : {&r.standardDate, &r.daylightDate}) {
            c->month = next() % 14;
            c->weekday = next() % 8;
            c->day = next() % 7;
            c->hour = next() % 25;
            c->millisecond = next() % 1000;
        }
        rules.years.push_back(r);
    }
    const UtcMillis start = ToUtcMillis({rules.firstYear, 1 + (next() & 0x7fff) % 12, 1, 0, 0, 0});
    UtcMillis t = start;
    for (int step = 0; step < 8; ++step) {
        const ZoneState state = ZoneStateAt(rules, t);
        if (state.until <= t) return "a zone state ends before it begins";
        const ZoneState before = ZoneStateAt(rules, state.until - 1);
        if (before.offsetMinutes != state.offsetMinutes || before.summer != state.summer) return "a zone changed before its state's end";
        t = state.until;
    }
    return {};
}

std::string FormatValue(std::string_view bytes) {
    if (bytes.empty()) return {};
    char how = bytes[0];
    bytes.remove_prefix(1);
    std::size_t split = bytes.find('\n');
    std::string_view held = bytes.substr(0, split);
    std::string_view picture = split == std::string_view::npos ? std::string_view{} : bytes.substr(split + 1);

    Value value;
    switch (static_cast<unsigned char>(how) % 4) {
    case 0: value = Value::Text(std::string(held)); break;
    case 1: {
        double number = 0;
        std::memcpy(&number, held.data(), std::min(held.size(), sizeof number));
        value = Value::Single(static_cast<float>(number));
        if (held.size() >= sizeof number && InDateRange(number)) {
            // The tick's path: a buffer already holding other text is reused.
            std::string reused(held);
            FormatDateInto(reused, number, picture);
            if (reused != FormatDate(number, picture)) return "formatting into a used buffer differs from a fresh one";
        }
        break;
    }
    case 2: {
        std::int16_t number = 0;
        std::memcpy(&number, held.data(), std::min(held.size(), sizeof number));
        value = Value::Integer(number);
        break;
    }
    default: value = Value::Boolean(!held.empty()); break;
    }
    std::string text = Format(value, picture);
    // Every picture element yields a few characters at most; a text that is
    // no date comes back as itself.
    if (text.size() > held.size() + 64 * (picture.size() + 1)) return "the formatted text is out of all proportion to the picture";
    if (Format(Value::Text(""), picture) != "") return "empty text did not format to empty text";
    (void)ParseDateTime(held);
    return {};
}

}  // namespace qv::fuzz
