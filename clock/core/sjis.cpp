// Shift-JIS (code page 932) <-> UTF-8 through the generated tables.
#include "sjis.h"

#include <algorithm>
#include <cstdint>

#include "sjis_table.h"

namespace qv {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

std::size_t LeadIndex(unsigned char b) { return b <= 0x9F ? b - 0x81u : b - 0xE0u + 31u; }

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// One code point from UTF-8 at text[i], advancing i; U+FFFD for a malformed,
// overlong or surrogate sequence (consuming one byte).
char32_t NextUtf8(std::string_view text, std::size_t& i) {
    auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int length = b0 >= 0xF0 && b0 <= 0xF4 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC2 && b0 < 0xE0 ? 2 : 0;
    if (length == 0 || i + length > text.size()) {
        ++i;
        return kReplacement;
    }
    char32_t c = length == 2 ? (b0 & 0x1F) : length == 3 ? (b0 & 0x0F) : (b0 & 0x07);
    for (int k = 1; k < length; ++k) {
        auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        c = (c << 6) | (b & 0x3F);
    }
    bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        ++i;
        return kReplacement;
    }
    i += static_cast<std::size_t>(length);
    return c;
}

// The code page 932 form of a character (one or two bytes), or -1.
int SjisOf(char32_t c) {
    if (c < 0x80) return static_cast<int>(c);
    const auto* end = sjis::kEncode + sjis::kEncodeCount;
    const auto* hit = c > 0xFFFF ? end : std::lower_bound(sjis::kEncode, end, c, [](const sjis::EncodePair& p, char32_t u) {
        return p.unicode < u;
    });
    return hit == end || hit->unicode != c ? -1 : hit->sjis;
}

}  // namespace

std::string SjisToUtf8(std::string_view sjis) {
    std::string out;
    out.reserve(sjis.size() + sjis.size() / 2);
    for (std::size_t i = 0; i < sjis.size();) {
        auto b = static_cast<unsigned char>(sjis[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
        } else if (IsLead(b)) {
            if (i + 1 < sjis.size() && IsTrail(static_cast<unsigned char>(sjis[i + 1]))) {
                auto trail = static_cast<unsigned char>(sjis[i + 1]);
                std::uint16_t c = sjis::kDouble[LeadIndex(b) * sjis::kTrailCount + (trail - 0x40u)];
                AppendUtf8(out, c ? c : kReplacement);
                i += 2;
            } else {
                // A lead byte without its trail: the next byte starts afresh.
                AppendUtf8(out, kReplacement);
                ++i;
            }
        } else {
            std::uint16_t c = sjis::kSingle[b];
            AppendUtf8(out, c ? c : kReplacement);
            ++i;
        }
    }
    return out;
}

std::string Utf8ToSjis(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const int code = SjisOf(NextUtf8(utf8, i));
        if (code < 0) {
            out.push_back('?');
        } else if (code < 0x100) {
            out.push_back(static_cast<char>(code));
        } else {
            out.push_back(static_cast<char>(code >> 8));
            out.push_back(static_cast<char>(code & 0xFF));
        }
    }
    return out;
}

std::string CharactersWithoutSjis(std::string_view utf8) {
    std::string found;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = NextUtf8(utf8, i);
        if (SjisOf(c) >= 0) continue;
        std::string one;
        AppendUtf8(one, c);
        if (found.find(one) == std::string::npos) found += one;
    }
    return found;
}

bool IsWellFormedUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t at = i;
        const char32_t c = NextUtf8(bytes, i);
        if (c != kReplacement || i - at == 3) continue;  // a real U+FFFD takes three bytes
        // Malformed, unless it is a well-formed start cut off by the end.
        auto b0 = static_cast<unsigned char>(bytes[at]);
        std::size_t length = b0 >= 0xF0 && b0 <= 0xF4 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC2 && b0 < 0xE0 ? 2 : 0;
        if (length == 0 || at + length <= bytes.size()) return false;
        for (std::size_t k = at + 1; k < bytes.size(); ++k) {
            if ((static_cast<unsigned char>(bytes[k]) & 0xC0) != 0x80) return false;
        }
        return true;
    }
    return true;
}

std::string Utf8Cleaned(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) AppendUtf8(out, NextUtf8(bytes, i));
    return out;
}

}  // namespace qv
