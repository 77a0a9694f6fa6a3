// The property page in a real property frame, and the about dialog, both
// driven through their windows while they run modally.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "mock_container.h"

namespace vitrel::test {
namespace {

constexpr int kTransModeBox = 201;
constexpr int kSpin = 203;
constexpr int kAlphaBox = 204;
constexpr int kFlagBox = 205;

// Runs a modal call; `drive` runs from a timer inside its message loop and
// must end it.
const std::function<void()>* g_drive = nullptr;

void CALLBACK DriveOnce(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_drive) (*g_drive)();
}

void RunModal(const std::function<HRESULT()>& modal, const std::function<void()>& drive, HRESULT expected = S_OK) {
    g_drive = &drive;
    const UINT_PTR timer = SetTimer(nullptr, 0, 400, &DriveOnce);
    EXPECT_EQ(modal(), expected);
    KillTimer(nullptr, timer);
    g_drive = nullptr;
}

struct Found {
    int id;
    const wchar_t* className;
    HWND window;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (GetDlgCtrlID(window) == found->id && (!found->className || lstrcmpiW(name, found->className) == 0)) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

HWND Descendant(HWND root, int id, const wchar_t* className = nullptr) {
    Found found{id, className, nullptr};
    EnumChildWindows(root, &MatchChild, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

BOOL CALLBACK MatchVisibleTop(HWND window, LPARAM param) {
    if (!IsWindowVisible(window) || GetParent(window)) return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

HWND ActiveModalWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &MatchVisibleTop, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

std::wstring SelectedText(HWND combo) {
    const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return L"<none>";
    wchar_t text[256] = {};
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

// Holds a window on screen for a screenshot when QV_SCREENSHOT_HOLD_MS is set.
void HoldForScreenshot(HWND window) {
    wchar_t hold[16] = {};
    if (!GetEnvironmentVariableW(L"QV_SCREENSHOT_HOLD_MS", hold, 16)) return;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const DWORD until = GetTickCount() + static_cast<DWORD>(_wtoi(hold));
    while (GetTickCount() < until) {
        PumpMessages();
        Sleep(50);
    }
}

HRESULT OpenFrame(IUnknown* control) {
    ComPtr<ISpecifyPropertyPages> specify;
    control->QueryInterface(IID_ISpecifyPropertyPages, specify.PutVoid());
    CAUUID pages{};
    specify->GetPages(&pages);
    const HRESULT hr = OleCreatePropertyFrame(nullptr, 10, 10, L"Vitrel32", 1, &control, pages.cElems, pages.pElems,
                                              LOCALE_USER_DEFAULT, 0, nullptr);
    CoTaskMemFree(pages.pElems);
    return hr;
}

// The frame creates the page by its class: the module must be registered.
class PropertyPage : public ::testing::Test {
protected:
    void SetUp() override {
        using Fn = HRESULT(STDAPICALLTYPE*)();
        ASSERT_EQ(reinterpret_cast<Fn>(reinterpret_cast<void*>(Module::Get().Export("DllRegisterServer")))(), S_OK);
    }
    void TearDown() override {
        using Fn = HRESULT(STDAPICALLTYPE*)();
        EXPECT_EQ(reinterpret_cast<Fn>(reinterpret_cast<void*>(Module::Get().Export("DllUnregisterServer")))(), S_OK);
    }
};

TEST_F(PropertyPage, FrameShowsTheControlsValuesAndTheArrowsStayInRange) {
    auto control = NewControl<IDispatch>();
    PutShort(control.Get(), 1, 4);
    PutShort(control.Get(), 4, 0);
    PutShort(control.Get(), 3, 250);
    RunModal([&] { return OpenFrame(control.Get()); },
             [&] {
                 const HWND frame = ActiveModalWindow();
                 ASSERT_TRUE(frame);
                 const HWND tabs = Descendant(frame, 0x3020, WC_TABCONTROLW);
                 ASSERT_TRUE(tabs);
                 EXPECT_GE(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 1);
                 {
                     wchar_t title[64] = {};
                     TCITEMW item{};
                     item.mask = TCIF_TEXT;
                     item.pszText = title;
                     item.cchTextMax = 64;
                     SendMessageW(tabs, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
                     EXPECT_EQ(std::wstring(title), L"General");
                 }
                 const HWND modes = Descendant(frame, kTransModeBox, WC_COMBOBOXW);
                 const HWND flags = Descendant(frame, kFlagBox, WC_COMBOBOXW);
                 const HWND alpha = Descendant(frame, kAlphaBox, WC_EDITW);
                 const HWND spin = Descendant(frame, kSpin, UPDOWN_CLASSW);
                 ASSERT_TRUE(modes && flags && alpha && spin);
                 EXPECT_EQ(SendMessageW(modes, CB_GETCOUNT, 0, 0), 5);
                 EXPECT_EQ(SelectedText(modes),
                           L"4 - \uff9a\uff72\uff94\uff70\uff84\uff9e\uff73\uff68\uff9d\uff84\uff9e\uff73");
                 EXPECT_EQ(SelectedText(flags), L"0 - COLORKEY");
                 EXPECT_EQ(TextOf(alpha), L"250");
                 EXPECT_EQ(LOWORD(SendMessageW(spin, UDM_GETPOS, 0, 0)), 250);
                 EXPECT_TRUE(GetWindowLongPtrW(alpha, GWL_STYLE) & ES_READONLY);
                 EXPECT_EQ(SendMessageW(alpha, EM_GETLIMITTEXT, 0, 0), 3);
                 HoldForScreenshot(frame);

                 // Typing changes nothing; the arrows stop at 255.
                 SendMessageW(alpha, WM_CHAR, L'7', 0);
                 EXPECT_EQ(TextOf(alpha), L"250");
                 for (int i = 0; i < 8; ++i) {
                     SendMessageW(spin, WM_KEYDOWN, VK_UP, 0);
                     SendMessageW(spin, WM_KEYUP, VK_UP, 0);
                 }
                 EXPECT_EQ(TextOf(alpha), L"255");
                 EXPECT_EQ(LOWORD(SendMessageW(spin, UDM_GETPOS, 0, 0)), 255);
                 SendMessageW(spin, WM_KEYDOWN, VK_DOWN, 0);
                 SendMessageW(spin, WM_KEYUP, VK_DOWN, 0);
                 EXPECT_EQ(TextOf(alpha), L"254");
                 // This system's frame never applies its pages (see PageSiteSeesDirtyAndApply).
                 PostMessageW(frame, WM_COMMAND, IDCANCEL, 0);
             });
    EXPECT_EQ(GetShort(control.Get(), 3), 250);
}

// The page site of a frame: records the page's status changes.
class PageSite final : public TestObject<PageSite, IPropertyPageSite> {
public:
    STDMETHODIMP OnStatusChange(DWORD flags) override {
        statuses.push_back(flags);
        return S_OK;
    }
    STDMETHODIMP GetLocaleID(LCID* lcid) override {
        *lcid = LOCALE_USER_DEFAULT;
        return S_OK;
    }
    STDMETHODIMP GetPageContainer(IUnknown** out) override {
        *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }
    std::vector<DWORD> statuses;

};

TEST(PropertyPageObject, PageSiteSeesDirtyAndApplyWritesTheControls) {
    ContainerWindow frame(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 420, 300);
    auto control = NewControl<IDispatch>();
    auto second = NewControl<IDispatch>();
    PutShort(control.Get(), 3, 10);
    {
        ComPtr<IPropertyPage> page;
        ASSERT_EQ(Module::Get().CreatePage(IID_IPropertyPage, page.PutVoid()), S_OK);
        auto site = PageSite::Create();
        ASSERT_EQ(page->SetPageSite(site.Get()), S_OK);
        IUnknown* objects[] = {control.Get(), second.Get()};
        ASSERT_EQ(page->SetObjects(2, objects), S_OK);
        RECT rect{0, 0, 400, 260};
        ASSERT_EQ(page->Activate(frame.Handle(), &rect, TRUE), S_OK);
        ASSERT_EQ(page->Show(SW_SHOW), S_OK);
        const HWND spin = Descendant(frame.Handle(), kSpin, UPDOWN_CLASSW);
        const HWND alpha = Descendant(frame.Handle(), kAlphaBox, WC_EDITW);
        const HWND flags = Descendant(frame.Handle(), kFlagBox, WC_COMBOBOXW);
        ASSERT_TRUE(spin && alpha && flags);
        EXPECT_EQ(TextOf(alpha), L"10");
        EXPECT_EQ(page->IsPageDirty(), S_FALSE);
        EXPECT_TRUE(site->statuses.empty());

        // A click on the lower arrow, as a user would.
        RECT arrows{};
        GetClientRect(spin, &arrows);
        const LPARAM lower = MAKELPARAM(arrows.right / 2, arrows.bottom * 3 / 4);
        SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, lower);
        SendMessageW(spin, WM_LBUTTONUP, 0, lower);
        EXPECT_EQ(TextOf(alpha), L"9");
        EXPECT_EQ(page->IsPageDirty(), S_OK);
        ASSERT_FALSE(site->statuses.empty());
        EXPECT_TRUE(site->statuses.back() & PROPPAGESTATUS_DIRTY);

        for (int i = 0; i < 12; ++i) {
            SendMessageW(spin, WM_KEYDOWN, VK_DOWN, 0);
            SendMessageW(spin, WM_KEYUP, VK_DOWN, 0);
        }
        EXPECT_EQ(TextOf(alpha), L"0");  // never below 0
        SendMessageW(spin, WM_KEYDOWN, VK_UP, 0);
        SendMessageW(spin, WM_KEYUP, VK_UP, 0);
        EXPECT_EQ(TextOf(alpha), L"1");
        SendMessageW(flags, CB_SETCURSEL, 0, 0);
        EXPECT_EQ(page->Apply(), S_OK);
        EXPECT_EQ(page->IsPageDirty(), S_FALSE);
        EXPECT_EQ(page->Deactivate(), S_OK);
        EXPECT_EQ(page->SetObjects(0, nullptr), S_OK);
        EXPECT_EQ(page->SetPageSite(nullptr), S_OK);
    }
    for (IDispatch* edited : {control.Get(), second.Get()}) {
        EXPECT_EQ(GetShort(edited, 3), 1);
        EXPECT_EQ(GetShort(edited, 4), 0);
        EXPECT_EQ(GetShort(edited, 1), 1);
    }
}

TEST_F(PropertyPage, ModeLoadedOutOfRangeSelectsNothing) {
    auto persist = NewControl<IPersistStreamInit>();
    auto stream = ClockStream();
    stream[16] = 7;
    ASSERT_EQ(persist->Load(StreamOf(stream).Get()), S_OK);
    ComPtr<IOleObject> object;
    ASSERT_EQ(persist.As(object), S_OK);
    // The control's own properties verb opens the frame.
    RunModal([&] { return object->DoVerb(OLEIVERB_PROPERTIES, nullptr, nullptr, 0, nullptr, nullptr); },
             [&] {
                 const HWND frame = ActiveModalWindow();
                 ASSERT_TRUE(frame);
                 const HWND modes = Descendant(frame, kTransModeBox, WC_COMBOBOXW);
                 ASSERT_TRUE(modes);
                 EXPECT_EQ(SelectedText(modes), L"<none>");
                 EXPECT_EQ(SelectedText(Descendant(frame, kFlagBox, WC_COMBOBOXW)), L"0 - COLORKEY");
                 PostMessageW(frame, WM_COMMAND, IDCANCEL, 0);
             });
    ComPtr<IDispatch> control;
    ASSERT_EQ(persist.As(control), S_OK);
    EXPECT_EQ(GetShort(control.Get(), 1), 7);
}

TEST(PropertyPageObject, PageInfoAndObjects) {
    ComPtr<IPropertyPage> page;
    ASSERT_EQ(Module::Get().CreatePage(IID_IPropertyPage, page.PutVoid()), S_OK);
    PROPPAGEINFO info{};
    ASSERT_EQ(page->GetPageInfo(&info), S_OK);
    EXPECT_EQ(std::wstring(info.pszTitle), L"General");
    EXPECT_GT(info.size.cx, 192);
    EXPECT_GT(info.size.cy, 110);
    CoTaskMemFree(info.pszTitle);
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
    page.Reset();
    EXPECT_EQ(Module::Get().CanUnloadNow(), S_OK);
}

TEST(AboutBox, ShowsItsTextsAndReturnsOnOk) {
    auto control = NewControl<IDispatch>();
    RunModal(
        [&] {
            DISPPARAMS none{};
            return control->Invoke(DISPID_ABOUTBOX, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
        },
        [&] {
            const HWND about = ActiveModalWindow();
            ASSERT_TRUE(about);
            EXPECT_EQ(TextOf(about), L"About Vitrel32 Control");
            EXPECT_EQ(GetWindow(about, GW_OWNER), nullptr);
            std::vector<std::wstring> texts;
            for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                texts.push_back(TextOf(child));
            ASSERT_EQ(texts.size(), 4u);
            EXPECT_EQ(texts[1], L"Vitrel32 Control, Version 2.00");
            EXPECT_FALSE(texts[2].empty());
            EXPECT_EQ(texts[3], L"OK");
            const HWND picture = GetWindow(about, GW_CHILD);
            EXPECT_TRUE(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0);
            HoldForScreenshot(about);
            SendMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
        });
}

}  // namespace
}  // namespace vitrel::test
