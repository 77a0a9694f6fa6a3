// The control in hosts that are not the clock: the system's ATL container
// (AtlAxWin, activation by ProgID), two containers at once, a host that
// subclasses its window after the control, and COM unloading the module.
// The control is registered machine-wide for these cases (ATL activates by
// ProgID, which under Wine needs the machine-wide keys).
#include <gtest/gtest.h>

#include "hosted.h"

namespace vitrel::test {
namespace {

constexpr wchar_t kModuleName[] = L"Vitrel32.ocx";

// The system's ATL host, looked up at run time as a host program would,
// once for the whole program (its window class stays registered).
class AtlHost {
public:
    static const AtlHost& Get() {
        static const AtlHost host;
        return host;
    }

private:
    AtlHost() : atl_(LoadLibraryW(L"atl.dll")) {
        if (!atl_) return;
        using InitFn = BOOL(WINAPI*)();
        auto init = reinterpret_cast<InitFn>(reinterpret_cast<void*>(GetProcAddress(atl_, "AtlAxWinInit")));
        getControl_ = reinterpret_cast<GetControlFn>(reinterpret_cast<void*>(GetProcAddress(atl_, "AtlAxGetControl")));
        ready_ = init && getControl_ && init();
    }
    ~AtlHost() {
        if (atl_) FreeLibrary(atl_);
    }
    AtlHost(const AtlHost&) = delete;
    AtlHost& operator=(const AtlHost&) = delete;

public:
    bool Ready() const { return ready_; }
    ComPtr<IDispatch> Control(HWND window) const {
        ComPtr<IUnknown> unknown;
        ComPtr<IDispatch> control;
        if (SUCCEEDED(getControl_(window, unknown.Put()))) unknown.As(control);
        return control;
    }

private:
    using GetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);
    HMODULE atl_;
    GetControlFn getControl_ = nullptr;
    bool ready_ = false;
};

// A top-level AtlAxWin window hosting the control by its ProgID.
class AtlWindow {
public:
    AtlWindow(int x, int y)
        : window_(CreateWindowExW(0, L"AtlAxWin", kControlProgId.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y,
                                  300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {
        PumpMessages();
    }
    ~AtlWindow() { Destroy(); }
    AtlWindow(const AtlWindow&) = delete;
    AtlWindow& operator=(const AtlWindow&) = delete;

    HWND Handle() const { return window_; }
    void Destroy() {
        if (window_) DestroyWindow(window_);
        window_ = nullptr;
        PumpMessages();
    }

private:
    HWND window_;
};

// The control's own window, the one child of its container.
HWND ControlWindow(HWND container) { return GetWindow(container, GW_CHILD); }

SIZE SizeOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// What each mode leaves on the container: its extended styles, whether it
// has a region, and whether the engine's procedure is on top.
struct ModeState {
    short mode;
    LONG_PTR exStyles;  // of WS_EX_LAYERED | WS_EX_TRANSPARENT
    bool region;
    bool engineProcedure;
};

constexpr ModeState kModeStates[] = {
    {2, WS_EX_TRANSPARENT, false, true}, {3, WS_EX_TRANSPARENT, false, true}, {1, 0, true, true},
    {4, WS_EX_LAYERED, false, false},    {0, 0, false, false},
};

void ExpectState(HWND container, const ModeState& state, LONG_PTR engineProcedure) {
    SCOPED_TRACE(state.mode);
    EXPECT_EQ(ExStyle(container) & (WS_EX_LAYERED | WS_EX_TRANSPARENT), state.exStyles);
    EXPECT_EQ(RegionKind(container) != ERROR, state.region);
    EXPECT_EQ(GetWindowLongPtrW(container, GWLP_WNDPROC) == engineProcedure, state.engineProcedure);
}

class Host : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(Regsvr32(L""), 0); }
    static void TearDownTestSuite() { EXPECT_EQ(Regsvr32(L"/u"), 0); }
    void SetUp() override { ASSERT_TRUE(atl_.Ready()) << "atl.dll or AtlAxWinInit is missing"; }

