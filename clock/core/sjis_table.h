// The generated code page 932 tables behind the Shift-JIS codec (sjis_table.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv::sjis {

inline constexpr std::size_t kLeadCount = 60;      // 0x81-0x9F and 0xE0-0xFC
inline constexpr std::size_t kTrailCount = 189;    // 0x40-0xFC
inline constexpr std::size_t kEncodeCount = 9280;

struct EncodePair {
    std::uint16_t unicode;
    std::uint16_t sjis;  // one byte when below 0x100
};

extern const std::uint16_t kSingle[256];
extern const std::uint16_t kDouble[kLeadCount * kTrailCount];
extern const EncodePair kEncode[kEncodeCount];

}  // namespace qv::sjis
