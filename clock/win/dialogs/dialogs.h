// The settings dialogs: display settings (HENKO), initial setup (SYOKI) and
// the about box (VerInfo). Each opens modeless, built anew, and hands over to
// the next window through the app's WindowLauncher.
#pragma once

#include <windows.h>

#include <memory>

#include "app_context.h"

namespace qv::win {

void OpenHenkoWindow(AppContext& app);
void OpenSyokiWindow(AppContext& app);
void OpenVerInfoWindow(AppContext& app);

// The program's message loop offers every message here before translating
// it: the keys of the settings windows (Tab, arrows, Enter, Esc, F1). True
// when the message was handled and must not be dispatched again.
bool HandleDialogKey(MSG& msg);

// The real choosers: ChooseColorW, ChooseFontW, GetOpenFileNameW, WinHelpW.
std::unique_ptr<Choosers> MakeSystemChoosers();

}  // namespace qv::win
