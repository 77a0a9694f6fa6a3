// Saves that fail at every save point of the program, through the real
// windows: the clock's switch, settings and end commands (STEI2.QV), the
// display settings dialog's "終了" and "初期設定" (STEI1.QV), the initial
// setup dialog's OK (STEI.QV). Each failure shows one message that names the
// file, leaves the old file byte for byte and no temporary file, and the
// program goes on with the user's changes.
//
// The fault comes from outside the program:
// - SaveFaultsLocked: a second process holds the three files open without
//   sharing (hold_file.exe beside this program), in a temporary folder.
// - SaveFaultsUnwritable: QV_TEST_PROGRAM_FOLDER names a folder that already
//   holds the three files and takes no writes (a read-only or a full file
//   system, mounted by save_faults.sh; QV_TEST_FAULT says which); skipped
//   when it is not set.
#include "clock_fixture.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "text.h"
#include "twips.h"
#include "henko_window.h"
#include "syoki_window.h"

namespace qv::win::test {
namespace {

namespace fs = std::filesystem;

const char* const kFiles[] = {"STEI.QV", "STEI1.QV", "STEI2.QV"};

// hold_file.exe, started with the files to hold; they stay held until this
// object goes (it closes the program's input and waits for it to end).
class FileHolder {
public:
    explicit FileHolder(const std::vector<fs::path>& files) {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring command = L"\"" + (fs::path(self).parent_path() / L"hold_file.exe").wstring() + L"\"";
        for (const auto& f : files) command += L" \"" + f.wstring() + L"\"";

        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE childIn = nullptr, childOut = nullptr;
        if (!CreatePipe(&childIn, &input_, &inherit, 0) || !CreatePipe(&output_, &childOut, &inherit, 0)) return;
        SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = childIn;
        si.hStdOutput = childOut;
        si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION pi{};
        BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
        CloseHandle(childIn);
        CloseHandle(childOut);
        if (!started) return;
        process_ = pi.hProcess;
        CloseHandle(pi.hThread);
        char text[16] = {};
        DWORD read = 0;
        held_ = ReadFile(output_, text, sizeof text - 1, &read, nullptr) && std::string(text, read).starts_with("held");
    }
    ~FileHolder() { Release(); }
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;

    bool held() const { return held_; }
    void Release() {
        if (input_) CloseHandle(input_);
        input_ = nullptr;
        if (process_) {
            WaitForSingleObject(process_, 10000);
            CloseHandle(process_);
        }
        process_ = nullptr;
        if (output_) CloseHandle(output_);
        output_ = nullptr;
        held_ = false;
    }

private:
    HANDLE input_ = nullptr, output_ = nullptr, process_ = nullptr;
    bool held_ = false;
};

// The system's words for an error, as a failed save quotes them.
std::wstring SystemText(DWORD code) {
    wchar_t text[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, 512, nullptr);
    std::wstring out = text;
    while (!out.empty() && (out.back() == L'\r' || out.back() == L'\n' || out.back() == L' ')) out.pop_back();
    return out;
}

class SaveFaultsTest : public ClockTest {
protected:
    void SetUp() override {
        ClockTest::SetUp();
        ownFolder_ = folder_;
        if (Unwritable()) {
            const wchar_t* given = _wgetenv(L"QV_TEST_PROGRAM_FOLDER");
            if (!given || !*given) GTEST_SKIP() << "QV_TEST_PROGRAM_FOLDER names no unwritable program folder";
            folder_ = given;
        } else {
            WriteSettingsFile(File("STEI.QV"), PlacesFile({{"日本", " 0 ", "09:00", "18:00"}}));
            WriteSettingsFile(File("STEI1.QV"), DefaultDisplayFile());
            WriteSettingsFile(File("STEI2.QV"), WindowFile(" 0 ", 1200, 885, 1410, 3000, ""));
        }
        choosers_.colour = RGB(0, 128, 0);  // the user picks green
        app_ = std::make_unique<AppContext>(
            AppContext{model_, folder_, clock_, messages_, choosers_, *application_, GetModuleHandleW(nullptr)});
        application_->Attach(*app_);
        for (const char* name : kFiles) {
            ASSERT_TRUE(fs::is_regular_file(File(name))) << name;
            oldBytes_[name] = ReadAllBytes(File(name));
        }
        for (const auto& entry : fs::directory_iterator(folder_)) oldEntries_.insert(entry.path().filename());
    }

