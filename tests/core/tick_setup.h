// A model and clock window rows with ten named places, as a busy clock has them.
#pragma once

#include <string>

#include "clock_tick.h"

namespace qv::test {

inline void TenNamedPlaces(SettingsModel& model, RowLabels& labels) {
    ResetSummerTime(model);
    ApplyFirstRunDefaults(model);
    const char* names[] = {"日本", "ロンドン", "ニューヨーク", "デリー", "シドニー", "パリ", "ホノルル", "サンパウロ", "ドバイ", "北京"};
    const char* diffs[] = {"", " -9 ", " -14 ", " -3.5 ", " 2 ", "-8", "-19", "-12", "-5", "-1"};
    for (int n = 1; n <= kPlaceCount; ++n) {
        const auto row = static_cast<std::size_t>(n - 1);
        model.PlaceName[n] = std::string(names[row]);
        labels.nameCaption[row] = model.PlaceName[n];
        model.TimeDiff[n] = Value::Text(diffs[row]);
        model.WorkStart[n] = Value::Text("09:00");
        model.WorkEnd[n] = Value::Text("17:30");
        model.SummerTime[n] = Value::Text(n % 2 ? " 0 " : " 1 ");
    }
}

}  // namespace qv::test
