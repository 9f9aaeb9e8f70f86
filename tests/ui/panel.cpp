#include "tests/ui/panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "app/win/form.h"
#include "app/win/modal.h"
#include "app/win/taskbar.h"
#include "panel/frm1.h"

WString g_panel_exe;

std::string TextOf(HWND h) {
    WString w((std::size_t)SendMessageW(h, WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
    w.resize((std::size_t)SendMessageW(h, WM_GETTEXT, (WPARAM)w.size(), (LPARAM)&w[0]));
    return Narrow(w);
}

std::string ClassOf(HWND h) {
    wchar_t buf[256];
    return Narrow(WString(buf, GetClassNameW(h, buf, 256)));
}

HWND FocusOf(HWND window) {
    GUITHREADINFO gui = {sizeof gui};
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
    return gui.hwndFocus;
}

HWND Control(HWND window, const layout::Form& form, const char* name) {
    for (std::size_t i = 0; i < form.count; ++i)
        if (std::string(form.controls[i].name) == name) return GetDlgItem(window, 100 + (int)i);
    return nullptr;
}

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
    for (DWORD start = GetTickCount(); !done(); Sleep(20))
        if (GetTickCount() - start >= ms) return false;
    return true;
}

void Keys(HWND window, std::initializer_list<WORD> keys) {
    if (GetForegroundWindow() != window) SetForegroundWindow(window), Sleep(50);
    std::vector<INPUT> in(2 * keys.size(), {INPUT_KEYBOARD});
    for (std::size_t i = 0, n = keys.size(); i < n; ++i) {
        in[i].ki.wVk = in[2 * n - 1 - i].ki.wVk = keys.begin()[i];
        in[2 * n - 1 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput((UINT)in.size(), in.data(), sizeof(INPUT));
    // Each message sent returns when the thread asks for its next message.
    for (int k = 0; k < 6; ++k) SendMessageTimeoutW(window, WM_NULL, 0, 0, 0, 2000, nullptr);
}

// The program's folder, on the panel's thread (where Game Options reads it) the game folder.
std::string g_folder;
DWORD g_panel_thread;
extern "C" std::string __real__ZN8platform17ApplicationFolderB5cxx11Ev();
extern "C" std::string __wrap__ZN8platform17ApplicationFolderB5cxx11Ev() {
    return GetCurrentThreadId() == g_panel_thread ? g_folder : __real__ZN8platform17ApplicationFolderB5cxx11Ev();
}

namespace {

// The main window's presses to the handlers of the same name, as the program maps them.
struct Frm1Events : Behaviour {
    Frm1& frm1;
    explicit Frm1Events(Frm1& f) : frm1(f) {}
    void Load() override { frm1.Form_Load(); }
    void Click(const char* control) override {
        for (const Frm1::Handler& h : Frm1::kHandlers)
            if (std::strcmp(h.control, control) == 0) (frm1.*h.click)();
    }
};

}  // namespace

Panel::Panel(const TempFolder& folder) {
    static bool registered = (FormWindow::RegisterClasses(), true);
    (void)registered;
    g_folder = folder.path();
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, [](void* p) -> DWORD {
        auto* self = (Panel*)p;
        FormWindow window(layout::kFrm1, RunModal);
        WindowTaskbar taskbar(window);
        Frm1 frm1(window, g_folder, &taskbar);
        Frm1Events events(frm1);
        bool open = window.Open(&events, nullptr);
        self->main_ = window.hwnd();
        SetEvent(self->ready_);
        if (open) RunMessageLoop(window);
        return 0;
    }, this, 0, &g_panel_thread);
    WaitForSingleObject(ready_, 10000);
    Sleep(200);  // let it paint
}

Panel::~Panel() {
    // A quit ends every loop of the thread, message boxes' too.
    if (!Ended(0)) PostThreadMessageW(GetThreadId(thread_), WM_QUIT, 0, 0);
    EXPECT_TRUE(Ended(10000)) << "the panel did not end";
    CloseHandle(thread_);
    CloseHandle(ready_);
}

std::vector<HWND> Panel::Windows() const {
    std::vector<HWND> found;
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, nullptr, nullptr)) != nullptr;)
        if (GetWindowThreadProcessId(h, nullptr) == GetThreadId(thread_) && IsWindowVisible(h))
            found.push_back(h);
    return found;
}

HWND Panel::Find(const std::function<bool(HWND)>& is, DWORD ms) const {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND h : Windows()) found = found ? found : is(h) ? h : nullptr;
        return found;
    }, ms);
    return found;
}

HWND Panel::Open(const layout::Form& form) const {
    Click(Main(&form == &layout::kGameOptions ? "Command7" : &form == &layout::kAbout ? "Command4"
                                                                                     : "Command6"));
    HWND found = Find([&](HWND h) { return TextOf(h) == form.caption; }, 5000);
    Sleep(200);  // let it paint and take the focus
    return found;
}

HWND Panel::Box(const std::string& text, const std::vector<std::string>& buttons) const {
    HWND box = FindBox(5000);
    EXPECT_NE(box, nullptr) << "no message box for \"" << text << "\"";
    Sleep(100);  // let it finish laying out
    EXPECT_EQ(TextOf(box), "The Marrowgate Control");
    EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)), text);
    std::vector<std::string> seen;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == "Button") seen.push_back(TextOf(c));
        // Wine keeps a visible, empty icon control in a box without an icon.
        EXPECT_FALSE(ClassOf(c) == "Static" && SendMessageW(c, STM_GETICON, 0, 0)) << "an icon";
    }
    EXPECT_EQ(seen, buttons);
    return box;
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) return fprintf(stderr, "usage: zarn_uitests <ZARN Control Panal.exe>\n"), 2;
    g_panel_exe = Widen(argv[1]);
    if (g_panel_exe[0] == L'/') {  // a Unix path, as Windows names it under Wine
        std::replace(g_panel_exe.begin(), g_panel_exe.end(), L'/', L'\\');
        g_panel_exe = L"Z:" + g_panel_exe;
    }
    return RUN_ALL_TESTS();
}
