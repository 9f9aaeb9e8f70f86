#include "tests/ui/panel_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

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

}  // namespace

std::string WindowText(HWND hwnd) {
    wchar_t buf[4096];
    int n = GetWindowTextW(hwnd, buf, 4096);
    return Narrow(WString(buf, n < 0 ? 0 : n));
}

WString PanelExePath() {
    WString w = Widen(g_panel_exe);
    if (!w.empty() && w[0] == L'/') {
        for (auto& c : w)
            if (c == L'/') c = L'\\';
        w = L"Z:" + w;
    }
    return w;
}

std::string TextOf(HWND control) {
    LRESULT n = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    WString w((std::size_t)n + 1, L'\0');
    n = SendMessageW(control, WM_GETTEXT, (WPARAM)w.size(), (LPARAM)&w[0]);
    w.resize((std::size_t)n);
    return Narrow(w);
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

HWND FocusOf(HWND window) {
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
    return gui.hwndFocus;
}

void PressKeys(HWND window, std::initializer_list<WORD> keys) {
    SetForegroundWindow(window);
    Sleep(50);
    std::vector<INPUT> in(keys.size() * 2);
    std::size_t i = 0;
    for (WORD key : keys) in[i++].ki.wVk = key;
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        in[i].ki.wVk = *key;
        in[i++].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    for (INPUT& input : in) input.type = INPUT_KEYBOARD;
    SendInput((UINT)in.size(), in.data(), sizeof(INPUT));
}

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
    for (DWORD start = GetTickCount(); !done();) {
        if (GetTickCount() - start >= ms) return false;
        Sleep(20);
    }
    return true;
}

PanelProcess::PanelProcess(const TempFolder& folder, const std::string& working_directory) {
    WString exe = Widen(folder.File("ZARN Control Panal.exe"));
    if (!CopyFileW(PanelExePath().c_str(), exe.c_str(), FALSE)) {
        fprintf(stderr, "could not copy the panel: %s\n", SystemReason(GetLastError()).c_str());
        return;
    }
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    WString cmd = L"\"" + exe + L"\"";
    WString dir = Widen(working_directory.empty() ? folder.path() : working_directory);
    if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                        &pi_)) {
        fprintf(stderr, "could not start the panel: %s\n", SystemReason(GetLastError()).c_str());
        return;
    }
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

void ExpectPanelBox(const MessageBoxSeen& box, const std::string& text,
                    const std::vector<std::string>& buttons) {
    ASSERT_NE(box.hwnd, nullptr) << "no message box for \"" << text << "\"";
    EXPECT_EQ(box.caption, "The Marrowgate Control");
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.buttons, buttons);
    EXPECT_FALSE(box.has_icon);
}

void AnswerAndWait(const MessageBoxSeen& box, const std::string& button) {
    PanelProcess::Answer(box, button);
    EXPECT_TRUE(WaitGone(box.hwnd)) << "box still open after " << button;
}

bool PanelProcess::WaitForExit(DWORD ms) const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0;
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

InsidePanel::InsidePanel(HWND window) : window_(window) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    WString dll(path, n);
    dll = dll.substr(0, dll.find_last_of(L'\\') + 1) + L"inside.dll";
    module_ = LoadLibraryW(dll.c_str());
    auto proc = module_ ? (HOOKPROC)(void*)GetProcAddress(module_, "CallWndProc") : nullptr;
    if (proc)
        hook_ = SetWindowsHookExW(WH_CALLWNDPROC, proc, module_,
                                  GetWindowThreadProcessId(window, nullptr));
}

InsidePanel::~InsidePanel() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (module_) FreeLibrary(module_);
}

