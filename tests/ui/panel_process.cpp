#include "tests/ui/panel_process.h"

#include <fstream>

#include "app/win/wide.h"

std::string g_panel_exe;

namespace {

struct Search {
    DWORD pid;
    WString caption;
    bool any_caption;
    WString cls;
    HWND found;
};

BOOL CALLBACK OnTopLevel(HWND hwnd, LPARAM data) {
    auto* s = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid || !IsWindowVisible(hwnd)) return TRUE;
    wchar_t buf[512];
    if (!s->cls.empty()) {
        GetClassNameW(hwnd, buf, 512);
        if (s->cls != buf) return TRUE;
    }
    if (!s->any_caption) {
        GetWindowTextW(hwnd, buf, 512);
        if (s->caption != buf) return TRUE;
    }
    s->found = hwnd;
    return FALSE;
}

HWND FindTopLevel(DWORD pid, const WString& caption, bool any_caption, const WString& cls,
                  DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        Search s = {pid, caption, any_caption, cls, nullptr};
        EnumWindows(OnTopLevel, (LPARAM)&s);
        if (s.found || GetTickCount() - start >= ms) return s.found;
        Sleep(20);
    }
}

WString WindowsPath(const std::string& path) {
    WString w = Widen(path);
    if (!w.empty() && w[0] == L'/') {  // a Unix path given to a program under Wine
        for (auto& c : w)
            if (c == L'/') c = L'\\';
        w = L"Z:" + w;
    }
    return w;
}

}  // namespace

std::string WindowText(HWND hwnd) {
    wchar_t buf[4096];
    int n = GetWindowTextW(hwnd, buf, 4096);
    return Narrow(WString(buf, n < 0 ? 0 : n));
}

std::string ClassOf(HWND hwnd) {
    wchar_t buf[256];
    int n = GetClassNameW(hwnd, buf, 256);
    return Narrow(WString(buf, n));
}

RECT RectInParent(HWND control) {
    RECT rc;
    GetWindowRect(control, &rc);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), (POINT*)&rc, 2);
    return rc;
}

PanelProcess::PanelProcess(const TempFolder& folder, const std::string& working_directory) {
    WString exe = Widen(folder.File("ZARN Control Panal.exe"));
    if (!CopyFileW(WindowsPath(g_panel_exe).c_str(), exe.c_str(), FALSE)) return;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    WString cmd = L"\"" + exe + L"\"";
    WString dir = Widen(working_directory.empty() ? folder.path() : working_directory);
    if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                        &pi_))
        return;
    WaitForInputIdle(pi_.hProcess, 10000);
    main_ = FindTopLevel(pi_.dwProcessId, Widen(layout::kFrm1.caption), false, L"", 10000);
}

PanelProcess::~PanelProcess() {
    if (!pi_.hProcess) return;
    if (Running()) {
        TerminateProcess(pi_.hProcess, 1);
        WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
}

HWND PanelProcess::Control(HWND window, const layout::Form& form, const char* name) {
    for (std::size_t i = 0; i < form.count; ++i)
        if (std::string(form.controls[i].name) == name) return GetDlgItem(window, 100 + (int)i);
    return nullptr;
}

HWND PanelProcess::WaitForWindow(const std::string& caption, DWORD ms) const {
    return FindTopLevel(pi_.dwProcessId, Widen(caption), false, L"", ms);
}

MessageBoxSeen PanelProcess::WaitForMessageBox(DWORD ms) const {
    MessageBoxSeen box;
    box.hwnd = FindTopLevel(pi_.dwProcessId, L"", true, L"#32770", ms);
    if (!box.hwnd) return box;
    Sleep(100);  // let it finish laying out
    box.caption = WindowText(box.hwnd);
    box.text = WindowText(GetDlgItem(box.hwnd, 0xFFFF));
    for (HWND c = GetWindow(box.hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (ClassOf(c) == "Button") box.buttons.push_back(WindowText(c));
        // Wine keeps the icon control of a box without an icon, visible and
        // empty, and lays the text over it: only an icon set in it counts.
        if (ClassOf(c) == "Static" && (GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            IsWindowVisible(c) && SendMessageW(c, STM_GETICON, 0, 0))
            box.has_icon = true;
    }
    return box;
}

void PanelProcess::Answer(const MessageBoxSeen& box, const std::string& button) {
    for (HWND c = GetWindow(box.hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == "Button" && WindowText(c) == button) {
            PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), BN_CLICKED), (LPARAM)c);
            return;
        }
}

bool PanelProcess::WaitForExit(DWORD ms) const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0;
}

void PanelProcess::PressAltKey(char letter) const {
    SetForegroundWindow(main_);
    Sleep(50);
    INPUT in[4] = {};
    WORD keys[4] = {VK_MENU, (WORD)letter, (WORD)letter, VK_MENU};
    for (int i = 0; i < 4; ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = keys[i];
        in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, in, sizeof(INPUT));
}

void PanelProcess::Click(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

UINT PanelProcess::Dpi() const {
    HDC dc = GetDC(nullptr);
    UINT dpi = (UINT)GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
}

bool SaveScreenshot(HWND window, const std::string& path) {
    RECT rc;
    GetWindowRect(window, &rc);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    DWORD stride = ((DWORD)w * 3 + 3) & ~3u;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + stride * (DWORD)h;
    std::ofstream out(Widen(path).c_str(), std::ios::binary);
    out.write((const char*)&fh, sizeof fh);
    out.write((const char*)&bi.bmiHeader, sizeof bi.bmiHeader);
    out.write((const char*)bits, stride * (DWORD)h);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return (bool)out;
}
