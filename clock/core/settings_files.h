// The three settings files next to the program: places "STEI.QV", display
// "STEI1.QV" and window "STEI2.QV". Line-positional, Shift-JIS, CR LF. The
// places file has 55 lines, and 11 more (the title "タイムゾーン" and one zone
// key name a place) only when a place follows a zone; the display file has 20,
// and its options after them only when there are any (display_options.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "file_path.h"
#include "settings_model.h"

namespace qv {

inline constexpr char kPlacesFile[] = "STEI.QV";
inline constexpr char kDisplayFile[] = "STEI1.QV";
inline constexpr char kWindowFile[] = "STEI2.QV";

// A save that did not happen; the old file is still there, unchanged.
struct SaveError {
    FilePath file;
    std::string reason;  // the system's words, UTF-8
};

// Readers: a file an editor saved as UTF-8 (with a byte-order mark, or
// well-formed UTF-8 holding a non-ASCII byte) is read as UTF-8, any other as
// Shift-JIS; the writers always write Shift-JIS.
// A missing, short or unreadable file stops the read silently; the
// fields not reached keep their values. Title lines land in RestartFlag.
void ReadPlaces(SettingsModel& model, const FilePath& folder);
void ReadDisplay(SettingsModel& model, const FilePath& folder);
void ReadWindow(SettingsModel& model, const FilePath& folder);

// The same readers over a file's bytes already in memory (tests, fuzzing).
void ReadPlacesFrom(SettingsModel& model, std::string_view bytes);
void ReadDisplayFrom(SettingsModel& model, std::string_view bytes);
void ReadWindowFrom(SettingsModel& model, std::string_view bytes);

// The bytes each writer puts in its file.
std::string PlacesFileBytes(const SettingsModel& model);
std::string DisplayFileBytes(const SettingsModel& model);
std::string WindowFileBytes(const SettingsModel& model);

// Writers: the whole file or nothing (a temporary file, then an atomic replace).
[[nodiscard]] std::optional<SaveError> WritePlaces(const SettingsModel& model, const FilePath& folder);
[[nodiscard]] std::optional<SaveError> WriteDisplay(const SettingsModel& model, const FilePath& folder);
[[nodiscard]] std::optional<SaveError> WriteWindow(const SettingsModel& model, const FilePath& folder);

// Replaces a file's contents with bytes as one step: a temporary file in the
// same folder, then an atomic rename over the old one. On failure the old file
// is untouched and the error names the file.
[[nodiscard]] std::optional<SaveError> ReplaceFileContents(const FilePath& file, std::string_view bytes);

}  // namespace qv
