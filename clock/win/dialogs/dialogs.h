// The settings dialogs: display settings (HENKO), initial setup (SYOKI) and
// the about box (VerInfo). Each opens modeless, built anew, and hands over to
// the next window through the app's WindowLauncher.
#pragma once

#include <memory>

#include "app_context.h"

namespace qv::win {

void OpenHenkoWindow(AppContext& app);
void OpenSyokiWindow(AppContext& app);
void OpenVerInfoWindow(AppContext& app);

// The real choosers: ChooseColorW, ChooseFontW, GetOpenFileNameW, WinHelpW.
std::unique_ptr<Choosers> MakeSystemChoosers();

}  // namespace qv::win
