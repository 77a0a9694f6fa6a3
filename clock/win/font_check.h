// Whether a font face can be used by the row labels.
#pragma once

#include <string>

namespace qv::win {

// False for an empty face, one longer than a LOGFONT holds (31 characters),
// or one that no installed family answers, directly or through the system's
// font substitutes.
bool FontFaceUsable(const std::wstring& face);

}  // namespace qv::win
