// Registration of the module's window classes.
#include "window_classes.h"

#include "engine.h"
#include "module.h"

namespace vitrel {
namespace {

void Register(const wchar_t* name, UINT style, WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(ModuleInstance(), name, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = ModuleInstance();
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

}  // namespace

void EnsureOverlayClass() { Register(kOverlayClass, CS_DBLCLKS, &Engine::OverlayProc); }

void EnsureControlWindowClass(WNDPROC procedure) { Register(kControlWindowClass, 0, procedure); }

void UnregisterWindowClasses() {
    UnregisterClassW(kOverlayClass, ModuleInstance());
    UnregisterClassW(kControlWindowClass, ModuleInstance());
}

}  // namespace vitrel
