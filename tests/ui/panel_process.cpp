#include "tests/ui/panel_process.h"

#include <gtest/gtest.h>

#include <algorithm>

WString g_panel_exe;

WString BesideTests(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    WString w(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return w.substr(0, w.find_last_of(L'\\') + 1) + name;
}

std::string WindowText(HWND hwnd) {
    wchar_t buf[4096];
    return Narrow(WString(buf, std::max(GetWindowTextW(hwnd, buf, 4096), 0)));
}

std::string TextOf(HWND control) {
    WString w((std::size_t)SendMessageW(control, WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
    w.resize((std::size_t)SendMessageW(control, WM_GETTEXT, (WPARAM)w.size(), (LPARAM)&w[0]));
    return Narrow(w);
}

std::string ClassOf(HWND hwnd) {
    wchar_t buf[256];
    return Narrow(WString(buf, GetClassNameW(hwnd, buf, 256)));
}

RECT RectInParent(HWND control) {
    RECT rc;
    GetWindowRect(control, &rc);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), (POINT*)&rc, 2);
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

UINT ScreenDpi() {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return (UINT)dpi;
}

void SendKeys(HWND window, std::initializer_list<WORD> keys) {
    std::vector<INPUT> in;
    auto add = [&](WORD key, DWORD flags) {
        in.push_back({INPUT_KEYBOARD});
        in.back().ki.wVk = key;
        in.back().ki.dwFlags = flags;
    };
    for (WORD key : keys) add(key, 0);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) add(*key, KEYEVENTF_KEYUP);
    SendInput((UINT)in.size(), in.data(), sizeof(INPUT));
    // Each message sent returns when the thread asks for its next message.
    for (int k = 0; k < 6; ++k) SendMessageTimeoutW(window, WM_NULL, 0, 0, 0, 2000, nullptr);
}

void PressKeys(HWND window, std::initializer_list<WORD> keys) {
    SetForegroundWindow(window);
    Sleep(50);
    SendKeys(window, keys);
}

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
    for (DWORD start = GetTickCount(); !done(); Sleep(20))
        if (GetTickCount() - start >= ms) return false;
    return true;
}

PanelProcess::PanelProcess(const TempFolder& folder, const std::string& working_directory) {
    WString exe = Widen(folder.File("ZARN Control Panal.exe")), cmd = L"\"" + exe + L"\"";
    STARTUPINFOW si = {sizeof si};
    if (CopyFileW(g_panel_exe.c_str(), exe.c_str(), FALSE) &&
        CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                       Widen(working_directory.empty() ? folder.path() : working_directory).c_str(),
                       &si, &pi_)) {
        WaitForInputIdle(pi_.hProcess, 10000);
        const std::string caption = layout::kFrm1.caption;
        main_ = WaitForWindow(nullptr, &caption, 10000);
    }
}

PanelProcess::~PanelProcess() {
    if (!pi_.hProcess) return;
    if (TerminateProcess(pi_.hProcess, 1)) WaitForSingleObject(pi_.hProcess, 5000);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
}

HWND PanelProcess::WaitForWindow(const wchar_t* cls, const std::string* caption, DWORD ms) const {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, cls, nullptr)) != nullptr;) {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid == pi_.dwProcessId && IsWindowVisible(h) &&
                (!caption || WindowText(h) == *caption))
                return (found = h) != nullptr;
        }
        return false;
    }, ms);
    return found;
}

HWND PanelProcess::Open(const layout::Form& form) const {
    Click(Main(&form == &layout::kGameOptions ? "Command7" : &form == &layout::kAbout ? "Command4"
                                                                                     : "Command6"));
    HWND w = WaitForWindow(form.caption);
    Sleep(200);  // let it paint and take the focus
    return w;
}

HWND ExpectBox(const PanelProcess& panel, const std::string& text,
               const std::vector<std::string>& buttons) {
    HWND box = panel.WaitForWindow(L"#32770", nullptr);
    EXPECT_NE(box, nullptr) << "no message box for \"" << text << "\"";
    if (!box) return box;
    Sleep(100);  // let it finish laying out
    EXPECT_EQ(WindowText(box), "The Marrowgate Control");
    EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), text);
    std::vector<std::string> seen;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == "Button") seen.push_back(WindowText(c));
        // Wine keeps the icon control of a box without an icon, visible and
        // empty: only an icon set in it counts.
        EXPECT_FALSE(ClassOf(c) == "Static" && IsWindowVisible(c) &&
                     (GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                     SendMessageW(c, STM_GETICON, 0, 0)) << "an icon";
    }
    EXPECT_EQ(seen, buttons);
    return box;
}

void AnswerAndWait(HWND box, const std::string& button) {
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == "Button" && WindowText(c) == button)
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), BN_CLICKED), (LPARAM)c);
    EXPECT_TRUE(WaitGone(box)) << "box still open after " << button;
}

bool PanelProcess::WaitForExit(DWORD ms) const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0;
}

bool HookInside(HWND window) {
    static HMODULE dll = LoadLibraryW(BesideTests(L"inside.dll").c_str());
    auto proc = dll ? (HOOKPROC)(void*)GetProcAddress(dll, "CallWndProc") : nullptr;
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return proc && SetWindowsHookExW(WH_CALLWNDPROC, proc, dll, thread);
}

void SendInside(HWND window, const wchar_t* message, WPARAM wp, LPARAM lp) {
    SendMessageTimeoutW(window, RegisterWindowMessageW(message), wp, lp, 0, 10000, nullptr);
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
