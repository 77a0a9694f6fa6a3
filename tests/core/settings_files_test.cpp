// The settings files on disk: exact bytes, reading back, short and bad files,
// and writes that fail without harming the old file.
#include "settings_files.h"

#include <gtest/gtest.h>

#include "value_printer.h"

#include <filesystem>
#include <initializer_list>

#ifdef _WIN32
#include <windows.h>
#endif

#include "sjis.h"
#include "temp_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::ReadAllBytes;
using test::TempFolder;
using test::WriteAllBytes;

// The file image of lines (UTF-8 here), as the program stores it.
std::string FileOf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (auto line : lines) {
        text += line;
        text += "\r\n";
    }
    return Utf8ToSjis(text);
}

SettingsModel RichModel() {
    SettingsModel m;
    const char* names[] = {"日本", "ﾛﾝﾄﾞﾝ", "New York", "", "サンパウロ", "", "", "", "", "表示"};
    for (int n = 1; n <= kPlaceCount; ++n) {
        m.PlaceName[n] = names[n - 1];
        m.TimeDiff[n] = n % 3 == 0 ? Value::Integer(0) : Value::Text(n == 2 ? "-9" : "5.5");
        m.WorkStart[n] = Value::Text(n == 4 ? "" : "09:00");
        m.WorkEnd[n] = Value::Text("17:30");
        m.SummerTime[n] = Value::Integer(n == 2 ? 1 : 0);
    }
    ApplyFirstRunDefaults(m);
    m.PicturePath = Value::Text("C:\\写真\\背景.jpg");
    m.FontSize = Value::Single(10.5f);
    m.FontBold = Value::Boolean(true);
    m.FormState = Value::Integer(0);
    m.WinTop = Value::Single(-120.0f);
    m.WinLeft = Value::Single(3000.5f);
    m.LayoutSwitch = Value::Integer(1);
    return m;
}

// The three files of a model, each written without an error.
void WriteAll(const SettingsModel& m, const fs::path& folder) {
    ASSERT_EQ(WritePlaces(m, folder), std::nullopt);
    ASSERT_EQ(WriteDisplay(m, folder), std::nullopt);
    ASSERT_EQ(WriteWindow(m, folder), std::nullopt);
}

TEST(SettingsFiles, WindowFileAfterTheLayoutSwitch) {
    TempFolder folder;
    SettingsModel m;
    m.FormState = Value::Integer(0);
    m.WinTop = Value::Single(1200);
    m.WinHeight = Value::Single(885);
    m.WinWidth = Value::Single(1410);
    m.WinLeft = Value::Single(3000);
    m.LayoutSwitch = Value::Integer(1);
    ASSERT_EQ(WriteWindow(m, folder.path()), std::nullopt);
    EXPECT_EQ(ReadAllBytes(folder.path() / "STEI2.QV"),
              FileOf({"フォーム情報", " 0 ", "位置サイズ情報", " 1200 ", " 885 ", " 1410 ", " 3000 ", "フォーム切替情報", " 1 "}));
}

TEST(SettingsFiles, DisplayFileWithTheFirstRunDefaults) {
    TempFolder folder;
    SettingsModel m;
    ResetSummerTime(m);
    ApplyFirstRunDefaults(m);
    ASSERT_EQ(WriteDisplay(m, folder.path()), std::nullopt);
    std::string expected = FileOf({"色", "0", "12648447", "16711680", "0", "フォームピクチャー", "", "透明かどうか", "0",
                                   "日時表示形式", "mm/dd hh:mm", "表示内容寸法", " 180 ", " 1095 ", "フォント情報", "False",
                                   "False", "ＭＳ ゴシック", " 8 ", " 75 "});
    EXPECT_EQ(ReadAllBytes(folder.path() / "STEI1.QV"), expected);
    // The titles really are code page 932: 色 is 0x90 0x46.
    EXPECT_EQ(expected.substr(0, 4), "\x90\x46\r\n");
}

