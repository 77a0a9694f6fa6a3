// The transparency engine on real container windows, with the control
// in-place activated through the tests' own site.
#include <gtest/gtest.h>

#include <memory>

#include "handles.h"
#include "hosted.h"
#include "mock_container.h"

namespace vitrel::test {
namespace {

constexpr DWORD kFramed = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
constexpr DWORD kFrameless = WS_POPUP | WS_VISIBLE;

RECT ClientOnScreen(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

RECT WindowRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void MoveBy(HWND window, int dx, int dy) {
    RECT rect = WindowRectOf(window);
    SetWindowPos(window, nullptr, rect.left + dx, rect.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
}

void Repaint(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    PumpMessages();
}

bool ProcedureReplaced(const ContainerWindow& container) {
    return GetWindowLongPtrW(container.Handle(), GWLP_WNDPROC) !=
           reinterpret_cast<LONG_PTR>(container.OwnProcedure());
}

struct Layered {
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
};

Layered LayeredOf(HWND window) {
    Layered result;
    GetLayeredWindowAttributes(window, &result.key, &result.alpha, &result.flags);
    return result;
}

TEST(Engine, ModeOneWaitsForTheFirstMoveThenCutsTheClientArea) {
    ContainerWindow container(kFramed, 100, 100, 300, 200);
    Hosted hosted(container.Handle(), 1);
    ASSERT_EQ(hosted.Activated(), S_OK);
    const HWND overlay = FindOverlay(container.Handle());
    ASSERT_TRUE(overlay);
    EXPECT_FALSE(IsWindowVisible(overlay));
    EXPECT_TRUE(ProcedureReplaced(container));
    EXPECT_TRUE(ExStyle(hosted.Window()) & WS_EX_TRANSPARENT);
    EXPECT_FALSE(ExStyle(container.Handle()) & (WS_EX_TRANSPARENT | WS_EX_LAYERED));

    container.Clear();
    MoveBy(container.Handle(), 20, 10);
    EXPECT_TRUE(IsWindowVisible(overlay));
    EXPECT_TRUE(SameRect(WindowRectOf(overlay), ClientOnScreen(container.Handle())));
    EXPECT_EQ(RegionKind(container.Handle()), COMPLEXREGION);  // the frame alone
    Resize(container.Handle(), 360, 240);
    EXPECT_TRUE(SameRect(WindowRectOf(overlay), ClientOnScreen(container.Handle())));
    EXPECT_EQ(container.Count(WM_MOVE), 0);
    EXPECT_EQ(container.Count(WM_SIZE), 0);

    // The container's painting goes to the overlay through Paint, then its
    // own painting runs as well.
    hosted.Events().paints.clear();
    container.Clear();
    Repaint(container.Handle());
    ASSERT_FALSE(hosted.Events().paints.empty());
    EXPECT_EQ(hosted.Events().paints[0].window, overlay);
    EXPECT_TRUE(hosted.Events().paints[0].usable);
    EXPECT_GE(container.Count(WM_PAINT), 1);
}

// The control's windows and classes belong to its own module: registered
// under the host's instance, they would outlive the module's procedures.
TEST(Engine, WindowClassesBelongToTheModuleNotToTheHost) {
    ContainerWindow container(kFramed, 100, 100, 300, 200);
    Hosted hosted(container.Handle(), 1);
    ASSERT_EQ(hosted.Activated(), S_OK);
    const HMODULE module = GetModuleHandleW(L"Vitrel32.ocx");
    ASSERT_TRUE(module);
    const HWND overlay = FindOverlay(container.Handle());
    ASSERT_TRUE(overlay);
    EXPECT_EQ(reinterpret_cast<HMODULE>(GetWindowLongPtrW(overlay, GWLP_HINSTANCE)), module);
    EXPECT_EQ(reinterpret_cast<HMODULE>(GetWindowLongPtrW(hosted.Window(), GWLP_HINSTANCE)), module);
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(GetClassInfoExW(module, L"TransProc", &info));
    EXPECT_TRUE(GetClassInfoExW(module, L"Vitrel32CtrlWindow", &info));
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), L"TransProc", &info));
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), L"Vitrel32CtrlWindow", &info));
}

