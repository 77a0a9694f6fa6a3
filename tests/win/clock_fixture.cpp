// The clock window test fixture: temporary folder, settings files, fakes.
#include "clock_fixture.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dialogs.h"
#include "text.h"
#include "twips.h"

namespace qv::win::test {

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

std::vector<PlaceRow> TenPlaces() {
    return {{"日本", " 0 ", "9:00", "17:00"},    {"ニューヨーク", "-14 ", "9:00", "17:00"},
            {"ロンドン", "-9 ", "9:00", "17:00", " 1 "}, {"パリ", "-8 ", "9:00", "17:00"},
            {"ベルリン", "-8 ", "9:00", "17:00"}, {"モスクワ", "-6 ", "9:00", "17:00"},
            {"ドバイ", "-5 ", "9:00", "17:00"},   {"デリー", "-3.5 ", "9:00", "17:00"},
            {"北京", "-1 ", "9:00", "17:00"},     {"シドニー", " 2 ", "9:00", "17:00"}};
}

void WriteBitmap(const std::filesystem::path& file, int width, int height, COLORREF colour) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER head{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    head.bfType = 0x4D42;  // "BM"
    head.bfOffBits = sizeof head + sizeof info;
    head.bfSize = head.bfOffBits + info.biSizeImage;
    std::string row(static_cast<std::size_t>(stride), '\0');
    for (int x = 0; x < width; ++x) {
        row[static_cast<std::size_t>(x * 3)] = static_cast<char>(GetBValue(colour));
        row[static_cast<std::size_t>(x * 3 + 1)] = static_cast<char>(GetGValue(colour));
        row[static_cast<std::size_t>(x * 3 + 2)] = static_cast<char>(GetRValue(colour));
    }
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&head), sizeof head);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    for (int y = 0; y < height; ++y) out.write(row.data(), stride);
}

std::wstring ClockTest::FolderStem() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return L"qv-" + Widen(info->test_suite_name()) + L"-" + Widen(info->name()) + L"-";
}

void ClockTest::SetUp() {
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
    // A test may have moved its program folder out of home_.
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

ClockWindow* ClockTest::Restart() {
    model_.RestartFlag = Value::Integer(1);
    application_->LoadVr();
    return application_->Clock();
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

bool ClockTest::PumpUntil(const std::function<bool()>& done, DWORD ms) {
    const ULONGLONG until = GetTickCount64() + ms;
    while (!done() && GetTickCount64() < until) Pump();
    return done();
}

void ClockTest::Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    Pump();
}

void ClockTest::Press(WORD key, bool shift) {
    HWND target = GetFocus();
    ASSERT_NE(target, nullptr) << "no window has the keyboard focus";
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    PostKey(target, key);
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

}  // namespace qv::win::test
