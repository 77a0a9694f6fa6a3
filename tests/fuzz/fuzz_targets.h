// The fuzzed entry points: the three settings readers with everything that
// consumes what they read, and the format routine. Shared by the libFuzzer
// programs and by the corpus replay test, so both run exactly the same code.
#pragma once

#include <string>
#include <string_view>

namespace qv::fuzz {

// Each returns an empty text when every check held, else what went wrong.
std::string PlacesFile(std::string_view bytes);
std::string DisplayFile(std::string_view bytes);
std::string WindowFile(std::string_view bytes);
// First byte picks how the value is held (text, number, integer, boolean);
// the rest is the value's text or bytes, a newline, then the picture.
std::string FormatValue(std::string_view bytes);
// Zone rules of any numbers: each state holds up to its end, which lies ahead.
std::string ZoneRulesBytes(std::string_view bytes);

}  // namespace qv::fuzz
