// Settings files as the Windows tests see them: lines of UTF-8 text, stored
// as the program stores them, in code page 932 with CR LF after every line.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace qv::win::test {

// Text in one code page as text in another, through UTF-16.
inline std::string Recode(const std::string& text, UINT from, UINT to) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    n = WideCharToMultiByte(to, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(to, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

inline std::string Sjis(const std::string& utf8) { return Recode(utf8, CP_UTF8, 932); }

inline void WriteSettingsFile(const std::filesystem::path& file, const std::vector<std::string>& utf8Lines) {
    std::string bytes;
    for (const auto& line : utf8Lines) bytes += Sjis(line) + "\r\n";
    qv::test::WriteAllBytes(file, bytes);
}

inline std::vector<std::string> ReadSettingsFile(const std::filesystem::path& file) {
    const std::string text = Recode(qv::test::ReadAllBytes(file), 932, CP_UTF8);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));  // an unterminated last line
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace qv::win::test
