// Replacing a file's contents as one step, with the standard library (the
// host build; Windows builds use clock/win/common/file_replace_win.cpp).
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "settings_files.h"

namespace qv {

namespace fs = std::filesystem;

namespace {

std::string ErrnoText(int error, const char* fallback) {
    return error ? std::generic_category().message(error) : fallback;
}

}  // namespace

std::optional<SaveError> ReplaceFileContents(const FilePath& file, std::string_view bytes) {
    fs::path temp = file;
    temp += ".tmp";
    std::error_code ignored;
    {
        errno = 0;
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return SaveError{file, ErrnoText(errno, "the file could not be created")};
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        out.close();
        if (!out) {
            int error = errno;
            fs::remove(temp, ignored);
            return SaveError{file, ErrnoText(error, "the file could not be written")};
        }
    }
    std::error_code ec;
    fs::rename(temp, file, ec);  // rename(2): atomic over an existing file
    if (ec) {
        fs::remove(temp, ignored);
        return SaveError{file, ec.message()};
    }
    return std::nullopt;
}

}  // namespace qv