TEST(SettingsFiles, WriteReadWriteGivesTheSameBytes) {
    TempFolder first, second;
    SettingsModel m = RichModel();
    ASSERT_NO_FATAL_FAILURE(WriteAll(m, first.path()));

    SettingsModel back;
    ReadPlaces(back, first.path());
    ReadDisplay(back, first.path());
    ReadWindow(back, first.path());
    ASSERT_NO_FATAL_FAILURE(WriteAll(back, second.path()));
    for (const char* file : {kPlacesFile, kDisplayFile, kWindowFile}) {
        EXPECT_EQ(ReadAllBytes(second.path() / file), ReadAllBytes(first.path() / file)) << file;
    }
    std::string places = ReadAllBytes(first.path() / kPlacesFile);
    EXPECT_EQ(std::count(places.begin(), places.end(), '\n'), 55);
}

TEST(SettingsFiles, ValuesComeBackAsTextExactlyAsOnTheLine) {
    TempFolder folder;
    SettingsModel m = RichModel();
    ASSERT_NO_FATAL_FAILURE(WriteAll(m, folder.path()));
    SettingsModel back;
    ReadPlaces(back, folder.path());
    EXPECT_EQ(back.PlaceName[2], "ﾛﾝﾄﾞﾝ");
    EXPECT_EQ(back.TimeDiff[3], Value::Text(" 0 "));
    EXPECT_EQ(back.TimeDiff[2], Value::Text("-9"));
    EXPECT_EQ(back.WorkStart[4], Value::Text(""));
    EXPECT_EQ(back.SummerTime[2], Value::Text(" 1 "));
    EXPECT_TRUE(back.SummerTime[2].Equals(1));
    EXPECT_EQ(back.RestartFlag, Value::Text("サマータイム情報"));
    ReadDisplay(back, folder.path());
    EXPECT_EQ(back.FontSize, Value::Text(" 10.5 "));
    EXPECT_EQ(back.FontBold, Value::Text("True"));
    EXPECT_EQ(back.FontBold.ToBoolean(), true);
    EXPECT_EQ(back.FieldHeight, Value::Text(" 180 "));
    EXPECT_EQ(back.PicturePath, Value::Text("C:\\写真\\背景.jpg"));
    ReadWindow(back, folder.path());
    EXPECT_EQ(back.WinTop, Value::Text("-120 "));
    EXPECT_EQ(back.WinLeft, Value::Text(" 3000.5 "));
    EXPECT_EQ(back.RestartFlag, Value::Text("フォーム切替情報"));
    EXPECT_FALSE(back.RestartFlag.Equals(1));
}

TEST(SettingsFiles, LineBreaksInsideAValueNeverShiftTheLines) {
    TempFolder folder;
    SettingsModel m;
    m.PlaceName[1] = std::string("New\r\nYork");
    m.PlaceName[2] = std::string("Paris\n");
    m.TimeDiff[1] = Value::Text("-5");
    ASSERT_EQ(WritePlaces(m, folder.path()), std::nullopt);
    SettingsModel back;
    ReadPlaces(back, folder.path());
    EXPECT_EQ(back.PlaceName[1], "New  York");
    EXPECT_EQ(back.PlaceName[2], "Paris ");
    EXPECT_EQ(back.TimeDiff[1], Value::Text("-5"));
    EXPECT_EQ(back.RestartFlag, Value::Text("サマータイム情報"));
}

TEST(SettingsFiles, LongValuesAreReadToTheLastLine) {
    // Far more bytes than one read of the file takes: the reader must still
    // count CR LF as one line end and reach the summer-time section.
    TempFolder folder;
    SettingsModel m;
    for (int n = 1; n <= kPlaceCount; ++n) {
        m.PlaceName[n] = std::string(2000, static_cast<char>('a' + n));
        m.WorkStart[n] = Value::Text(std::string(2000, '9'));
        m.SummerTime[n] = Value::Integer(static_cast<std::int16_t>(n % 2));
    }
    ASSERT_EQ(WritePlaces(m, folder.path()), std::nullopt);
    SettingsModel back;
    ReadPlaces(back, folder.path());
    EXPECT_EQ(back.PlaceName[10], m.PlaceName[10]);
    EXPECT_EQ(back.SummerTime[9], Value::Text(" 1 "));
    EXPECT_EQ(back.SummerTime[10], Value::Text(" 0 "));
    EXPECT_EQ(back.RestartFlag, Value::Text("サマータイム情報"));
}

