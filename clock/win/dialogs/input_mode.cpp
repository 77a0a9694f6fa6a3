// Input-method modes through imm32. A system without an input method has no
// context to set; that is not an error.
#include "input_mode.h"

#include <imm.h>

namespace qv::win {

namespace {

class InputContext {
public:
    explicit InputContext(HWND hwnd) : hwnd_(hwnd), himc_(ImmGetContext(hwnd)) {}
    ~InputContext() { if (himc_) ImmReleaseContext(hwnd_, himc_); }
    InputContext(const InputContext&) = delete;
    InputContext& operator=(const InputContext&) = delete;
    HIMC get() const { return himc_; }

private:
    HWND hwnd_;
    HIMC himc_;
};

}  // namespace

void OpenHiraganaInput(HWND edit) {
    InputContext context(edit);
    if (!context.get()) return;
    ImmSetOpenStatus(context.get(), TRUE);
    DWORD conversion = 0, sentence = 0;
    ImmGetConversionStatus(context.get(), &conversion, &sentence);
    conversion = (conversion & ~(IME_CMODE_KATAKANA)) | IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE;
    ImmSetConversionStatus(context.get(), conversion, sentence);
}

void CloseInput(HWND edit) {
    InputContext context(edit);
    if (context.get()) ImmSetOpenStatus(context.get(), FALSE);
}

void DisableInput(HWND edit) {
    // The previous context is the thread's default one, which the system owns.
    ImmAssociateContext(edit, nullptr);
}

bool InputComposing(HWND edit) {
    InputContext context(edit);
    return context.get() && ImmGetCompositionStringW(context.get(), GCS_COMPSTR, nullptr, 0) > 0;
}

}  // namespace qv::win
