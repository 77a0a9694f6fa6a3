// The module's instance and the registration of its window classes.
#include "window.h"

// The linker's symbol at the start of each module's own image.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace qv::win {

HINSTANCE ModuleInstance() {
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

HINSTANCE RegisterWindowClass(const WindowClass& windowClass) {
    HINSTANCE instance = ModuleInstance();
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, windowClass.name, &existing)) return instance;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = windowClass.style;
    wc.lpfnWndProc = windowClass.procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = windowClass.icon;
    wc.hbrBackground = windowClass.background;
    wc.lpszClassName = windowClass.name;
    return RegisterClassExW(&wc) ? instance : nullptr;
}

void UnregisterWindowClass(const wchar_t* name) {
    UnregisterClassW(name, ModuleInstance());
}

}  // namespace qv::win