TEST(SettingsFiles, MissingFilesChangeNothing) {
    TempFolder folder;
    SettingsModel m = RichModel();
    SettingsModel before = m;
    ReadPlaces(m, folder.path());
    ReadDisplay(m, folder.path());
    ReadWindow(m, folder.path());
    EXPECT_EQ(m.PlaceName, before.PlaceName);
    EXPECT_EQ(m.RestartFlag, before.RestartFlag);
    EXPECT_EQ(m.FontSize, before.FontSize);
    EXPECT_EQ(m.WinLeft, before.WinLeft);
    // ... and the first save creates the whole file.
    ASSERT_EQ(WritePlaces(m, folder.path()), std::nullopt);
    EXPECT_TRUE(fs::exists(folder.path() / kPlacesFile));
}

TEST(SettingsFiles, ShortDisplayFileKeepsTheRestFromMemory) {
    TempFolder folder;
    WriteAllBytes(folder.path() / kDisplayFile,
                  FileOf({"色", "255", "1", "2", "3", "フォームピクチャー", "a.bmp", "透明かどうか", "1"}));
    SettingsModel m;
    ApplyFirstRunDefaults(m);
    ReadDisplay(m, folder.path());
    EXPECT_EQ(m.NameColor, "255");
    EXPECT_EQ(m.TimeColor, "3");
    EXPECT_EQ(m.PicturePath, Value::Text("a.bmp"));
    EXPECT_EQ(m.Transparent, "1");
    EXPECT_EQ(m.DateFormat, Value::Text("mm/dd hh:mm"));
    EXPECT_EQ(m.FieldHeight, Value::Integer(180));
    EXPECT_EQ(m.FontSize, Value::Text(" 8 "));
    EXPECT_EQ(m.RestartFlag, Value::Text("透明かどうか"));
}

TEST(SettingsFiles, DisplayFileEndingBeforeTransparencyResetsTheWindowSize) {
    TempFolder folder;
    WriteAllBytes(folder.path() / kDisplayFile, FileOf({"色", "255", "1", "2", "3", "フォームピクチャー"}));
    WriteAllBytes(folder.path() / kWindowFile,
                  FileOf({"フォーム情報", " 0 ", "位置サイズ情報", " 10 ", " 3000 ", " 5000 ", " 20 ", "フォーム切替情報", ""}));
    SettingsModel m;
    ReadDisplay(m, folder.path());
    ReadWindow(m, folder.path());
    ApplyFirstRunDefaults(m);
    EXPECT_EQ(m.WinHeight, Value::Integer(885));
    EXPECT_EQ(m.WinWidth, Value::Integer(1410));
    EXPECT_EQ(m.WinTop, Value::Text(" 10 "));
    EXPECT_EQ(m.LayoutSwitch, Value::Text(""));  // empty layout line: QV1
    EXPECT_TRUE(m.LayoutSwitch.Equals(0));
}

TEST(SettingsFiles, LinesEndAtCrLfLoneCrOrLoneLf) {
    TempFolder folder;
    WriteAllBytes(folder.path() / kWindowFile,
                  Utf8ToSjis("フォーム情報\r 1 \n位置サイズ情報\r\n\r\n 885 \n\n 7 \rフォーム切替情報\r\n 1 "));
    SettingsModel m;
    ReadWindow(m, folder.path());
    EXPECT_EQ(m.FormState, Value::Text(" 1 "));
    EXPECT_EQ(m.WinTop, Value::Text(""));
    EXPECT_EQ(m.WinHeight, Value::Text(" 885 "));
    EXPECT_EQ(m.WinWidth, Value::Text(""));
    EXPECT_EQ(m.WinLeft, Value::Text(" 7 "));
    EXPECT_EQ(m.LayoutSwitch, Value::Text(" 1 "));  // last line without a break
    EXPECT_EQ(m.RestartFlag, Value::Text("フォーム切替情報"));
}

