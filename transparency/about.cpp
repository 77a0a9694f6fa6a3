// AboutBox(): dialog 1, modal, without an owner window.
#include "control.h"
#include "dialog.h"
#include "resource.h"

namespace vitrel {
namespace {

struct AboutBoxDialog {
    INT_PTR DialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
        switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            break;
        default:
            break;
        }
        return FALSE;
    }
};

}  // namespace

STDMETHODIMP CVitrel32Ctrl::AboutBox() {
    AboutBoxDialog about;
    const INT_PTR result = DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_ABOUTBOX_VITREL32), nullptr,
                                           &qv::win::DialogThunk<AboutBoxDialog>, reinterpret_cast<LPARAM>(&about));
    return result == -1 ? HRESULT_FROM_WIN32(GetLastError()) : S_OK;
}

}  // namespace vitrel
