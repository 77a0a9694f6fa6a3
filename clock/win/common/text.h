// UTF-8 (the core's text) <-> UTF-16 (the windows' text).
#pragma once

#include <string>
#include <string_view>

namespace qv::win {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace qv::win
