// The display file's options: after its 20 lines, only when there are any, the
// title "表示オプション" and up to 20 "key=value" lines. "最前面=1" is always
// on top; any other key belongs to some other copy of the program and is kept.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings_model.h"

namespace qv {

inline constexpr std::string_view kDisplayOptionsTitle = "表示オプション";
inline constexpr std::string_view kAlwaysOnTopKey = "最前面";
// Option lines a reader takes after the title; the rest of the file is no
// concern of this program.
inline constexpr std::size_t kMaxDisplayOptionLines = 20;

// The option lines read after the title go into the model: lines without '='
// are dropped, the others kept in order; of keys given twice the first counts.
// Always on top only for exactly "1": junk, an empty or another value is off.
void TakeDisplayOptions(SettingsModel& model, const std::vector<std::string>& lines);

// The option lines to write after the title, none when the file is to end at
// its 20th line: the lines as read, with our own key brought in line with
// AlwaysOnTop when the user changed it.
std::vector<std::string> DisplayOptionLines(const SettingsModel& model);

}  // namespace qv
