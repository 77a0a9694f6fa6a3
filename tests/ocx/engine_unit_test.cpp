// The engine on its own, with a host of the test's own: a system without
// SetLayeredWindowAttributes, the alpha byte, a missing overlay, and a
// container subclassed again after the engine.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine.h"
#include "module.h"
#include "mock_container.h"

namespace vitrel {
// The module's lock count, in place of the module's own.
LONG g_testLocks = 0;
void LockModule() { ++g_testLocks; }
void UnlockModule() { --g_testLocks; }
}  // namespace vitrel

namespace vitrel::test {
namespace {

class FakeHost final : public EngineHost {
public:
    void FirePaint(HDC dc) override { paints.push_back(dc); }
    short CurrentTransMode() const override { return mode; }
    LayeredSettings CurrentLayered() const override { return {1, 50, 0}; }

    short mode = 1;
    std::vector<HDC> paints;
};

// A child window standing in for the control's own window.
HWND ChildOf(HWND container) {
    return CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 28, 28, container, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

// No C++ exception leaves through a COM method: allocation failures become
// E_OUTOFMEMORY, HRESULTs pass through.
TEST(EngineUnit, GuardedMethodsAnswerAnAllocationFailureWithOutOfMemory) {
    EXPECT_EQ(Guarded([] { throw std::bad_alloc(); }), E_OUTOFMEMORY);
    EXPECT_EQ(Guarded([] { return S_FALSE; }), S_FALSE);
    EXPECT_EQ(Guarded([] {}), S_OK);
}

TEST(EngineUnit, AlphaByteIsAPercentageCappedAtOpaque) {
    const std::pair<short, BYTE> cases[] = {{0, 0},     {1, 2},     {50, 127},  {99, 252},
                                            {100, 255}, {101, 255}, {255, 255}, {-5, 0}};
    for (const auto& [alpha, expected] : cases) EXPECT_EQ(LayeredAlphaByte(alpha), expected) << alpha;
}

TEST(EngineUnit, WithoutSetLayeredWindowAttributesModeFourChangesNothing) {
    ContainerWindow container(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    FakeHost host;
    host.mode = 4;
    Engine engine(host, nullptr);
    EXPECT_FALSE(engine.IsLayered());
    const LONG_PTR before = ExStyle(container.Handle());
    engine.AttachToContainer(ChildOf(container.Handle()), true);
    EXPECT_EQ(ExStyle(container.Handle()), before);

    engine.SetActiveMode(2);
    engine.SwitchMode(2, 4);
    const LONG_PTR wallpaper = ExStyle(container.Handle());
    EXPECT_TRUE(wallpaper & WS_EX_TRANSPARENT);
    engine.SetActiveMode(4);
    engine.SwitchMode(4, 2);
    EXPECT_EQ(ExStyle(container.Handle()), wallpaper);
    EXPECT_NE(GetWindowLongPtrW(container.Handle(), GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(container.OwnProcedure()));
}

TEST(EngineUnit, ModeOneWithoutAnOverlayFiresNoPaint) {
    ContainerWindow container(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    FakeHost host;
    Engine engine(host, LookUpSetLayered());
    engine.AttachToContainer(ChildOf(container.Handle()), true);
    ASSERT_TRUE(engine.Overlay());
    DestroyWindow(engine.Overlay());
    EXPECT_FALSE(engine.Overlay());
    SendMessageW(container.Handle(), WM_TRANSPAINT, 0, 0);
    EXPECT_TRUE(host.paints.empty());
    // Outside mode 1 the container's own device context is painted on.
    engine.SetActiveMode(3);
    SendMessageW(container.Handle(), WM_TRANSPAINT, 0, 0);
    EXPECT_EQ(host.paints.size(), 1u);
}

// Someone else subclassed the container after the engine: on detach the
// engine's procedure stays in the chain but only passes messages on.
TEST(EngineUnit, DetachUnderAnotherSubclassPassesEverythingOn) {
    ContainerWindow container(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    FakeHost host;
    host.mode = 2;
    std::unique_ptr<ForeignSubclass> foreign;
    {
        Engine engine(host, LookUpSetLayered());
        engine.SetActiveMode(2);
        engine.AttachToContainer(ChildOf(container.Handle()), true);
        foreign = std::make_unique<ForeignSubclass>(container.Handle());
    }
    container.Clear();
    host.paints.clear();
    InvalidateRect(container.Handle(), nullptr, TRUE);
    UpdateWindow(container.Handle());
    SetWindowPos(container.Handle(), nullptr, 120, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    EXPECT_GT(foreign->Seen(), 0);
    EXPECT_TRUE(host.paints.empty());
    EXPECT_GE(container.Count(WM_PAINT), 1);
    EXPECT_EQ(container.Count(WM_MOVE), 1);
    // The procedure is still called: the module stays until the container goes.
    EXPECT_EQ(g_testLocks, 1);
    DestroyWindow(container.Handle());
    EXPECT_EQ(g_testLocks, 0);
}

}  // namespace
}  // namespace vitrel::test
