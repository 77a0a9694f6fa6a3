// A fresh folder under the temporary directory for one test, removed with
// what it holds at the end; and whole files read and written as bytes. For the
// host's tests and the Windows ones alike.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace qv::test {

class TempFolder {
public:
    // The name is `stem` and a random number. The default stem is not ASCII,
    // as a Japanese user's program folder may well not be.
    explicit TempFolder(std::filesystem::path stem = std::filesystem::path(u8"QV 時計テスト ")) {
        std::random_device random;
        stem += std::to_string(random());
        path_ = std::filesystem::temp_directory_path() / stem;
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const char* name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline std::string ReadAllBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAllBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace qv::test
