// The portable zip unpacked into a fresh folder: QV.exe starts there, keeps its
// settings files there (not in the working folder), and shows transparent
// display without the control having been registered.
#include <objbase.h>

#include <gtest/gtest.h>

#include "tests/release/qv_run.h"

namespace qv::release {
namespace {

using namespace std::chrono_literals;

// The folder the zip was unpacked into by the zip check that runs first.
const std::wstring kPortable = HostPath(QV_RELEASE_PORTABLE_DIR);

// Settings files of an earlier case must not leak into the next.
class PortableLayout : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FileExists(JoinPath(kPortable, L"QV.exe")))
            << "the unpacked zip is missing; the zip check prepares it";
        for (const wchar_t* name : {L"STEI.QV", L"STEI1.QV", L"STEI2.QV"})
            DeleteFileW(JoinPath(kPortable, name).c_str());
    }
    void TearDown() override { SetUp(); }

    std::wstring Settings(const wchar_t* name) const { return JoinPath(kPortable, name); }
};

TEST_F(PortableLayout, StartsFromTheUnpackedFolderAndSavesItsSettingsThere) {
    ScratchFolder elsewhere(L"qv-cwd-");
    ASSERT_FALSE(elsewhere.path().empty());

    RunningProgram qv(JoinPath(kPortable, L"QV.exe"), L"", elsewhere.path());
    ASSERT_TRUE(qv.started()) << "CreateProcess failed: " << qv.error();
    HWND clock = qv.WaitForClockWindow(20s);
    ASSERT_NE(clock, nullptr) << "no clock window appeared";

    DoubleClickEndButton(clock);
    DWORD code = 0;
    ASSERT_TRUE(qv.WaitForExit(15s, &code)) << "the end button did not end QV";

    std::vector<std::wstring> window = ReadShiftJisLines(Settings(L"STEI2.QV"));
    ASSERT_EQ(window.size(), 9u) << "STEI2.QV is not beside QV.exe or not complete";
    EXPECT_EQ(window[0], L"フォーム情報");
    EXPECT_EQ(window[2], L"位置サイズ情報");
    EXPECT_EQ(window[7], L"フォーム切替情報");
    EXPECT_FALSE(FileExists(JoinPath(elsewhere.path(), L"STEI2.QV")))
        << "settings were written to the working folder instead of the program folder";
}

TEST_F(PortableLayout, TransparentDisplayWorksWithoutRegistration) {
    CLSID clsid;
    bool registered = SUCCEEDED(CLSIDFromProgID(L"VITREL32.Vitrel32Ctrl.1", &clsid));
    if (registered)
        std::printf("note: the control is registered in this prefix; this case cannot tell the folder "
                    "fallback from the registration\n");

    ASSERT_TRUE(WriteShiftJisLines(Settings(L"STEI1.QV"),
                                   {L"色", L"0", L"12648447", L"16711680", L"0", L"フォームピクチャー", L"",
                                    L"透明かどうか", L"1", L"日時表示形式", L"mm/dd hh:mm", L"表示内容寸法",
                                    L" 180 ", L" 1095 ", L"フォント情報", L"False", L"False",
                                    L"ＭＳ ゴシック", L" 8 ", L" 75 "}));
    // Placed well inside the screen, so the circle is under the pointer.
    ASSERT_TRUE(WriteShiftJisLines(Settings(L"STEI2.QV"),
                                   {L"フォーム情報", L" 0 ", L"位置サイズ情報", L" 1500 ", L" 885 ", L" 1410 ",
                                    L" 1500 ", L"フォーム切替情報", L" 0 "}));

    RunningProgram qv(JoinPath(kPortable, L"QV.exe"), L"", kPortable);
    ASSERT_TRUE(qv.started()) << "CreateProcess failed: " << qv.error();
    HWND clock = qv.WaitForClockWindow(20s);
    ASSERT_NE(clock, nullptr) << "no clock window appeared";

    // The control turns the window layered with its stored key colour.
    LONG_PTR exstyle = GetWindowLongPtrW(clock, GWL_EXSTYLE);
    EXPECT_TRUE(exstyle & WS_EX_LAYERED) << "the clock window is not layered";
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(clock, &key, &alpha, &flags));
    EXPECT_TRUE(flags & LWA_COLORKEY);
    EXPECT_EQ(key, COLORREF{0x00E3DFE0});

    DoubleClickEndButton(clock);
    EXPECT_TRUE(qv.WaitForExit(15s)) << "the end button did not end QV";
}

}  // namespace
}  // namespace qv::release