TEST(SettingsFiles, BadFilesNeverStopTheReader) {
    TempFolder folder;
    const fs::path file = folder.path() / kPlacesFile;
    {
        WriteAllBytes(file, "");
        SettingsModel m;
        ReadPlaces(m, folder.path());
        EXPECT_TRUE(m.RestartFlag.IsEmpty());
        EXPECT_EQ(m.PlaceName[1], "");
    }
    {
        // Invalid Shift-JIS and NUL bytes arrive as replacement characters and NULs.
        WriteAllBytes(file, std::string("\x96\xbc\x8f\r\n\x85\x40\x81\r\nA\0B\r\n", 13));
        SettingsModel m;
        ReadPlaces(m, folder.path());
        EXPECT_EQ(m.RestartFlag, Value::Text("名\xEF\xBF\xBD"));
        EXPECT_EQ(m.PlaceName[1], "\xEF\xBF\xBD\xEF\xBF\xBD");
        EXPECT_EQ(m.PlaceName[2], std::string("A\0B", 3));
        EXPECT_EQ(m.PlaceName[3], "");
    }
    {
        std::string huge(10u << 20, '\x82');  // 10 MB of lead bytes on one line
        WriteAllBytes(file, "名称\r\n" + huge + "\r\nx\r\n");
        SettingsModel m;
        ReadPlaces(m, folder.path());
        EXPECT_EQ(m.PlaceName[1].size(), huge.size() / 2 * 3);
        EXPECT_EQ(m.PlaceName[2], "x");
    }
    {
        fs::remove(file);
        fs::create_directory(file);  // the places "file" is a folder
        SettingsModel m = RichModel();
        ReadPlaces(m, folder.path());
        EXPECT_EQ(m.PlaceName[1], "日本");
    }
}

// A file an editor saved as UTF-8, with or without a byte-order mark, reads
// as UTF-8; the next save writes Shift-JIS again. A Shift-JIS file reads as
// ever, and a file that is UTF-8 only in part is Shift-JIS as a whole.
TEST(SettingsFiles, FilesSavedAsUtf8ReadAsUtf8) {
    const std::string text = "名称\r\nZürich\r\n東京\r\nSão Paulo\r\n";
    for (const std::string& bytes : {text, "\xEF\xBB\xBF" + text}) {
        SettingsModel m;
        ReadPlacesFrom(m, bytes);
        EXPECT_EQ(m.RestartFlag, Value::Text("名称"));
        EXPECT_EQ(m.PlaceName[1], "Zürich");
        EXPECT_EQ(m.PlaceName[2], "東京");
        EXPECT_EQ(m.PlaceName[3], "São Paulo");
        const std::string saved = PlacesFileBytes(m);
        EXPECT_TRUE(saved.starts_with(Utf8ToSjis("名称\r\nZ?rich\r\n東京\r\n")));
    }
    // A byte-order mark before plain ASCII is still no part of the first line.
    SettingsModel ascii;
    ReadWindowFrom(ascii, "\xEF\xBB\xBFx\r\n 1 \r\n");
    EXPECT_EQ(ascii.RestartFlag, Value::Text("x"));
    EXPECT_EQ(ascii.FormState, Value::Text(" 1 "));
    // Malformed bytes after a mark become U+FFFD, never a wrong character.
    SettingsModel damaged;
    ReadPlacesFrom(damaged, "\xEF\xBB\xBF名称\r\nA\xFF" "B\r\n");
    EXPECT_EQ(damaged.PlaceName[1], "A\uFFFDB");
    // Shift-JIS: the Japanese title alone makes it malformed UTF-8.
    SettingsModel sjis;
    ReadPlacesFrom(sjis, FileOf({"名称", "ﾛﾝﾄﾞﾝ", "日本"}));
    EXPECT_EQ(sjis.PlaceName[1], "ﾛﾝﾄﾞﾝ");
    EXPECT_EQ(sjis.PlaceName[2], "日本");
    // One UTF-8 line in a Shift-JIS file: the file is Shift-JIS.
    SettingsModel mixed;
    ReadPlacesFrom(mixed, FileOf({"名称", "日本"}) + "Zürich\r\n");
    EXPECT_EQ(mixed.PlaceName[1], "日本");
    EXPECT_NE(mixed.PlaceName[2], "Zürich");
}

