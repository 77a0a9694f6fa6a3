// The app context's shared behaviour: how a failed settings save is reported.
#include "app_context.h"

#include "text.h"
#include "zone_places.h"

namespace qv::win {

void ShowSaveError(AppContext& app, HWND owner, const SaveError& error) {
    std::wstring text = L"設定を保存できませんでした。\r\n\r\n" + error.file + L"\r\n" + Widen(error.reason);
    // A first save into a folder that takes no files leaves nothing behind.
    if (RegularFileSize(error.file)) text += L"\r\n\r\n以前の設定ファイルはそのまま残っています。";
    app.messages.Show(owner, text, L"QV", MB_OK | MB_ICONERROR);
}

void RefreshZones(AppContext& app, bool all) {
    if (app.loadZones) {
        if (all) {
            app.zones = app.loadZones(nullptr);
        } else {
            const std::vector<std::string> keys(app.model.ZoneName.begin(), app.model.ZoneName.end());
            app.zones = app.loadZones(&keys);
        }
    }
    ApplyZones(app.model, app.zones);
}

}  // namespace qv::win
