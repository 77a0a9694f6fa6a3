// Paths joined by hand and files opened through the C runtime.
#include "file_path.h"

#include <sys/stat.h>

namespace qv {

namespace {

bool EndsInSeparator(const FilePath& path) {
    return !path.empty() && (path.back() == kPathSeparator || path.back() == PathChar('/'));
}

}  // namespace

FilePath JoinPath(const FilePath& folder, std::basic_string_view<PathChar> name) {
    FilePath path = folder;
    if (!path.empty() && !EndsInSeparator(path)) path.push_back(kPathSeparator);
    path.append(name);
    return path;
}

#ifdef _WIN32
FilePath JoinPath(const FilePath& folder, std::string_view asciiName) {
    return JoinPath(folder, FilePath(asciiName.begin(), asciiName.end()));
}
#endif

FilePath ParentFolder(const FilePath& path) {
    const auto last = path.find_last_of(
#ifdef _WIN32
        L"\\/"
#else
        "/"
#endif
    );
    return last == FilePath::npos ? path : path.substr(0, last);
}

std::optional<std::uint64_t> RegularFileSize(const FilePath& file) {
#ifdef _WIN32
    struct _stat64 status;
    if (_wstat64(file.c_str(), &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG) return std::nullopt;
#else
    struct stat status;
    if (stat(file.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
#endif
    return static_cast<std::uint64_t>(status.st_size);
}

std::FILE* OpenFile(const FilePath& file, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(file.c_str(), wideMode.c_str());
#else
    return std::fopen(file.c_str(), mode);
#endif
}

}  // namespace qv
