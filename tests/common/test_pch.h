// The Windows test programs' precompiled header: <windows.h>, GoogleTest and
// the standard headers most test files use, parsed once for all of them.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>
