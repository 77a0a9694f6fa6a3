// The clock window's grid: how many columns fit, and where each place's two
// labels stand.
#include "layout.h"

#include "settings_defaults.h"

namespace qv {

namespace {

constexpr double kLeftMargin = 240;
constexpr double kTopMargin = 75;
constexpr double kNameToTime = 15;
constexpr double kColumnGap = 100;

}  // namespace

double FieldWidthInEffect(const Value& fieldWidth) { return PositiveOr(fieldWidth, defaults::kFieldWidth); }
double FieldHeightInEffect(const Value& fieldHeight) { return PositiveOr(fieldHeight, defaults::kFieldHeight); }

int ColumnCount(double windowWidth, double fieldWidth) {
    // One column lasts 110 twips longer than the pattern of the others gives.
    if (windowWidth < 2 * fieldWidth + kLeftMargin + 210) return 1;
    // k columns until the window is as wide as k + 1 fields and k gaps need.
    for (int k = 2; k <= 9; ++k) {
        if (windowWidth < (k + 1) * fieldWidth + kLeftMargin + kColumnGap * k) return k;
    }
    return 10;
}

void LayoutRows(SettingsModel& model, double windowWidth) {
    const double W = FieldWidthInEffect(model.FieldWidth);
    const double H = FieldHeightInEffect(model.FieldHeight);
    const double G = NumberOr(model.RowGap, defaults::kRowGap);
    const int columns = ColumnCount(windowWidth, W);
    for (int i = 1; i <= kPlaceCount; ++i) {
        const int row = (i - 1) / columns;
        const int column = (i - 1) % columns;
        model.NameLeft[i] = kLeftMargin + column * (W + kColumnGap);
        model.NameTop[i] = kTopMargin + row * (2 * H + kNameToTime + G);
        model.TimeLeft[i] = model.NameLeft[i];
        model.TimeTop[i] = model.NameTop[i] + H + kNameToTime;
    }
}

}  // namespace qv
