// UTF-8 (the core's text) <-> UTF-16 (the windows' text).
#pragma once

#include <string>
#include <string_view>

namespace qv::win {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// A number in decimal digits (no printf machinery behind it).
std::wstring DecimalText(unsigned long value);

}  // namespace qv::win
