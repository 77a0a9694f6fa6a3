// Business hours brought to the "hh:mm" form that the clock tick compares with.
#include "date_format.h"
#include "settings_model.h"

namespace qv {

void FormatWorkStart(SettingsModel& model) {
    for (Value& start : model.WorkStart) FormatInPlace(start, "hh:mm");
}

void FormatWorkEnd(SettingsModel& model) {
    for (Value& end : model.WorkEnd) FormatInPlace(end, "hh:mm");
}

}  // namespace qv