TEST(Engine, ModeOneOverlayForwardsMouseInputInClientCoordinates) {
    ContainerWindow container(kFramed, 100, 100, 300, 200);
    ContainerWindow other(kFramed, 600, 100, 200, 100);
    Hosted hosted(container.Handle(), 1);
    MoveBy(container.Handle(), 5, 5);
    const HWND overlay = FindOverlay(container.Handle());
    ASSERT_TRUE(overlay && IsWindowVisible(overlay));
    SetActiveWindow(other.Handle());
    container.Clear();
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEMOVE, WM_RBUTTONDOWN}) {
        SendMessageW(overlay, message, MK_LBUTTON, MAKELPARAM(15, 25));
    }
    PumpMessages();
    std::vector<UINT> mouse;
    for (const auto& m : container.Messages()) {
        if (m.message >= WM_MOUSEFIRST && m.message <= WM_MBUTTONDBLCLK) {
            mouse.push_back(m.message);
            EXPECT_EQ(m.lParam, MAKELPARAM(15, 25));
            EXPECT_EQ(m.wParam, static_cast<WPARAM>(MK_LBUTTON));
        }
    }
    EXPECT_EQ(mouse, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEMOVE, WM_RBUTTONDOWN}));
    EXPECT_EQ(GetActiveWindow(), container.Handle());
}

TEST(Engine, FramelessContainerInModeOneKeepsNothing) {
    ContainerWindow container(kFrameless, 100, 100, 200, 120);
    Hosted hosted(container.Handle(), 1);
    MoveBy(container.Handle(), 10, 0);
    EXPECT_EQ(RegionKind(container.Handle()), NULLREGION);
}

