// The three settings files: line tables, the readers and the atomic writers.
#include "settings_files.h"

#include <algorithm>
#include <string_view>
#include <system_error>

#include "display_options.h"
#include "sjis.h"

namespace qv {

namespace {

// A settings file is a few hundred bytes; anything past this is never a line
// the readers reach, and is not read into memory.
constexpr std::size_t kMaxReadBytes = 64u << 20;

// Each file's lines in order: titles and model fields. One table drives both
// the reader and the writer, so the two cannot drift apart.
template <class Model, class Visitor>
void VisitPlaces(Model& m, Visitor&& v) {
    v.Title("名称");
    for (auto& name : m.PlaceName) v.Field(name);
    v.Title("時差");
    for (auto& diff : m.TimeDiff) v.Field(diff);
    v.Title("始業時間");
    for (auto& start : m.WorkStart) v.Field(start);
    v.Title("終業時間");
    for (auto& end : m.WorkEnd) v.Field(end);
    v.Title("サマータイム情報");
    for (auto& summer : m.SummerTime) v.Field(summer);
    v.Zones(m.ZoneName);
}

template <class Model, class Visitor>
void VisitDisplay(Model& m, Visitor&& v) {
    v.Title("色");
    v.Field(m.NameColor);
    v.Field(m.SummerColor);
    v.Field(m.WorkColor);
    v.Field(m.TimeColor);
    v.Title("フォームピクチャー");
    v.Field(m.PicturePath);
    v.Title("透明かどうか");
    v.Field(m.Transparent);
    v.Title("日時表示形式");
    v.Field(m.DateFormat);
    v.Title("表示内容寸法");
    v.Field(m.FieldHeight);
    v.Field(m.FieldWidth);
    v.Title("フォント情報");
    v.Field(m.FontBold);
    v.Field(m.FontItalic);
    v.Field(m.FontName);
    v.Field(m.FontSize);
    v.Field(m.RowGap);
    v.Options(m);
}

template <class Model, class Visitor>
void VisitWindow(Model& m, Visitor&& v) {
    v.Title("フォーム情報");
    v.Field(m.FormState);
    v.Title("位置サイズ情報");
    v.Field(m.WinTop);
    v.Field(m.WinHeight);
    v.Field(m.WinWidth);
    v.Field(m.WinLeft);
    v.Title("フォーム切替情報");
    v.Field(m.LayoutSwitch);
}

// The leading bytes of a regular file that hold its first `lines` lines (a
// little more at most); nothing when it is missing, a folder or unreadable.
// A damaged file may be huge; what lies past the last line a reader takes is
// never read into memory.
std::optional<std::string> ReadBytes(const FilePath& file, std::size_t lines) {
    const auto size = RegularFileSize(file);
    if (!size) return std::nullopt;
    std::FILE* in = OpenFile(file, "rb");
    if (!in) return std::nullopt;
    std::string bytes;
    // One allocation for the whole file, not a chain of growing copies.
    bytes.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(*size, kMaxReadBytes)));
    std::size_t breaks = 0;
    char previous = '\0';
    char chunk[16384];
    std::size_t got = 0;
    while (breaks < lines && bytes.size() < kMaxReadBytes && (got = std::fread(chunk, 1, sizeof chunk, in)) > 0) {
        // Line ends as the reader splits them: CR LF, a lone CR, a lone LF.
        for (std::size_t i = 0; i < got; ++i) {
            char c = chunk[i];
            if (c == '\r' || (c == '\n' && previous != '\r')) ++breaks;
            previous = c;
        }
        bytes.append(chunk, got);
    }
    std::fclose(in);
    return bytes;
}

// Lines end at CR LF, and also at a lone CR or a lone LF; a last line without
// a break still counts.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : rest_(bytes) {}

    bool Next(std::string_view& line) {
        if (rest_.empty()) return false;
        std::size_t end = rest_.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            line = rest_;
            rest_ = {};
            return true;
        }
        line = rest_.substr(0, end);
        std::size_t skip = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n' ? 2 : 1;
        rest_.remove_prefix(end + skip);
        return true;
    }

private:
    std::string_view rest_;
};

constexpr std::string_view kZoneTitle = "タイムゾーン";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// A file saved by an editor as UTF-8: it starts with the byte-order mark, or
// it is well-formed UTF-8 throughout and holds a non-ASCII byte (a Shift-JIS
// file with its Japanese titles never is). Decided once, for the whole file.
bool IsUtf8File(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) return true;
    const bool nonAscii = std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return nonAscii && IsWellFormedUtf8(bytes);
}

class FileReader {
public:
    FileReader(SettingsModel& model, std::string_view bytes)
        : model_(model), utf8_(IsUtf8File(bytes)), lines_(bytes.substr(bytes.starts_with(kUtf8Mark) ? kUtf8Mark.size() : 0)) {}

