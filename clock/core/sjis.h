// Shift-JIS (code page 932) <-> UTF-8, the same on every system.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// Invalid or unmapped bytes become U+FFFD; never fails.
std::string SjisToUtf8(std::string_view sjis);
// Characters without a code page 932 form become '?'.
std::string Utf8ToSjis(std::string_view utf8);

}  // namespace qv