    const AtlHost& atl_ = AtlHost::Get();
};

TEST_F(Host, AtlContainerThroughEveryMode) {
    AtlWindow host(100, 100);
    ASSERT_TRUE(host.Handle());
    const ComPtr<IDispatch> control = atl_.Control(host.Handle());
    ASSERT_TRUE(control);
    // Created in mode 1: the engine's procedure is on top of ATL's.
    const LONG_PTR engine = GetWindowLongPtrW(host.Handle(), GWLP_WNDPROC);
    for (const ModeState& state : kModeStates) {
        SetMode(control.Get(), state.mode);
        ExpectState(host.Handle(), state, engine);
        // Where the engine's procedure is not on top ATL sees WM_SIZE and
        // sizes its control; in modes 1 to 3 the engine takes the message.
        if (state.engineProcedure) continue;
        Resize(host.Handle(), 320 + state.mode * 10, 200);
        RECT client{};
        GetClientRect(host.Handle(), &client);
        EXPECT_EQ(SizeOf(ControlWindow(host.Handle())).cx, client.right) << state.mode;
    }
}

// The host subclasses its window after the control: from mode 0 on, its
// own procedure (ATL's) still sees the size changes and sizes the control.
TEST_F(Host, AtlContainerSubclassedAfterTheControl) {
    AtlWindow host(100, 100);
    const ComPtr<IDispatch> control = atl_.Control(host.Handle());
    ASSERT_TRUE(control);
    ForeignSubclass foreign(host.Handle());
    for (short mode : {0, 4, 0}) {
        SCOPED_TRACE(mode);
        SetMode(control.Get(), mode);
        Resize(host.Handle(), 350 + mode, 220);
        RECT client{};
        GetClientRect(host.Handle(), &client);
        EXPECT_EQ(SizeOf(ControlWindow(host.Handle())).cx, client.right);
        EXPECT_EQ(ExStyle(host.Handle()) & (WS_EX_LAYERED | WS_EX_TRANSPARENT), mode == 4 ? WS_EX_LAYERED : 0);
    }
}

TEST_F(Host, TwoAtlContainersSwitchIndependently) {
    auto first = std::make_unique<AtlWindow>(100, 100);
    AtlWindow second(500, 100);
    ComPtr<IDispatch> a = atl_.Control(first->Handle());
    ComPtr<IDispatch> b = atl_.Control(second.Handle());
    ASSERT_TRUE(a && b);
    const LONG_PTR engine = GetWindowLongPtrW(second.Handle(), GWLP_WNDPROC);
    SetMode(a.Get(), 4);
    SetMode(b.Get(), 2);
    ExpectState(first->Handle(), kModeStates[3], engine);
    ExpectState(second.Handle(), kModeStates[0], engine);
    first.reset();
    // The other one goes on working through every mode.
    for (const ModeState& state : kModeStates) {
        SetMode(b.Get(), state.mode);
        ExpectState(second.Handle(), state, engine);
    }
    // ATL takes its own procedure back when its window goes: nothing of the
    // module is left in a chain, so nothing holds it.
    SetMode(b.Get(), 2);
    second.Destroy();
    a.Reset();
    b.Reset();
    EXPECT_EQ(Module::Get().CanUnloadNow(), S_OK);
}

// Run in a child process (it may crash): a host subclasses its container
// after the control, releases the control and asks COM to unload what is
// unused; the module must stay while its procedure can still be called.
TEST(HostChild, DISABLED_UnloadUnderALiveProcedure) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    auto container = std::make_unique<ContainerWindow>(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    {
        ComPtr<IOleObject> object;
        ASSERT_EQ(CoCreateInstance(CLSID_Vitrel, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object.PutVoid()),
                  S_OK);
        Hosted hosted(std::move(object), container->Handle(), 2);
        ForeignSubclass foreign(container->Handle());
        hosted.Close();
        CoFreeUnusedLibrariesEx(0, 0);
        EXPECT_TRUE(GetModuleHandleW(kModuleName));
        // The message that would run in a freed module.
        container->Clear();
        Resize(container->Handle(), 320, 220);
        InvalidateRect(container->Handle(), nullptr, TRUE);
        UpdateWindow(container->Handle());
        EXPECT_EQ(container->Count(WM_SIZE), 1);
        EXPECT_GT(foreign.Seen(), 0);
        container.reset();
    }
    // With the container gone nothing of the module can be called.
    CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_FALSE(GetModuleHandleW(kModuleName));
    OleUninitialize();
}

TEST_F(Host, ModuleStaysLoadedUnderALiveProcedure) {
    wchar_t self[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    const int code = RunProcess(L"\"" + std::wstring(self) +
                                L"\" --gtest_also_run_disabled_tests --gtest_filter=HostChild.DISABLED_*");
    EXPECT_EQ(code, 0) << "the child failed or crashed";
}

}  // namespace
}  // namespace vitrel::test
