// QV.exe's entry point: the shared model and services, the start-up window,
// and the one message loop.
#include <windows.h>
#include <objbase.h>
#include <ole2.h>

#include <memory>

#include "settings_model.h"
#include "app_context.h"
#include "application.h"
#include "date_names.h"
#include "platform.h"
#include "dialogs.h"
#include "ole_scope.h"
#include "system_zones.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // The picture loader and the hosted control need OLE on this thread.
    qv::win::OleScope ole;
    qv::SetDateNames(qv::win::UserDateNames());
    qv::SettingsModel model;
    qv::win::SystemClock clock;
    qv::win::SystemMessages messages;
    qv::win::SystemProcess process;
    std::unique_ptr<qv::win::Choosers> choosers = qv::win::MakeSystemChoosers();
    qv::win::Application application(instance, process);
    qv::win::AppContext app{model, qv::win::ProgramFolder(), clock, messages, *choosers, application, instance};
    // The zones are read with the places (only theirs), and all of them for the setup form.
    app.loadZones = [](const std::vector<std::string>* keys) {
        return keys ? qv::win::LoadSystemZones(*keys) : qv::win::LoadSystemZones();
    };
    qv::win::ZoneWatch zoneWatch;
    app.zonesChanged = [&zoneWatch] { return zoneWatch.Changed(); };
    app.zonesEvent = zoneWatch.event();
    application.Attach(app);
    application.LoadVr();
    return application.Run();
}