    void Title(const char*) {
        if (Take()) model_.RestartFlag = Value::Text(Decoded());
    }
    void Field(std::string& text) {
        if (Take()) text = Decoded();
    }
    void Field(Value& value) {
        if (Take()) value = Value::Text(Decoded());
    }
    // The zone section after the 55 lines, only under its exact title; what
    // else follows them is no concern of this program. A missing name is no zone.
    void Zones(Rows<std::string>& names) {
        for (auto& name : names) name.clear();
        if (!Take() || Decoded() != kZoneTitle) return;
        for (auto& name : names) {
            if (Take()) name = Decoded();
        }
    }
    // The options after the display file's 20 lines, likewise only under
    // their exact title; without them every option is off.
    void Options(SettingsModel& model) {
        std::vector<std::string> lines;
        if (Take() && Decoded() == kDisplayOptionsTitle) {
            while (lines.size() < kMaxDisplayOptionLines && Take()) lines.push_back(Decoded());
        }
        TakeDisplayOptions(model, lines);
    }

private:
    std::string Decoded() const { return utf8_ ? Utf8Cleaned(line_) : SjisToUtf8(line_); }

    // Once the file has ended, every later field keeps its value.
    bool Take() { return !ended_ && (ended_ = !lines_.Next(line_), !ended_); }

    SettingsModel& model_;
    bool utf8_;
    LineReader lines_;
    std::string_view line_;
    bool ended_ = false;
};

class FileWriter {
public:
    void Title(const char* title) { Line(title); }
    void Field(const std::string& text) { Line(text); }
    void Field(const Value& value) { Line(value.ToFileLine()); }
    // Written only when a place follows a zone: a file without zones stays
    // the 55 lines every copy of the program reads.
    void Zones(const Rows<std::string>& names) {
        if (std::all_of(names.begin(), names.end(), [](const std::string& name) { return name.empty(); })) return;
        Line(kZoneTitle);
        for (const auto& name : names) Line(name);
    }
    // Likewise the options: a file without them is the 20 lines of old.
    void Options(const SettingsModel& model) {
        const std::vector<std::string> lines = DisplayOptionLines(model);
        if (lines.empty()) return;
        Line(kDisplayOptionsTitle);
        for (const auto& line : lines) Line(line);
    }

    std::string Bytes() const { return Utf8ToSjis(text_); }

private:
    // A value holding a line break would shift every later line of the file
    // (values are known only by their line): it is written with blanks instead.
    void Line(std::string_view line) {
        for (char c : line) text_.push_back(c == '\r' || c == '\n' ? ' ' : c);
        text_ += "\r\n";
    }

    std::string text_;
};

template <class Visit>
void ReadFile(SettingsModel& model, const FilePath& file, std::size_t lines, Visit visit) {
    auto bytes = ReadBytes(file, lines);
    if (!bytes) return;
    visit(model, FileReader(model, *bytes));
}

template <class Visit>
std::string FileBytes(const SettingsModel& model, Visit visit) {
    FileWriter writer;
    visit(model, writer);
    return writer.Bytes();
}

constexpr auto kPlaces = [](auto& m, auto&& v) { VisitPlaces(m, v); };
constexpr auto kDisplay = [](auto& m, auto&& v) { VisitDisplay(m, v); };
constexpr auto kWindow = [](auto& m, auto&& v) { VisitWindow(m, v); };

}  // namespace

void ReadPlaces(SettingsModel& model, const FilePath& folder) { ReadFile(model, JoinPath(folder, kPlacesFile), 66, kPlaces); }
void ReadDisplay(SettingsModel& model, const FilePath& folder) { ReadFile(model, JoinPath(folder, kDisplayFile), 21 + kMaxDisplayOptionLines, kDisplay); }
void ReadWindow(SettingsModel& model, const FilePath& folder) { ReadFile(model, JoinPath(folder, kWindowFile), 9, kWindow); }

void ReadPlacesFrom(SettingsModel& model, std::string_view bytes) { kPlaces(model, FileReader(model, bytes)); }
void ReadDisplayFrom(SettingsModel& model, std::string_view bytes) { kDisplay(model, FileReader(model, bytes)); }
void ReadWindowFrom(SettingsModel& model, std::string_view bytes) { kWindow(model, FileReader(model, bytes)); }

std::string PlacesFileBytes(const SettingsModel& model) { return FileBytes(model, kPlaces); }
std::string DisplayFileBytes(const SettingsModel& model) { return FileBytes(model, kDisplay); }
std::string WindowFileBytes(const SettingsModel& model) { return FileBytes(model, kWindow); }

std::optional<SaveError> WritePlaces(const SettingsModel& model, const FilePath& folder) {
    return ReplaceFileContents(JoinPath(folder, kPlacesFile), PlacesFileBytes(model));
}
std::optional<SaveError> WriteDisplay(const SettingsModel& model, const FilePath& folder) {
    return ReplaceFileContents(JoinPath(folder, kDisplayFile), DisplayFileBytes(model));
}
std::optional<SaveError> WriteWindow(const SettingsModel& model, const FilePath& folder) {
    return ReplaceFileContents(JoinPath(folder, kWindowFile), WindowFileBytes(model));
}

}  // namespace qv
