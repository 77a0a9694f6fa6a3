// QV.exe's entry point: the shared model and services, the start-up window,
// and the one message loop.
#include <windows.h>
#include <objbase.h>
#include <ole2.h>

#include <memory>

#include "../core/settings_model.h"
#include "app_context.h"
#include "application.h"
#include "platform.h"
#if QV_HAVE_DIALOGS
#include "dialogs/dialogs.h"
#endif

namespace {

#if !QV_HAVE_DIALOGS
// Until the settings dialogs join, nothing asks for a chooser.
class NoChoosers final : public qv::win::Choosers {
public:
    std::optional<COLORREF> ChooseColor(HWND, COLORREF) override { return std::nullopt; }
    std::optional<qv::win::FontChoice> ChooseFont(HWND, const qv::win::FontChoice&) override { return std::nullopt; }
    std::optional<std::wstring> ChooseOpenFile(HWND, const std::wstring&) override { return std::nullopt; }
    void ShowHelp(HWND, const std::wstring&) override {}
};
#endif

// OleInitialize ... OleUninitialize: the picture loader and the hosted control need it.
class OleScope {
public:
    OleScope() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleScope() {
        if (ok_) OleUninitialize();
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;

private:
    bool ok_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    OleScope ole;
    qv::SettingsModel model;
    qv::win::SystemClock clock;
    qv::win::SystemMessages messages;
    qv::win::SystemProcess process;
#if QV_HAVE_DIALOGS
    std::unique_ptr<qv::win::Choosers> choosers = qv::win::MakeSystemChoosers();
#else
    std::unique_ptr<qv::win::Choosers> choosers = std::make_unique<NoChoosers>();
#endif
    qv::win::Application application(instance, process);
    qv::win::AppContext app{model, qv::win::ProgramFolder(), clock, messages, *choosers, application, instance};
    application.Attach(app);
    application.LoadVr();
    return application.Run();
}
