// Start-up: harden the loader, build the main window from its layout, run
// its load step, show it, and run the message loop until it is closed.
#include <cstring>

#include <windows.h>

#include "platform/folder.h"
#include "app/win/form.h"
#include "app/win/modal.h"
#include "app/win/taskbar.h"
#include "panel/frm1.h"
#include "platform/win/system_library.h"

namespace {

// Maps the main window's button presses to the handlers of the same name.
class Frm1Events : public Behaviour {
public:
    explicit Frm1Events(Frm1& frm1) : frm1_(frm1) {}
    void Load() override { frm1_.Form_Load(); }
    void Click(const char* control) override {
        for (const Frm1::Handler& h : Frm1::kHandlers)
            if (std::strcmp(h.control, control) == 0) (frm1_.*h.click)();
    }

private:
    Frm1& frm1_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    platform::HardenDllSearch();
    FormWindow::RegisterClasses();

    FormWindow window(layout::kFrm1, RunModal);
    WindowTaskbar taskbar(window);
    Frm1 frm1(window, platform::ApplicationFolder(), &taskbar);
    Frm1Events events(frm1);
    if (!window.Open(&events, nullptr)) return 1;
    RunMessageLoop(window);
    return 0;
}
