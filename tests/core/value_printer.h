// How test failures show a Value: its kind and its text.
#pragma once

#include <ostream>

#include "value.h"

namespace qv {

inline void PrintTo(const Value& value, std::ostream* os) {
    static const char* const kKinds[] = {"Empty", "Text", "Integer", "Single", "Boolean"};
    *os << kKinds[static_cast<int>(value.kind())] << " [" << value.ToText() << ']';
}

}  // namespace qv
