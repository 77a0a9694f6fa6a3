// Input-method modes of the text boxes: Japanese (hiragana) on entry, off on
// entry, or no input method at all.
#pragma once

#include <windows.h>

namespace qv::win {

// On focus: the input method opens in full-width hiragana.
void OpenHiraganaInput(HWND edit);
// On focus: the input method is closed; the user may still open it.
void CloseInput(HWND edit);
// For good: the box has no input context, so nothing can be converted.
void DisableInput(HWND edit);
// An input-method composition is under way in the box (keys are the input method's).
bool InputComposing(HWND edit);

}  // namespace qv::win