TEST(Engine, ModesTwoAndThreeReplaceTheContainersPainting) {
    for (short mode : {2, 3}) {
        SCOPED_TRACE(mode);
        ContainerWindow container(kFramed, 100, 100, 300, 200);
        Hosted hosted(container.Handle(), mode);
        EXPECT_TRUE(ExStyle(container.Handle()) & WS_EX_TRANSPARENT);
        EXPECT_TRUE(ProcedureReplaced(container));
        container.Clear();
        hosted.Events().paints.clear();
        MoveBy(container.Handle(), 10, 10);
        Resize(container.Handle(), 320, 220);
        RedrawWindow(container.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        PumpMessages();
        EXPECT_EQ(container.Count(WM_MOVE), 0);
        EXPECT_EQ(container.Count(WM_SIZE), 0);
        EXPECT_EQ(container.Count(WM_PAINT), 0);
        EXPECT_EQ(container.Count(WM_ERASEBKGND), 0);
        if (mode == 3) {
            EXPECT_EQ(container.Count(WM_NCPAINT), 0);
        }
        ASSERT_FALSE(hosted.Events().paints.empty());
        EXPECT_EQ(hosted.Events().paints.back().window, container.Handle());
        EXPECT_TRUE(hosted.Events().paints.back().usable);
        EXPECT_FALSE(IsWindowVisible(FindOverlay(container.Handle())));
    }
}

TEST(Engine, CreatedInModeZeroTouchesNothingUntilSwitched) {
    ContainerWindow container(kFramed, 100, 100, 300, 200);
    const LONG_PTR exStyle = ExStyle(container.Handle());
    Hosted hosted(container.Handle(), 0);
    ASSERT_EQ(hosted.Activated(), S_OK);
    ASSERT_TRUE(hosted.Window());
    EXPECT_FALSE(IsWindowVisible(hosted.Window()));
    EXPECT_EQ(ExStyle(container.Handle()), exStyle);
    EXPECT_FALSE(ProcedureReplaced(container));
    EXPECT_EQ(RegionKind(container.Handle()), ERROR);
    const HWND overlay = FindOverlay(container.Handle());
    ASSERT_TRUE(overlay);
    EXPECT_FALSE(IsWindowVisible(overlay));
    const RECT placed = WindowRectOf(overlay);

    // To 1: the overlay shows where it was placed, the client area is cut.
    hosted.SetMode(1);
    EXPECT_TRUE(IsWindowVisible(overlay));
    EXPECT_TRUE(SameRect(WindowRectOf(overlay), placed));
    EXPECT_TRUE(ProcedureReplaced(container));
    EXPECT_EQ(RegionKind(container.Handle()), COMPLEXREGION);
    container.Clear();
    MoveBy(container.Handle(), 30, 0);
    EXPECT_TRUE(SameRect(WindowRectOf(overlay), ClientOnScreen(container.Handle())));
    EXPECT_EQ(container.Count(WM_MOVE), 0);

    // Back to 0: a plain window again.
    SetWindowLongPtrW(container.Handle(), GWL_EXSTYLE, ExStyle(container.Handle()) | WS_EX_TRANSPARENT);
    hosted.SetMode(0);
    EXPECT_EQ(RegionKind(container.Handle()), ERROR);
    EXPECT_FALSE(IsWindowVisible(overlay));
    EXPECT_FALSE(ProcedureReplaced(container));
    EXPECT_FALSE(ExStyle(container.Handle()) & (WS_EX_TRANSPARENT | WS_EX_LAYERED));
    container.Clear();
    MoveBy(container.Handle(), 10, 0);
    EXPECT_EQ(container.Count(WM_MOVE), 1);
}

TEST(Engine, SwitchFromLayeredToWallpaper) {
    ContainerWindow container(kFramed, 100, 100, 300, 200);
    Hosted hosted(container.Handle(), 4);
    EXPECT_TRUE(ExStyle(container.Handle()) & WS_EX_LAYERED);
    EXPECT_FALSE(ProcedureReplaced(container));
    const Layered initial = LayeredOf(container.Handle());
    EXPECT_EQ(initial.flags, static_cast<DWORD>(LWA_ALPHA));
    EXPECT_EQ(initial.alpha, 255);  // LayeredAlpha 255 counts as opaque

    hosted.SetMode(2);
    EXPECT_FALSE(ExStyle(container.Handle()) & WS_EX_LAYERED);
    EXPECT_TRUE(ExStyle(container.Handle()) & WS_EX_TRANSPARENT);
    EXPECT_TRUE(ProcedureReplaced(container));

    hosted.SetMode(4);
    EXPECT_TRUE(ExStyle(container.Handle()) & WS_EX_LAYERED);
    EXPECT_FALSE(ExStyle(container.Handle()) & WS_EX_TRANSPARENT);
    EXPECT_FALSE(ProcedureReplaced(container));
}

TEST(Engine, LayeredAttributesFollowTheSettingsAtTheSwitch) {
    ContainerWindow container(kFramed, 100, 100, 300, 200);
    Hosted hosted(container.Handle(), 0);
    IDispatch* control = hosted.Dispatch();
    for (const auto& [alpha, expected] : {std::pair{0, 0}, {50, 127}, {100, 255}, {200, 255}, {1, 2}}) {
        SCOPED_TRACE(alpha);
        PutShort(control, 4, 1);
        PutShort(control, 3, static_cast<short>(alpha));
        hosted.SetMode(4);
        const Layered layered = LayeredOf(container.Handle());
        EXPECT_EQ(layered.flags, static_cast<DWORD>(LWA_ALPHA));
        EXPECT_EQ(layered.alpha, expected);
    }

    PutLong(control, 2, 0x00E3DFE0);
    PutShort(control, 4, 0);
    // Nothing changes on the window before the mode is set again.
    EXPECT_EQ(LayeredOf(container.Handle()).flags, static_cast<DWORD>(LWA_ALPHA));
    hosted.SetMode(4);
    const Layered keyed = LayeredOf(container.Handle());
    EXPECT_EQ(keyed.flags, static_cast<DWORD>(LWA_COLORKEY));
    EXPECT_EQ(keyed.key, 0x00E3DFE0u);

    // A system colour goes to the window as it is, not resolved.
    PutLong(control, 2, static_cast<LONG>(0x80000005u));
    hosted.SetMode(4);
    EXPECT_EQ(LayeredOf(container.Handle()).key, 0x80000005u);
}

TEST(Engine, ClockHostingFromTheProgramFolder) {
    // What the clock does: site first, the stored stream, in-place
    // activation, then TransMode 4 and LayeredFlag 0 by DISPID as VT_I2.
    ContainerWindow container(kFrameless, 100, 100, 300, 200);
    {
        auto object = NewControl<IOleObject>();
        ASSERT_TRUE(object);
        DWORD misc = 0;
        object->GetMiscStatus(DVASPECT_CONTENT, &misc);
        EXPECT_TRUE(misc & OLEMISC_SETCLIENTSITEFIRST);
        auto site = TestSite::Create(container.Handle(), RECT{-28, -28, 0, 0});
        ASSERT_EQ(object->SetClientSite(site.Get()), S_OK);
        ComPtr<IPersistStreamInit> persist;
        ASSERT_EQ(object.As(persist), S_OK);
        ASSERT_EQ(persist->Load(StreamOf(ClockStream()).Get()), S_OK);
        RECT rect{-28, -28, 0, 0};
        ASSERT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.Get(), 0, container.Handle(), &rect), S_OK);
        EXPECT_EQ(site->Calls(), (std::vector<std::string>{"CanInPlaceActivate", "OnInPlaceActivate",
                                                           "GetWindowContext", "ShowObject"}));
        ComPtr<IDispatch> control;
        ASSERT_EQ(object.As(control), S_OK);
        EXPECT_EQ(PutShort(control.Get(), 1, 4), S_OK);
        EXPECT_EQ(PutShort(control.Get(), 4, 0), S_OK);
        const Layered layered = LayeredOf(container.Handle());
        EXPECT_TRUE(ExStyle(container.Handle()) & WS_EX_LAYERED);
        EXPECT_EQ(layered.flags, static_cast<DWORD>(LWA_COLORKEY));
        EXPECT_EQ(layered.key, 0x00E3DFE0u);
        EXPECT_FALSE(ProcedureReplaced(container));

        ComPtr<IOleInPlaceObject> inPlace;
        ASSERT_EQ(object.As(inPlace), S_OK);
        EXPECT_EQ(inPlace->InPlaceDeactivate(), S_OK);
        EXPECT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
        EXPECT_EQ(object->SetClientSite(nullptr), S_OK);
        EXPECT_EQ(site->Calls().back(), "OnInPlaceDeactivate");
        EXPECT_EQ(site->Refs(), 1u);
    }
    EXPECT_EQ(Module::Get().CanUnloadNow(), S_OK);
}

