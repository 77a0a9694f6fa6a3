// The display options: which lines are options, what "最前面" says, and the
// lines written back.
#include "display_options.h"

#include <algorithm>

namespace qv {

namespace {

constexpr std::string_view kAlwaysOnTopLine = "最前面=1";

bool IsAlwaysOnTopLine(std::string_view line) {
    return line.starts_with(kAlwaysOnTopKey) && line.substr(kAlwaysOnTopKey.size()).starts_with('=');
}

// What the lines say: the first "最前面=" line counts, and only "1" is on.
bool StoredAlwaysOnTop(const std::vector<std::string>& lines) {
    auto own = std::find_if(lines.begin(), lines.end(), IsAlwaysOnTopLine);
    return own != lines.end() && *own == kAlwaysOnTopLine;
}

}  // namespace

void TakeDisplayOptions(SettingsModel& model, const std::vector<std::string>& lines) {
    model.DisplayOptions.clear();
    for (const std::string& line : lines) {
        if (line.find('=') != std::string::npos) model.DisplayOptions.push_back(line);
    }
    model.AlwaysOnTop = StoredAlwaysOnTop(model.DisplayOptions);
}

std::vector<std::string> DisplayOptionLines(const SettingsModel& model) {
    std::vector<std::string> lines = model.DisplayOptions;
    if (StoredAlwaysOnTop(lines) == model.AlwaysOnTop) return lines;
    if (model.AlwaysOnTop) {
        // Our key first, where it was (its old value was off) or at the top;
        // the file keeps to the lines a reader takes.
        auto own = std::find_if(lines.begin(), lines.end(), IsAlwaysOnTopLine);
        if (own != lines.end()) {
            *own = kAlwaysOnTopLine;
        } else {
            lines.insert(lines.begin(), std::string(kAlwaysOnTopLine));
            if (lines.size() > kMaxDisplayOptionLines) lines.resize(kMaxDisplayOptionLines);
        }
    } else {
        // Off is stored by leaving our key out: a later "最前面=1" must not
        // become the first and switch it on again.
        std::erase_if(lines, IsAlwaysOnTopLine);
    }
    return lines;
}

}  // namespace qv
