// Start-up: harden the loader, build the real services and the main window
// from its layout, run its load step, show it, and run the message loop
// until it is closed.
#include "app/win/main.h"

#include <cstring>

#include <windows.h>

#include "app/win/form.h"
#include "app/win/modal.h"
#include "panel/frm1.h"
#include "platform/system.h"
#include "platform/win/system_library.h"
#include "platform/win/taskbar_win.h"

namespace app {

namespace {

// Maps the main window's button presses to the handlers of the same name.
class Frm1Events : public Behaviour {
public:
    explicit Frm1Events(core::Frm1& frm1) : frm1_(frm1) {}
    void Load() override { frm1_.Form_Load(); }
    void Click(const char* control) override {
        for (const core::Frm1::Handler& h : core::Frm1::kHandlers)
            if (std::strcmp(h.control, control) == 0) (frm1_.*h.click)();
    }

private:
    core::Frm1& frm1_;
};

}  // namespace

int RunPanel(const platform::Folder& folder) {
    platform::HardenDllSearch();
    FormWindow::RegisterClasses();

    platform::SystemFiles files;
    platform::SystemPrograms programs;
    platform::SystemSettingsFile settings_file;
    platform::UseSettingsFile use_settings_file(settings_file);
    platform::SteadyClock clock;

    FormWindow window(kFrm1Layout, RunModal, &folder);
    platform::ShellTaskbar taskbar;
    core::Frm1 frm1(window, folder, files, programs, &taskbar, clock);
    Frm1Events events(frm1);
    if (!window.Open(&events, nullptr)) return 1;
    taskbar.SetWindow(window.hwnd());  // the load step shows no progress
    RunMessageLoop(window);
    return 0;
}

}  // namespace app

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    platform::SystemFolder folder;
    return app::RunPanel(folder);
}
