// Shift-JIS (code page 932) <-> UTF-8, the same on every system.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// Invalid or unmapped bytes become U+FFFD; never fails.
std::string SjisToUtf8(std::string_view sjis);
// Characters without a code page 932 form become '?'.
std::string Utf8ToSjis(std::string_view utf8);

// The characters of a UTF-8 text that Utf8ToSjis turns into '?', each once,
// in the order they first appear (UTF-8). Empty when the text can be stored.
std::string CharactersWithoutSjis(std::string_view utf8);

// Bytes that are well-formed UTF-8 throughout. A sequence cut off by the end
// of the bytes counts as well-formed: a reader may stop part-way into a file.
bool IsWellFormedUtf8(std::string_view bytes);
// UTF-8 bytes as text, each malformed sequence as U+FFFD.
std::string Utf8Cleaned(std::string_view bytes);

}  // namespace qv
