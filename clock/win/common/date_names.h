// The month and weekday names of the user's locale, for the format routine.
#pragma once

#include "date_format.h"

namespace qv::win {

// A locale's names (GetLocaleInfoW); a name the system does not give keeps
// the routine's English one.
DateNames DateNamesOf(unsigned long locale);
// The user's locale's names.
DateNames UserDateNames();

}  // namespace qv::win
