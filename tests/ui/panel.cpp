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

RECT RectIn(HWND h, HWND to) {
    RECT rc;
    GetWindowRect(h, &rc);
    MapWindowPoints(HWND_DESKTOP, to, (POINT*)&rc, 2);
    return rc;
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

int Px(int twips) {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return layout::Pixels(twips, dpi);
}

COLORREF Pixel(HWND window, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(window, &p);
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, p.x, p.y);
    ReleaseDC(nullptr, dc);
    return c;
}

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
    for (DWORD start = GetTickCount(); !done(); Sleep(20))
        if (GetTickCount() - start >= ms) return false;
    return true;
}

void Keys(HWND window, std::initializer_list<WORD> keys) {
    if (GetForegroundWindow() != window) SetForegroundWindow(window), Sleep(50);
    std::vector<INPUT> in;
    for (int up = 0; up < 2; ++up)
        for (std::size_t i = 0; i < keys.size(); ++i) {
            in.push_back({INPUT_KEYBOARD});
            in.back().ki.wVk = up ? keys.begin()[keys.size() - 1 - i] : keys.begin()[i];
            in.back().ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        }
    SendInput((UINT)in.size(), in.data(), sizeof(INPUT));
    // Each message sent returns when the thread asks for its next message.
    for (int k = 0; k < 6; ++k) SendMessageTimeoutW(window, WM_NULL, 0, 0, 0, 2000, nullptr);
}

// The program's folder, which Game Options reads: the panel's game folder.
std::string g_folder;
extern "C" std::string __wrap__ZN8platform17ApplicationFolderB5cxx11Ev() { return g_folder; }

namespace {

// The main window's presses to the handlers of the same name, as the program maps them.
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

Panel::Panel(const TempFolder& folder) {
    g_folder = folder.path();
    static bool registered = (FormWindow::RegisterClasses(), true);
    (void)registered;
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
    }, this, 0, &id_);
    WaitForSingleObject(ready_, 10000);
    Sleep(200);  // let it paint
}

Panel::~Panel() {
    // A quit ends every loop of the thread, message boxes' too.
    if (!Ended(0)) PostThreadMessageW(id_, WM_QUIT, 0, 0);
    EXPECT_TRUE(Ended(10000)) << "the panel did not end";
    CloseHandle(thread_);
    CloseHandle(ready_);
}

std::vector<HWND> Panel::Windows() const {
    std::vector<HWND> found;
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, nullptr, nullptr)) != nullptr;)
        if (GetWindowThreadProcessId(h, nullptr) == id_ && IsWindowVisible(h)) found.push_back(h);
    return found;
}

HWND Panel::Open(const layout::Form& form) const {
    Click(Main(&form == &layout::kGameOptions ? "Command7" : &form == &layout::kAbout ? "Command4"
                                                                                     : "Command6"));
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND h : Windows())
            if (TextOf(h) == form.caption) return (found = h) != nullptr;
        return false;
    });
    Sleep(200);  // let it paint and take the focus
    return found;
}

bool Panel::NoBox(DWORD ms) const {
    return !WaitUntil([&] {
        auto w = Windows();
        return std::any_of(w.begin(), w.end(), [](HWND h) { return ClassOf(h) == "#32770"; });
    }, ms);
}

HWND Panel::Box(const std::string& text, const std::vector<std::string>& buttons) const {
    HWND box = nullptr;
    WaitUntil([&] {
        for (HWND h : Windows())
            if (ClassOf(h) == "#32770") return (box = h) != nullptr;
        return false;
    });
    EXPECT_NE(box, nullptr) << "no message box for \"" << text << "\"";
    if (!box) return box;
    Sleep(100);  // let it finish laying out
    EXPECT_EQ(TextOf(box), "The Marrowgate Control");
    EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)), text);
    std::vector<std::string> seen;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == "Button") seen.push_back(TextOf(c));
        // Wine keeps a visible, empty icon control in a box without an icon.
        EXPECT_FALSE(ClassOf(c) == "Static" && (GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) ==
                     SS_ICON && SendMessageW(c, STM_GETICON, 0, 0)) << "an icon";
    }
    EXPECT_EQ(seen, buttons);
    return box;
}

void Panel::Answer(HWND box, const std::string& button) const {
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == "Button" && TextOf(c) == button)
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), BN_CLICKED), (LPARAM)c);
    EXPECT_TRUE(WaitUntil([=] { return !IsWindow(box); })) << "box still open after " << button;
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: zarn_uitests <path of ZARN Control Panal.exe>\n");
        return 2;
    }
    g_panel_exe = Widen(argv[1]);
    if (g_panel_exe[0] == L'/') {  // a Unix path, as Windows names it under Wine
        std::replace(g_panel_exe.begin(), g_panel_exe.end(), L'/', L'\\');
        g_panel_exe = L"Z:" + g_panel_exe;
    }
    return RUN_ALL_TESTS();
}
