// The platform's common dialogs as the settings windows' choosers, and the
// conversion of a chooser-control filter ("name|pattern|") to the open
// dialog's form (name NUL pattern NUL NUL).
#pragma once

#include <string>
#include <string_view>

#include "choosers.h"

namespace qv::win {

std::wstring OpenFileFilter(std::wstring_view filter);

}  // namespace qv::win
