// UTF-8 (the core's text) <-> UTF-16 (the windows' text), and text handed
// out through COM.
#pragma once

#include <string>
#include <string_view>

namespace qv::win {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// A number in decimal digits (no printf machinery behind it).
std::wstring DecimalText(unsigned long value);
// A copy in CoTaskMemAlloc memory, ended by a null, for an out-parameter that
// its caller frees with CoTaskMemFree; null when there was no memory.
wchar_t* CoTaskCopy(std::wstring_view text);
// A BSTR copy into *out for an out-parameter: S_OK, E_POINTER for no out,
// E_OUTOFMEMORY.
long BstrCopy(std::wstring_view text, wchar_t** out);

}  // namespace qv::win
