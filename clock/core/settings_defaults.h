// The settings' defaults in one table: the first run, the every-start pass,
// the fallbacks of values that cannot be read and the dialogs all use these.
#pragma once

#include <cstdint>

namespace qv::defaults {

inline constexpr char kPlaceName[] = "日本";  // row 1 on the first run
inline constexpr char kFontName[] = "ＭＳ ゴシック";
inline constexpr char kFontSize[] = " 8 ";  // stored as text, as the font dialog writes it
inline constexpr double kFontSizePoints = 8;
inline constexpr int kFieldHeight = 180;  // twips
inline constexpr int kFieldWidth = 1095;
inline constexpr int kRowGap = 75;
inline constexpr char kDateFormat[] = "mm/dd hh:mm";
// Colours, BGR.
inline constexpr std::uint32_t kNameColor = 0;
inline constexpr std::uint32_t kTimeColor = 0;
inline constexpr std::uint32_t kSummerColor = 12648447;
inline constexpr std::uint32_t kWorkColor = 16711680;
inline constexpr char kTransparent[] = "0";
// The clock window's first-run size, twips.
inline constexpr int kWinHeight = 885;
inline constexpr int kWinWidth = 1410;

}  // namespace qv::defaults
