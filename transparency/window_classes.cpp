// Registration of the module's window classes.
#include "window_classes.h"

#include "engine.h"
#include "window.h"

namespace vitrel {
namespace {

void Register(const wchar_t* name, UINT style, WNDPROC procedure) {
    qv::win::RegisterWindowClass({name, procedure, style, LoadIconW(nullptr, IDI_APPLICATION)});
}

}  // namespace

void EnsureOverlayClass() { Register(kOverlayClass, CS_DBLCLKS, &qv::win::WindowThunk<Engine>); }

void EnsureControlWindowClass(WNDPROC procedure) { Register(kControlWindowClass, 0, procedure); }

void UnregisterWindowClasses() {
    qv::win::UnregisterWindowClass(kOverlayClass);
    qv::win::UnregisterWindowClass(kControlWindowClass);
}

}  // namespace vitrel
