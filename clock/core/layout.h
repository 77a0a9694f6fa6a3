// The clock window's column layout: one to ten columns by the window's width.
#pragma once

#include "settings_model.h"

namespace qv {

// The field size the load and the layout use: the default when FieldWidth or
// FieldHeight is zero, negative or not a number (the settings keep the text
// as typed).
double FieldWidthInEffect(const Value& fieldWidth);
double FieldHeightInEffect(const Value& fieldHeight);

// Columns for an outer window width w and field width W (twips).
int ColumnCount(double windowWidth, double fieldWidth);

// Fills NameLeft/NameTop/TimeLeft/TimeTop of all ten places for the window's
// outer width, from the field sizes in effect and RowGap (its default when not
// a number; zero and negative gaps are kept).
void LayoutRows(SettingsModel& model, double windowWidth);

}  // namespace qv
