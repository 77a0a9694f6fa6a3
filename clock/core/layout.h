// The clock window's column layout: one to ten columns by the window's width.
#pragma once

#include "settings_model.h"

namespace qv {

// Columns for an outer window width w and field width W (twips).
int ColumnCount(double windowWidth, double fieldWidth);

// Fills NameLeft/NameTop/TimeLeft/TimeTop of all ten places for the window's
// outer width, from FieldWidth, FieldHeight and RowGap (each counting as its
// default when not a number).
void LayoutRows(SettingsModel& model, double windowWidth);

}  // namespace qv