TEST(Engine, SwitchFromOneToFourHidesTheOverlay) {
    ContainerWindow container(kFramed, 100, 100, 300, 200);
    Hosted hosted(container.Handle(), 1);
    MoveBy(container.Handle(), 5, 5);
    const HWND overlay = FindOverlay(container.Handle());
    ASSERT_TRUE(IsWindowVisible(overlay));
    hosted.SetMode(4);
    EXPECT_FALSE(IsWindowVisible(overlay));
    EXPECT_EQ(RegionKind(container.Handle()), ERROR);
    EXPECT_FALSE(ProcedureReplaced(container));
}

TEST(Engine, DestroyedControlGivesTheContainerItsProcedureBack) {
    ContainerWindow container(kFramed, 100, 100, 300, 200);
    Hosted hosted(container.Handle(), 2);
    ASSERT_TRUE(ProcedureReplaced(container));
    hosted.Close();
    EXPECT_FALSE(ProcedureReplaced(container));
    EXPECT_FALSE(FindOverlay(container.Handle()));
    container.Clear();
    Repaint(container.Handle());
    MoveBy(container.Handle(), 5, 0);
    EXPECT_GE(container.Count(WM_PAINT), 1);
    EXPECT_EQ(container.Count(WM_MOVE), 1);
    EXPECT_EQ(Module::Get().CanUnloadNow(), S_OK);
}

// Destroying the control makes a live container a plain window again, from
// every mode: no styles, no region, its own procedure.
TEST(Engine, DestroyedControlLeavesAPlainContainer) {
    for (short mode : {1, 2, 3, 4}) {
        SCOPED_TRACE(mode);
        ContainerWindow container(kFramed, 100, 100, 300, 200);
        const LONG_PTR exStyle = ExStyle(container.Handle());
        Hosted hosted(container.Handle(), 1);
        MoveBy(container.Handle(), 5, 5);
        hosted.SetMode(mode);
        hosted.Close();
        EXPECT_EQ(ExStyle(container.Handle()), exStyle);
        EXPECT_EQ(RegionKind(container.Handle()), ERROR);
        EXPECT_FALSE(ProcedureReplaced(container));
        EXPECT_EQ(Module::Get().CanUnloadNow(), S_OK);
    }
}

// A subclass of the host's on top of the engine's procedure: the engine can
// not take its procedure out, so it passes everything on from modes 0 and 4.
TEST(Engine, ForeignSubclassOnTopKeepsTheHostsProcedureInModesZeroAndFour) {
    ContainerWindow container(kFramed, 100, 100, 300, 200);
    Hosted hosted(container.Handle(), 1);
    MoveBy(container.Handle(), 5, 5);
    ForeignSubclass foreign(container.Handle());
    for (short mode : {0, 4}) {
        SCOPED_TRACE(mode);
        hosted.SetMode(mode);
        container.Clear();
        hosted.Events().paints.clear();
        foreign.Clear();
        Resize(container.Handle(), 320, 220);
        Repaint(container.Handle());
        EXPECT_GT(foreign.Seen(), 0);
        EXPECT_EQ(container.Count(WM_SIZE), 1);
        EXPECT_GE(container.Count(WM_PAINT), 1);
        EXPECT_TRUE(hosted.Events().paints.empty());
        EXPECT_EQ(RegionKind(container.Handle()), ERROR);
        Resize(container.Handle(), 300, 200);
    }
    // Back in mode 2 the same procedure in the chain takes over the painting again.
    hosted.SetMode(2);
    hosted.Events().paints.clear();
    Repaint(container.Handle());
    EXPECT_FALSE(hosted.Events().paints.empty());
    hosted.Close();
    // Still in the chain: the module must stay until the container goes.
    EXPECT_EQ(Module::Get().CanUnloadNow(), S_FALSE);
    container.Clear();
    Repaint(container.Handle());
    EXPECT_GE(container.Count(WM_PAINT), 1);
}

