// File paths as the system spells them (UTF-16 on Windows, bytes elsewhere)
// and the few file operations the settings need: no <filesystem>, whose
// locale machinery would be most of the program's size.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

#ifdef _WIN32
using PathChar = wchar_t;
inline constexpr PathChar kPathSeparator = L'\\';
#else
using PathChar = char;
inline constexpr PathChar kPathSeparator = '/';
#endif
using FilePath = std::basic_string<PathChar>;

// folder, a separator unless it ends in one, then name.
FilePath JoinPath(const FilePath& folder, std::basic_string_view<PathChar> name);
#ifdef _WIN32
// The same with an ASCII name ("STEI.QV").
FilePath JoinPath(const FilePath& folder, std::string_view asciiName);
#endif
// Everything before the last separator; the path itself when it has none.
FilePath ParentFolder(const FilePath& path);

// The size of a regular file; nothing for a missing file or a folder.
std::optional<std::uint64_t> RegularFileSize(const FilePath& file);
// fopen in binary mode, by the system's own spelling of the path.
std::FILE* OpenFile(const FilePath& file, const char* mode);

}  // namespace qv
