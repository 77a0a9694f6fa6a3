// The one dialog procedure for resource dialogs: the object comes from the
// creation parameter at WM_INITDIALOG and lives in DWLP_USER; from
// WM_NCDESTROY on, no message reaches it.
#pragma once

#include <windows.h>

namespace qv::win {

// T provides INT_PTR DialogMessage(HWND, UINT, WPARAM, LPARAM), answering as a
// DLGPROC does (FALSE: not handled).
template <class T>
INT_PTR CALLBACK DialogThunk(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lp);
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(dialog, DWLP_USER, 0);
    return self->DialogMessage(dialog, msg, wp, lp);
}

}  // namespace qv::win