    void TearDown() override {
        // The settings windows a failed save kept open close by their close box.
        for (const wchar_t* cls : {henko::kClassName, syoki::kClassName}) {
            if (HWND w = FindOwnWindow(cls)) SendMessageW(w, WM_CLOSE, 0, 0);
        }
        holder_.reset();
        folder_ = ownFolder_;  // never empty the given folder
        ClockTest::TearDown();
    }

    virtual bool Unwritable() const { return false; }

    // Makes the saves fail from here on.
    void BreakSaves() {
        if (Unwritable()) return;
        holder_ = std::make_unique<FileHolder>(std::vector<fs::path>{File("STEI.QV"), File("STEI1.QV"), File("STEI2.QV")});
        ASSERT_TRUE(holder_->held()) << "hold_file.exe did not take the files";
    }

    // Exactly one message since the last check, naming the file and saying
    // what happened; then forgets it.
    void ExpectOneSaveMessage(const char* file) {
        ASSERT_EQ(messages_.shown.size(), 1u) << "one failure, one message";
        const ShownMessage& m = messages_.shown[0];
        EXPECT_EQ(m.title, L"QV");
        EXPECT_EQ(m.flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
        EXPECT_TRUE(m.text.starts_with(L"設定を保存できませんでした。")) << Narrow(m.text);
        EXPECT_NE(m.text.find(File(file).wstring()), std::wstring::npos) << Narrow(m.text);
        EXPECT_NE(m.text.find(L"以前の設定ファイルはそのまま残っています。"), std::wstring::npos);
        // The reason: the holder's, a full disk's, or, for a read-only
        // folder, at least neither of those.
        std::wstring held = SystemText(ERROR_SHARING_VIOLATION), full = SystemText(ERROR_DISK_FULL);
        const wchar_t* fault = _wgetenv(L"QV_TEST_FAULT");
        std::wstring kind = Unwritable() ? (fault ? fault : L"") : L"locked";
        if (kind == L"locked") {
            EXPECT_NE(m.text.find(held), std::wstring::npos) << Narrow(m.text);
        } else if (kind == L"diskfull") {
            EXPECT_NE(m.text.find(full), std::wstring::npos) << Narrow(m.text);
        } else if (kind == L"readonly") {
            EXPECT_EQ(m.text.find(held), std::wstring::npos) << Narrow(m.text);
            EXPECT_EQ(m.text.find(full), std::wstring::npos) << Narrow(m.text);
        }
        messages_.shown.clear();
    }

    // Every settings file as it was, and no file left behind by a save. Held
    // files cannot be read: their bytes are compared once they are let go.
    void ExpectFolderAsItWas() {
        if (!holder_ || !holder_->held()) ExpectOldBytes();
        std::set<fs::path> entries;
        for (const auto& entry : fs::directory_iterator(folder_)) entries.insert(entry.path().filename());
        EXPECT_EQ(entries, oldEntries_) << "a save left a file behind";
    }

    void ExpectOldBytes() {
        for (const char* name : kFiles) EXPECT_EQ(ReadAllBytes(File(name)), oldBytes_[name]) << name << " changed";
    }

    void ClockSaves();
    void DialogSaves();

    fs::path ownFolder_;
    std::map<std::string, std::string> oldBytes_;
    std::set<fs::path> oldEntries_;
    std::unique_ptr<FileHolder> holder_;
};

// The clock's switch and end. The user has moved the window, then switches
// the style (OP2): the switch goes on at the new place, as the model holds it,
// not as the stale file says. The end (OP1) saves twice, the second time as
// the window closes: one message, then the program ends.
void SaveFaultsTest::ClockSaves() {
    ClockWindow& clock = StartFirstRun();
    ASSERT_EQ(clock.style(), ClockStyle::QV1);
    BreakSaves();
    SetWindowPos(clock.hwnd(), nullptr, 150, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    DoubleClickCircle(kOP2);
    ExpectOneSaveMessage("STEI2.QV");
    ASSERT_TRUE(application_->Clock()) << "the switch went on after the failed save";
    EXPECT_EQ(application_->Clock()->style(), ClockStyle::QV2);
    RECT r = OuterRect();
    EXPECT_EQ(r.left, 150);
    EXPECT_EQ(r.top, 100);
    ExpectFolderAsItWas();

    DoubleClickCircle(kOP1);
    ExpectOneSaveMessage("STEI2.QV");
    EXPECT_FALSE(application_->AnyWindowLeft()) << "the end command ends the program after the message";
    EXPECT_EQ(process_.ended, 0) << "no forced end";
    ExpectFolderAsItWas();
    if (holder_) holder_->Release();
    ExpectOldBytes();
}

// The settings command (OP3) saves twice: one message. In the dialogs "終了"
// keeps HENKO open with the typed text and the chosen colour; "初期設定"
// reports and hands over; SYOKI's OK keeps SYOKI open with the typed places.
void SaveFaultsTest::DialogSaves() {
    StartFirstRun();
    BreakSaves();
    DoubleClickCircle(kOP3);
    ExpectOneSaveMessage("STEI2.QV");
    HWND henko = FindOwnWindow(henko::kClassName);
    ASSERT_TRUE(henko);

    Click(henko, henko::OP3);   // 就業時間表示色
    Click(henko, henko::BIRH);  // green
    Type(henko, henko::NH, L"200");
    Click(henko, henko::BEND);
    ExpectOneSaveMessage("STEI1.QV");
    ASSERT_EQ(FindOwnWindow(henko::kClassName), henko) << "終了 keeps the dialog when the save failed";
    EXPECT_FALSE(application_->Clock());
    EXPECT_EQ(Text(henko, henko::NH), L"200");
    EXPECT_EQ(model_.WorkColor, "32768");
    ExpectFolderAsItWas();

    Click(henko, henko::BSYO);
    ExpectOneSaveMessage("STEI1.QV");
    HWND syoki = FindOwnWindow(syoki::kClassName);
    ASSERT_TRUE(syoki) << "初期設定 hands over after the message";
    EXPECT_FALSE(FindOwnWindow(henko::kClassName));
    EXPECT_EQ(model_.WorkColor, "32768") << "the colour waits in the model for the next save";

    Type(syoki, syoki::L + 2, L"ロンドン");
    Type(syoki, syoki::J + 2, L"-9");
    Click(syoki, syoki::BOK);
    ExpectOneSaveMessage("STEI.QV");
    ASSERT_EQ(FindOwnWindow(syoki::kClassName), syoki) << "OK keeps the dialog when the save failed";
    EXPECT_EQ(Text(syoki, syoki::L + 2), L"ロンドン");
    EXPECT_EQ(Text(syoki, syoki::J + 2), L"-9");
    EXPECT_TRUE(application_->AnyWindowLeft());
    ExpectFolderAsItWas();

    if (!holder_) return;
    // The other program lets go: the same OK and "終了" save what the user did.
    holder_->Release();
    ExpectOldBytes();
    Click(syoki, syoki::BOK);
    EXPECT_TRUE(messages_.shown.empty());
    henko = FindOwnWindow(henko::kClassName);
    ASSERT_TRUE(henko);
    Click(henko, henko::BEND);
    EXPECT_TRUE(messages_.shown.empty());
    ASSERT_TRUE(application_->Clock());
    EXPECT_EQ(application_->Clock()->Label(ClockWindow::NameLabel(2)).caption, L"ロンドン");
    EXPECT_NE(ReadAllBytes(File("STEI.QV")).find(Sjis("ロンドン")), std::string::npos);
    EXPECT_NE(ReadAllBytes(File("STEI1.QV")).find("\r\n32768\r\n"), std::string::npos);
}

class SaveFaultsLocked : public SaveFaultsTest {};

class SaveFaultsUnwritable : public SaveFaultsTest {
    bool Unwritable() const override { return true; }
};

TEST_F(SaveFaultsLocked, TheClocksSavesFailWithOneMessageAndTheClockGoesOn) { ClockSaves(); }
TEST_F(SaveFaultsLocked, TheDialogsSavesFailAndTheEditsStay) { DialogSaves(); }
TEST_F(SaveFaultsUnwritable, TheClocksSavesFailWithOneMessageAndTheClockGoesOn) { ClockSaves(); }
TEST_F(SaveFaultsUnwritable, TheDialogsSavesFailAndTheEditsStay) { DialogSaves(); }

}  // namespace
}  // namespace qv::win::test