void InsidePanel::Send(const wchar_t* name, WPARAM wp, LPARAM lp) const {
    DWORD_PTR r;
    SendMessageTimeoutW(window_, RegisterWindowMessageW(name), wp, lp, SMTO_NORMAL, 5000, &r);
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

namespace {

std::string ExpectedClass(layout::Kind kind) {
    switch (kind) {
    case layout::Kind::kButton: return "Button";
    case layout::Kind::kLabel: return "Static";
    case layout::Kind::kPictureBox:
    case layout::Kind::kImage: return "ZarnPicture";
    case layout::Kind::kTextBox:
    case layout::Kind::kMemo: return "Edit";
    case layout::Kind::kScrollBar: return "ScrollBar";
    case layout::Kind::kCombo: return "ComboBox";
    default: return "?";
    }
}

void ExpectControl(HWND h, const layout::Control& row, UINT dpi) {
    SCOPED_TRACE(row.name);
    auto px = [dpi](int twips) { return layout::Pixels(twips, (int)dpi); };
    EXPECT_EQ(ClassOf(h), ExpectedClass(row.kind));
    RECT r = RectInParent(h);
    EXPECT_EQ(r.left, px(row.left));
    EXPECT_EQ(r.top, px(row.top));
    EXPECT_EQ(r.right, px(row.left + row.width));
    if (row.kind != layout::Kind::kCombo) {  // its height follows its font
        EXPECT_EQ(r.bottom, px(row.top + row.height));
    }
    LONG cs = GetWindowLongW(h, GWL_STYLE), ex = GetWindowLongW(h, GWL_EXSTYLE);
    EXPECT_EQ((cs & WS_TABSTOP) != 0, row.tab_stop);
    bool centred = (row.flags & layout::kCentred) != 0;
    switch (row.kind) {
    case layout::Kind::kButton:
        EXPECT_EQ(cs & BS_TYPEMASK, BS_PUSHBUTTON) << "never the default button";
        EXPECT_EQ(TextOf(h), row.caption);
        break;
    case layout::Kind::kLabel:
        EXPECT_EQ(cs & SS_TYPEMASK, centred ? SS_CENTER : SS_LEFTNOWORDWRAP);
        EXPECT_EQ((cs & WS_BORDER) != 0, (row.flags & layout::kBorder) != 0);
        if (*row.caption) {  // the empty ones are filled at load
            EXPECT_EQ(TextOf(h), row.caption);
        }
        break;
    case layout::Kind::kTextBox:
        EXPECT_EQ(cs & (ES_MULTILINE | ES_CENTER), ES_CENTER);
        EXPECT_TRUE(ex & WS_EX_CLIENTEDGE);
        break;
    case layout::Kind::kMemo:
        EXPECT_EQ(cs & (ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL),
                  ES_MULTILINE | ES_READONLY | WS_VSCROLL)
            << "wraps at words";
        EXPECT_TRUE(ex & WS_EX_CLIENTEDGE);
        EXPECT_EQ(TextOf(h), row.caption);
        EXPECT_EQ(SendMessageW(h, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
        break;
    case layout::Kind::kScrollBar: EXPECT_EQ(cs & SBS_VERT, 0); break;
    case layout::Kind::kCombo: {
        EXPECT_EQ(cs & 3, CBS_DROPDOWN) << "editable";
        std::string items;
        int n = (int)SendMessageW(h, CB_GETCOUNT, 0, 0);
        for (int k = 0; k < n; ++k) {
            wchar_t item[32] = {};
            SendMessageW(h, CB_GETLBTEXT, k, (LPARAM)item);
            items += (k ? "|" : "") + Narrow(WString(item));
        }
        EXPECT_EQ(items, row.caption) << "the list, unsorted";
        break;
    }
    default: break;
    }
}

}  // namespace

void ExpectLaidOut(HWND w, const layout::Form& f, UINT dpi) {
    SCOPED_TRACE(f.name);
    auto px = [dpi](int twips) { return layout::Pixels(twips, (int)dpi); };
    EXPECT_EQ(WindowText(w), f.caption);
    EXPECT_EQ(ClassOf(w), "ZarnForm");
    LONG style = GetWindowLongW(w, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    // A fixed dialog frame without an icon of its own shows none in its title.
    EXPECT_EQ((GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) != 0,
              f.frame == layout::Frame::kFixedDialog && !f.icon);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, px(f.client_width));
    EXPECT_EQ(client.bottom, px(f.client_height));
    if (f.left != layout::kSystemPlaced) {
        POINT origin = {0, 0};
        ClientToScreen(w, &origin);
        EXPECT_EQ(origin.x, px(f.left));
        EXPECT_EQ(origin.y, px(f.top));
    }

    std::vector<HWND> tab_order;
    for (std::size_t i = 0; i < f.count; ++i) {
        const layout::Control& row = f.controls[i];
        HWND h = PanelProcess::Control(w, f, row.name);
        if (row.kind == layout::Kind::kLine) {
            EXPECT_EQ(h, nullptr) << row.name << ": drawn, not a window";
        } else if (h == nullptr) {
            ADD_FAILURE() << row.name << ": no such control";
        } else {
            ExpectControl(h, row, dpi);
            if (row.tab_stop) tab_order.push_back(h);
        }
    }

    // Tab goes through the focusable rows in table order, from the focus on
    // and round to it again. (A combo box's focus is on its edit field.)
    HWND at = FocusOf(w);
    HWND focus = PanelProcess::Control(w, f, f.focus);
    EXPECT_EQ(at, focus) << "focus at opening";
    std::size_t start = std::find(tab_order.begin(), tab_order.end(), focus) - tab_order.begin();
    for (std::size_t i = 1; i <= tab_order.size(); ++i) {
        HWND next = tab_order[(start + i) % tab_order.size()];
        at = GetNextDlgTabItem(w, at, FALSE);
        EXPECT_TRUE(at == next || GetParent(at) == next) << "Tab " << i;
    }

    char name[64];
    snprintf(name, sizeof name, "%s-%udpi.bmp", f.name, dpi);
    EXPECT_TRUE(SaveScreenshot(w, name));
}
