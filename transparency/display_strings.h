// The display strings of TransMode and LayeredFlag, shown by property browsers
// and listed on the property page; each begins with its value.
#pragma once

#include <array>

namespace vitrel {

inline constexpr std::array<const wchar_t*, 5> kTransModeStrings = {
    L"0 - \u7121\u52b9",                                  // 0 - 無効
    L"1 - \u900f\u904e(Client)",                          // 1 - 透過(Client)
    L"2 - \u58c1\u7d19\u900f\u904e(Client)",              // 2 - 壁紙透過(Client)
    L"3 - \u900f\u904e(Window)",                          // 3 - 透過(Window)
    L"4 - \uff9a\uff72\uff94\uff70\uff84\uff9e\uff73\uff68\uff9d\uff84\uff9e\uff73",  // 4 - ﾚｲﾔｰﾄﾞｳｨﾝﾄﾞｳ
};

inline constexpr std::array<const wchar_t*, 2> kLayeredFlagStrings = {
    L"0 - COLORKEY",
    L"1 - ALPHA",
};

}  // namespace vitrel