TEST(Engine, ContainerClosedBeforeTheControl) {
    // The clock's window may go before its control is deactivated.
    auto container = std::make_unique<ContainerWindow>(kFramed, 100, 100, 300, 200);
    Hosted hosted(container->Handle(), 1);
    MoveBy(container->Handle(), 5, 5);
    container.reset();
    EXPECT_FALSE(hosted.Window());
    hosted.Close();
    EXPECT_EQ(Module::Get().CanUnloadNow(), S_OK);
}

TEST(Engine, NothingRunsInADesigner) {
    ContainerWindow container(kFramed, 100, 100, 300, 200);
    const LONG_PTR exStyle = ExStyle(container.Handle());
    Hosted hosted(container.Handle(), 2, false, RECT{10, 10, 50, 40});
    ASSERT_EQ(hosted.Activated(), S_OK);
    hosted.SetMode(1);
    hosted.SetMode(4);
    EXPECT_FALSE(FindOverlay(container.Handle()));
    EXPECT_EQ(ExStyle(container.Handle()), exStyle);
    EXPECT_FALSE(ProcedureReplaced(container));
    EXPECT_EQ(RegionKind(container.Handle()), ERROR);
    EXPECT_TRUE(IsWindowVisible(hosted.Window()));
    // In a designer the control asks for 28 x 28 pixels.
    Repaint(hosted.Window());
    const auto& calls = hosted.Site().Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "OnPosRectChange"), calls.end());
}

TEST(Engine, TwoControlsKeepTheirOwnContainers) {
    ContainerWindow first(kFramed, 100, 100, 300, 200);
    ContainerWindow second(kFramed, 500, 100, 300, 200);
    Hosted a(first.Handle(), 2);
    Hosted b(second.Handle(), 3);
    a.Events().paints.clear();
    b.Events().paints.clear();
    Repaint(first.Handle());
    EXPECT_FALSE(a.Events().paints.empty());
    EXPECT_TRUE(b.Events().paints.empty());
    b.Close();
    EXPECT_FALSE(ProcedureReplaced(second));
    EXPECT_TRUE(ProcedureReplaced(first));
    a.Events().paints.clear();
    Repaint(first.Handle());
    EXPECT_FALSE(a.Events().paints.empty());
}

// The picture of a designer, drawn through IViewObject at 28 x 28; nothing at run time.
TEST(Engine, DesignerPictureOnlyInADesigner) {
    ContainerWindow container(kFramed, 100, 100, 300, 200);
    for (bool userMode : {false, true}) {
        SCOPED_TRACE(userMode);
        Hosted hosted(container.Handle(), 0, userMode);
        ComPtr<IViewObject2> view;
        ASSERT_EQ(hosted.Object()->QueryInterface(IID_IViewObject2, view.PutVoid()), S_OK);
        const qv::win::WindowDc screen(nullptr);
        const qv::win::UniqueMemoryDc memoryDc(CreateCompatibleDC(screen.get()));
        const qv::win::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 28, 28));
        HDC memory = memoryDc.get();
        const qv::win::SelectScope selected(memory, bitmap.get());
        RECT all{0, 0, 28, 28};
        FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        RECTL bounds{0, 0, 28, 28};
        EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, memory, &bounds, nullptr, nullptr, 0),
                  S_OK);
        // The caption bar of the picture is navy.
        EXPECT_EQ(GetPixel(memory, 14, 4), userMode ? RGB(255, 255, 255) : RGB(0, 0, 128));
        SIZEL extent{};
        EXPECT_EQ(view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &extent), S_OK);
        EXPECT_EQ(extent.cx, 741);
    }
}

}  // namespace
}  // namespace vitrel::test
