// The clock window test fixture: temporary folder, settings files, fakes.
#include "clock_fixture.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "dialogs.h"
#include "text.h"
#include "twips.h"

namespace qv::win::test {

std::string Sjis(const std::string& utf8) {
    std::wstring wide = Widen(utf8);
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

void WriteSettingsFile(const std::filesystem::path& file, const std::vector<std::string>& utf8Lines) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const auto& line : utf8Lines) out << Sjis(line) << "\r\n";
}

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

namespace {
std::string Number(double v) {
    std::ostringstream s;
    s << (v < 0 ? "" : " ") << v << " ";
    return s.str();
}
}  // namespace

std::vector<std::string> WindowFile(const std::string& formState, double top, double height, double width,
                                    double left, const std::string& layout) {
    return {"フォーム情報", formState, "位置サイズ情報", Number(top), Number(height), Number(width),
            Number(left), "フォーム切替情報", layout};
}

std::vector<std::string> DefaultDisplayFile() {
    return {"色", "0", "12648447", "16711680", "0", "フォームピクチャー", "", "透明かどうか", "0",
            "日時表示形式", "mm/dd hh:mm", "表示内容寸法", " 180 ", " 1095 ", "フォント情報", "False", "False",
            "ＭＳ ゴシック", " 8 ", " 75 "};
}

std::vector<std::string> PlacesFile(const std::vector<PlaceRow>& rows) {
    std::vector<std::string> lines;
    auto section = [&](const char* title, auto field) {
        lines.emplace_back(title);
        for (std::size_t i = 0; i < 10; ++i) lines.push_back(i < rows.size() ? field(rows[i]) : std::string());
    };
    section("名称", [](const PlaceRow& r) { return r.name; });
    section("時差", [](const PlaceRow& r) { return r.diff; });
    section("始業時間", [](const PlaceRow& r) { return r.start; });
    section("終業時間", [](const PlaceRow& r) { return r.end; });
    section("サマータイム情報", [](const PlaceRow& r) { return r.summer; });
    return lines;
}

void ClockTest::SetUp() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::path(temp) /
              (L"qv-" + Widen(info->test_suite_name()) + L"-" + Widen(info->name()) + L"-" +
               std::to_wstring(GetCurrentProcessId()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    application_ = std::make_unique<Application>(GetModuleHandleW(nullptr), process_);
    app_ = std::make_unique<AppContext>(
        AppContext{model_, folder_, clock_, messages_, choosers_, *application_, GetModuleHandleW(nullptr)});
    application_->Attach(*app_);
}

void ClockTest::TearDown() {
    if (application_->Clock() && application_->Clock()->IsOpen()) {
        // Close without leaving a stored place behind in a shared folder.
        DestroyWindow(application_->Clock()->hwnd());
    }
    application_->CloseVr();
    Pump();
    application_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

ClockWindow& ClockTest::StartFirstRun() {
    application_->LoadVr();
    StartupWindow* vr = application_->Vr();
    EXPECT_TRUE(vr && vr->IsOpen());
    if (vr && vr->IsOpen()) SendMessageW(vr->hwnd(), WM_TIMER, StartupWindow::kTimer1, 0);
    Pump();
    ClockWindow* clock = application_->Clock();
    if (!clock) throw std::runtime_error("no clock window opened");
    return *clock;
}

void ClockTest::Tick() {
    SendMessageW(application_->Clock()->hwnd(), WM_TIMER, ClockWindow::kTimer1, 0);
}

void ClockTest::DoubleClickCircle(double yTwips) {
    SendMessageW(application_->Clock()->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, ClientPoint(kCircleX, yTwips));
    Pump();
}

void ClockTest::Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (HandleDialogKey(msg)) continue;  // as the program's loop does
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    application_->CollectClosed();
}

void ClockTest::Press(WORD key, bool shift) {
    HWND target = GetFocus();
    ASSERT_NE(target, nullptr) << "no window has the keyboard focus";
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(target, WM_KEYDOWN, key, scan | 1);
    PostMessageW(target, WM_KEYUP, key, scan | 1 | 0xC0000000);
    Pump();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

RECT ClockTest::OuterRect() const {
    RECT r{};
    GetWindowRect(application_->Clock()->hwnd(), &r);
    return r;
}

LPARAM ClockTest::ClientPoint(double xTwips, double yTwips) {
    return MAKELPARAM(TwipsToPixels(xTwips), TwipsToPixels(yTwips));
}

COLORREF ClockTest::PixelAt(HWND hwnd, int x, int y) const {
    RECT client;
    GetClientRect(hwnd, &client);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    COLORREF color = GetPixel(memory, x, y);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return color;
}

}  // namespace qv::win::test
