// The column layout: every bound of the column rules, and the grid it gives.
#include "layout.h"
#include "settings_defaults.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(Layout, EveryColumnBoundAtAndOneTwipBelow) {
    for (double W : {1095.0, 1000.0, 1500.5}) {
        const double bounds[] = {2 * W + 450, 3 * W + 440, 4 * W + 540, 5 * W + 640, 6 * W + 740,
                                 7 * W + 840, 8 * W + 940, 9 * W + 1040, 10 * W + 1140};
        for (int k = 1; k <= 9; ++k) {
            const double bound = bounds[k - 1];
            EXPECT_EQ(ColumnCount(bound - 1, W), k) << "W " << W << " bound " << bound;
            EXPECT_EQ(ColumnCount(bound, W), k + 1) << "W " << W << " bound " << bound;
        }
        EXPECT_EQ(ColumnCount(1e9, W), 10);
        EXPECT_EQ(ColumnCount(0, W), 1);
    }
    // With the defaults: 2640, 3725 and 4920 start two, three and four columns.
    EXPECT_EQ(ColumnCount(2639, 1095), 1);
    EXPECT_EQ(ColumnCount(2640, 1095), 2);
    EXPECT_EQ(ColumnCount(3725, 1095), 3);
    EXPECT_EQ(ColumnCount(4920, 1095), 4);
    EXPECT_EQ(ColumnCount(1410, 1095), 1);
}

struct Grid : ::testing::Test {
    Grid() { ApplyEveryStartDefaults(model), model.RowGap = Value::Integer(75); }
    SettingsModel model;
};

TEST_F(Grid, PlacesFillRowsLeftToRightTopToBottom) {
    LayoutRows(model, 2640);  // two columns
    EXPECT_EQ(model.NameLeft[1], 240);
    EXPECT_EQ(model.NameTop[1], 75);
    EXPECT_EQ(model.TimeLeft[1], 240);
    EXPECT_EQ(model.TimeTop[1], 270);
    EXPECT_EQ(model.NameLeft[2], 240 + 1195);
    EXPECT_EQ(model.NameTop[2], 75);
    EXPECT_EQ(model.NameLeft[3], 240);
    EXPECT_EQ(model.NameTop[3], 75 + 450);
    EXPECT_EQ(model.TimeTop[3], 75 + 450 + 195);
    EXPECT_EQ(model.NameLeft[10], 240 + 1195);
    EXPECT_EQ(model.NameTop[10], 75 + 4 * 450);

    const int expectedRows[] = {10, 5, 4, 3, 2, 2, 2, 2, 2, 1};
    for (int k = 1; k <= 10; ++k) {
        LayoutRows(model, k == 1 ? 0 : (k) * 1095.0 + 240 + 100 * (k - 1) + (k == 2 ? 110 : 0));
        int rows = 0;
        for (int i = 1; i <= kPlaceCount; ++i) {
            EXPECT_EQ(model.NameLeft[i], model.TimeLeft[i]);
            EXPECT_EQ(model.NameLeft[i], 240 + ((i - 1) % k) * 1195.0) << k << ' ' << i;
            rows = std::max(rows, static_cast<int>((model.NameTop[i] - 75) / 450) + 1);
        }
        EXPECT_EQ(rows, expectedRows[k - 1]) << k;
        EXPECT_EQ(model.NameTop[1], 75);
        EXPECT_EQ(model.TimeTop[1], 270);
    }
}

TEST_F(Grid, RowGapZeroTouchesAndNegativeOverlaps) {
    model.RowGap = Value::Integer(0);
    LayoutRows(model, 1410);
    EXPECT_EQ(model.NameTop[2], model.TimeTop[1] + 180);
    model.RowGap = Value::Text(" -50 ");
    LayoutRows(model, 1410);
    EXPECT_EQ(model.NameTop[2], model.TimeTop[1] + 180 - 50);
    EXPECT_LT(model.NameTop[2], model.TimeTop[1] + 180);
}

TEST_F(Grid, SizesThatAreNotNumbersCountAsDefaults) {
    model.FieldWidth = Value::Text("wide");
    model.FieldHeight = Value::Text("?");
    model.RowGap = Value::Text("x");
    LayoutRows(model, 2640);
    EXPECT_EQ(model.NameLeft[2], 240 + 1195);
    EXPECT_EQ(model.NameTop[3], 75 + 450);
    EXPECT_EQ(model.TimeTop[3], 75 + 450 + 195);
    model.FieldWidth = Value::Text(" 2000 ");
    model.FieldHeight = Value::Text(" 300 ");
    LayoutRows(model, 2640);  // 2640 < 2 * 2000 + 450: one column
    EXPECT_EQ(model.NameLeft[2], 240);
    EXPECT_EQ(model.NameTop[2], 75 + 2 * 300 + 15 + 75);
}

// A field size of zero or less is no size: the grid uses the default, as the
// labels do (a width of 0 once stacked ten columns 100 twips apart).
TEST_F(Grid, SizesOfZeroOrLessCountAsDefaults) {
    for (const char* typed : {"0", " 0 ", "-1", "-1095", "0.0"}) {
        model.FieldWidth = Value::Text(typed);
        model.FieldHeight = Value::Text(typed);
        LayoutRows(model, 2640);
        EXPECT_EQ(model.NameLeft[2], 240 + 1195) << typed;
        EXPECT_EQ(model.NameTop[3], 75 + 450) << typed;
        EXPECT_EQ(FieldWidthInEffect(model.FieldWidth), defaults::kFieldWidth) << typed;
        EXPECT_EQ(FieldHeightInEffect(model.FieldHeight), defaults::kFieldHeight) << typed;
        EXPECT_EQ(model.FieldWidth, Value::Text(typed));  // the setting keeps the text as typed
    }
    model.FieldWidth = Value::Text("0.5");  // small but positive: taken as it is
    EXPECT_EQ(FieldWidthInEffect(model.FieldWidth), 0.5);
}

}  // namespace
}  // namespace qv
