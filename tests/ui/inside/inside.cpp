// A hook (CallWndProc on the panel's thread) through which a UI test acts and
// looks inside the panel's process, on the registered messages below: Wine
// keeps the system colours per process, and neither an icon nor a font
// handle can be used from another process.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

namespace {

// The width of the window's icon `which`, and its number of distinct colours
// times 256, left in the property `name`; 0 when there is none.
void MeasureIcon(HWND window, WPARAM which, const wchar_t* name) {
    ICONINFO info = {};
    BITMAP bm = {};
    std::set<DWORD> seen;
    if (GetIconInfo((HICON)SendMessageW(window, WM_GETICON, which, 0), &info) &&
        GetObjectW(info.hbmColor, sizeof bm, &bm)) {
        BITMAPINFO bi = {{sizeof bi.bmiHeader, bm.bmWidth, -bm.bmHeight, 1, 32}};
        std::vector<DWORD> px((size_t)bm.bmWidth * bm.bmHeight);
        HDC dc = GetDC(nullptr);
        GetDIBits(dc, info.hbmColor, 0, bm.bmHeight, px.data(), &bi, DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
        seen.insert(px.begin(), px.end());
    }
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    SetPropW(window, name, (HANDLE)(INT_PTR)(bm.bmWidth + 256 * seen.size()));
}

// Draws `text` as `control` draws it, with its font and `flags`, into `room`
// (its own client coordinates) on a white canvas with a wide margin, nothing
// clipped, and adds to g_out the line
//   control inked room-left top right bottom ink-left top right bottom <tab> face <tab> text
// in the client coordinates of g_window, the ink being the box of the
// pixels coloured. A combo box's field and entries count as the combo box's.
HWND g_window;       // the window measured
std::wstring g_out;  // its lines

void MeasureText(HWND control, const std::wstring& text, RECT room, UINT flags) {
    MapWindowPoints(control, g_window, (POINT*)&room, 2);
    HWND owner = GetParent(control) == g_window ? control : GetParent(control);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, (HFONT)SendMessageW(control, WM_GETFONT, 0, 0));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    const int pad = 200, w = room.right - room.left + 2 * pad, h = room.bottom - room.top + 2 * pad;
    BITMAPINFO bi = {{sizeof bi.bmiHeader, w, -h, 1, 32}};
    DWORD* px = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, (void**)&px, nullptr, 0);
    SelectObject(dc, bmp);
    std::fill(px, px + w * h, 0xFFFFFF);
    RECT at = {pad, pad, w - pad, h - pad}, ink = {w, h, 0, 0};
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), (int)text.size(), &at, flags | DT_NOCLIP);
    GdiFlush();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((px[y * w + x] & 0xFFFFFF) != 0xFFFFFF)
                ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                       std::max<LONG>(ink.right, x + 1), std::max<LONG>(ink.bottom, y + 1)};
    DeleteDC(dc);
    DeleteObject(bmp);
    OffsetRect(&ink, room.left - pad, room.top - pad);
    wchar_t line[512];
    swprintf(line, 512, L"%p %d %ld %ld %ld %ld %ld %ld %ld %ld\t%ls\t%ls\n", (void*)owner,
             ink.left < ink.right, room.left, room.top, room.right, room.bottom, ink.left, ink.top,
             ink.right, ink.bottom, face, text.c_str());
    g_out += line;
}

BOOL CALLBACK OnControl(HWND h, LPARAM) {
    wchar_t cls[64] = {}, text[512] = {};
    GetClassNameW(h, cls, 64);
    GetWindowTextW(h, text, 512);
    LONG style = GetWindowLongW(h, GWL_STYLE);
    RECT room;
    GetClientRect(h, &room);
    if (lstrcmpiW(cls, L"Static") == 0 && *text) {
        bool wraps = (style & SS_TYPEMASK) == SS_CENTER;
        MeasureText(h, text, room,
                    DT_EXPANDTABS | (wraps ? DT_CENTER | DT_WORDBREAK : DT_LEFT | DT_SINGLELINE));
    } else if (lstrcmpiW(cls, L"Button") == 0) {
        InflateRect(&room, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
        MeasureText(h, text, room, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    } else if (lstrcmpiW(cls, L"Edit") == 0 && !(style & ES_MULTILINE)) {
        SendMessageW(h, EM_GETRECT, 0, (LPARAM)&room);
        UINT flags = DT_SINGLELINE | DT_NOPREFIX | ((style & ES_CENTER) ? DT_CENTER : DT_LEFT);
        if (*text) MeasureText(h, text, room, flags);
        // The list of a combo box, as its field would show each entry.
        HWND combo = GetParent(h) == g_window ? nullptr : GetParent(h);
        for (int i = 0, n = combo ? (int)SendMessageW(combo, CB_GETCOUNT, 0, 0) : 0; i < n; ++i) {
            if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) >= 512) continue;
            SendMessageW(combo, CB_GETLBTEXT, i, (LPARAM)text);
            MeasureText(h, text, room, flags);
        }
    }
    return TRUE;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK CallWndProc(int code, WPARAM wp, LPARAM lp) {
    static const UINT set_colour = RegisterWindowMessageW(L"ZarnTestSetSysColor");
    static const UINT icons = RegisterWindowMessageW(L"ZarnTestIcons");
    static const UINT texts = RegisterWindowMessageW(L"ZarnTestMeasureTexts");
    static const UINT dpi = RegisterWindowMessageW(L"ZarnTestDpiChanged");
    const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && m->message == set_colour) {
        // wParam: the colour's index; lParam: its value.
        int element = (int)m->wParam;
        COLORREF colour = (COLORREF)m->lParam;
        SetSysColors(1, &element, &colour);
    } else if (code == HC_ACTION && m->message == icons) {
        MeasureIcon(m->hwnd, ICON_SMALL, L"ZarnSmallIcon");
        MeasureIcon(m->hwnd, ICON_BIG, L"ZarnBigIcon");
    } else if (code == HC_ACTION && m->message == dpi) {
        // wParam: the new DPI; lParam: the window's new size. As the system
        // sends it on a move to another monitor, which Wine never does.
        RECT r;
        GetWindowRect(m->hwnd, &r);
        r = {r.left, r.top, r.left + LOWORD(m->lParam), r.top + HIWORD(m->lParam)};
        SendMessageW(m->hwnd, WM_DPICHANGED, MAKEWPARAM(m->wParam, m->wParam), (LPARAM)&r);
    } else if (code == HC_ACTION && m->message == texts) {
        // Every text of the window's controls, into measured.txt (UTF-16).
        g_window = m->hwnd;
        g_out.clear();
        EnumChildWindows(m->hwnd, OnControl, 0);
        HANDLE f = CreateFileW(L"measured.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, 0);
        DWORD n;
        WriteFile(f, g_out.data(), (DWORD)(g_out.size() * sizeof(wchar_t)), &n, nullptr);
        CloseHandle(f);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
