// Replacing a file's contents as one step on Windows: a temporary file written
// through to the disk, then MoveFileExW over the old one; a failure carries the
// system's own message, in the user's language. Windows builds hand it to the
// core at link time; the core itself has no Windows source.
#include <windows.h>

#include "settings_files.h"
#include "handles.h"

namespace qv {

namespace {

std::string Utf8(std::wstring_view text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::string SystemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    return text.empty() ? "Windows error " + std::to_string(code) : Utf8(text);
}

// Whether another program has the file open without letting it be replaced.
bool HeldElsewhere(const FilePath& file) {
    win::UniqueFile probe(CreateFileW(file.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !probe && GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace

std::optional<SaveError> ReplaceFileContents(const FilePath& file, std::string_view bytes) {
    const FilePath temp = file + L".tmp";
    {
        win::UniqueFile out(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out) return SaveError{file, SystemMessage(GetLastError())};
        DWORD written = 0;
        bool ok = WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size() && FlushFileBuffers(out.get());
        if (!ok) {
            DWORD error = GetLastError();
            out.reset();
            DeleteFileW(temp.c_str());
            return SaveError{file, SystemMessage(error)};
        }
    }
    if (!MoveFileExW(temp.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD error = GetLastError();
        DeleteFileW(temp.c_str());
        // A file held open by another program reads as "access denied", like
        // a folder without rights; the user needs to know which it is.
        if (error == ERROR_ACCESS_DENIED && HeldElsewhere(file)) error = ERROR_SHARING_VIOLATION;
        return SaveError{file, SystemMessage(error)};
    }
    return std::nullopt;
}

}  // namespace qv