TEST(SettingsFiles, WriteReplacesAnExistingFileAndLeavesNoTemporaryFile) {
    TempFolder folder;
    const fs::path file = folder.path() / kWindowFile;
    WriteAllBytes(file, std::string(5000, 'x'));
    SettingsModel m;
    m.LayoutSwitch = Value::Integer(0);
    ASSERT_EQ(WriteWindow(m, folder.path()), std::nullopt);
    EXPECT_EQ(ReadAllBytes(file), FileOf({"フォーム情報", "", "位置サイズ情報", "", "", "", "", "フォーム切替情報", " 0 "}));
    ASSERT_EQ(WriteWindow(m, folder.path()), std::nullopt);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path())) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(SettingsFiles, FailedWriteKeepsTheOldFileAndNamesIt) {
    TempFolder folder;
    const fs::path file = folder.path() / kDisplayFile;
    const std::string old = FileOf({"色", "255"});
    SettingsModel m = RichModel();
    {
        // The temporary file cannot be created: a folder stands in its place.
        WriteAllBytes(file, old);
        fs::path blocker = file;
        blocker += ".tmp";
        fs::create_directory(blocker);
        auto error = WriteDisplay(m, folder.path());
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->file, file);
        EXPECT_FALSE(error->reason.empty());
        EXPECT_EQ(ReadAllBytes(file), old);
        fs::remove(blocker);
    }
    {
        // The old "file" is a folder with something in it: the replace fails.
        fs::remove(file);
        fs::create_directory(file);
        WriteAllBytes(file / "keep", old);
        auto error = WriteDisplay(m, folder.path());
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->file, file);
        EXPECT_FALSE(error->reason.empty());
        EXPECT_EQ(ReadAllBytes(file / "keep"), old);
        fs::path temp = file;
        temp += ".tmp";
        EXPECT_FALSE(fs::exists(temp));
    }
#ifdef _WIN32
    {
        // Another program holds the settings file open (the C runtime shares
        // it for reading and writing but not for deleting): no replace.
        fs::remove_all(file);
        WriteAllBytes(file, old);
        std::ifstream holder(file, std::ios::binary);
        ASSERT_TRUE(holder.is_open());
        auto error = WriteDisplay(m, folder.path());
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->file, file);
        EXPECT_FALSE(error->reason.empty());
        holder.close();
        EXPECT_EQ(ReadAllBytes(file), old);
    }
#endif
    {
        // The program folder is gone.
        auto error = WriteDisplay(m, folder.path() / "missing");
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->file, folder.path() / "missing" / kDisplayFile);
#ifdef _WIN32
        // The system's own words, in the user's language.
        wchar_t message[512] = {};
        DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_PATH_NOT_FOUND,
                                      0, message, 512, nullptr);
        while (length > 0 && (message[length - 1] == L'\r' || message[length - 1] == L'\n' || message[length - 1] == L' ')) --length;
        const std::u8string expected = fs::path(std::wstring(message, length)).u8string();
        EXPECT_EQ(error->reason, std::string(expected.begin(), expected.end()));
#endif
    }
}

}  // namespace
}  // namespace qv
