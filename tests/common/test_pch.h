// The test programs' precompiled header: GoogleTest, on Windows <windows.h>,
// and the standard headers most test files use, parsed once for all of them.
#ifdef _WIN32
#include <windows.h>
#endif

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
