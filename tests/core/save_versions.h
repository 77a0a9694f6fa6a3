// Two complete versions of every settings file, differing in length and in
// every value line, for the tests that kill a process while it saves (with
// SIGKILL on the host, with TerminateProcess on Windows).
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "settings_files.h"

namespace qv::test {

// Kills per file: QV_SAVE_KILL_TRIALS when set (script/save-faults runs
// hundreds), otherwise `fallback`.
inline int SaveKillTrials(int fallback) {
    const char* text = std::getenv("QV_SAVE_KILL_TRIALS");
    return text ? std::max(1, std::atoi(text)) : fallback;
}

using Writer = std::optional<SaveError> (*)(const SettingsModel&, const FilePath&);
using Bytes = std::string (*)(const SettingsModel&);

inline SettingsModel Version(int which) {
    SettingsModel m;
    ApplyFirstRunDefaults(m);
    ApplyEveryStartDefaults(m);
    for (int n = 1; n <= kPlaceCount; ++n) {
        m.PlaceName[n] = which ? "ロサンゼルス" + std::to_string(n) : "東京" + std::to_string(n * 1000);
        m.TimeDiff[n] = Value::Integer(static_cast<std::int16_t>(which ? -n : n));
        m.WorkStart[n] = Value::Text(which ? "08:30" : "9:00");
    }
    m.DateFormat = Value::Text(which ? "yyyy/mm/dd hh:mm:ss" : "hh:mm");
    m.FontName = Value::Text(which ? "ＭＳ Ｐゴシック" : "ＭＳ ゴシック");
    m.WinLeft = Value::Integer(static_cast<std::int16_t>(which ? -120 : 30000));
    m.WinTop = Value::Integer(static_cast<std::int16_t>(which ? 1200 : 7));
    m.LayoutSwitch = Value::Integer(static_cast<std::int16_t>(which));
    return m;
}

inline Writer WriterFor(const char* file) {
    if (!std::strcmp(file, "places")) return WritePlaces;
    if (!std::strcmp(file, "display")) return WriteDisplay;
    if (!std::strcmp(file, "window")) return WriteWindow;
    return nullptr;
}

inline Bytes BytesFor(const char* file) {
    if (!std::strcmp(file, "places")) return PlacesFileBytes;
    if (!std::strcmp(file, "display")) return DisplayFileBytes;
    if (!std::strcmp(file, "window")) return WindowFileBytes;
    return nullptr;
}

}  // namespace qv::test
