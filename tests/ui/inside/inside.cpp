// A hook DLL through which a UI test acts and looks inside the panel's own
// process, where a handle or a setting of the test program means nothing:
// Wine keeps a copy of the system colours in each process, and an icon
// handle cannot be read from another process.
//
// The test hooks the panel's thread with CallWndProc and sends a window of
// it one of the messages named below; the hook acts on it before the window
// sees it, and leaves what it found in properties of that window, which the
// test reads with GetProp.
#include <windows.h>

#include <set>
#include <vector>

namespace {

// Width and number of distinct colours of an icon, 0 when there is none.
void Measure(HICON icon, int* width, int* colours) {
    *width = *colours = 0;
    ICONINFO info;
    if (!icon || !GetIconInfo(icon, &info)) return;
    BITMAP bm;
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bm, &bm)) {
        *width = bm.bmWidth;
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = bm.bmWidth;
        bi.bmiHeader.biHeight = -bm.bmHeight;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        std::vector<DWORD> px((size_t)bm.bmWidth * bm.bmHeight);
        HDC dc = GetDC(nullptr);
        GetDIBits(dc, info.hbmColor, 0, bm.bmHeight, px.data(), &bi, DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
        std::set<DWORD> seen(px.begin(), px.end());
        *colours = (int)seen.size();
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK CallWndProc(int code, WPARAM wp, LPARAM lp) {
    // wParam: the colour's index; lParam: its value. SetSysColors tells
    // every window of the process.
    static const UINT set_colour = RegisterWindowMessageW(L"ZarnTestSetSysColor");
    // Leaves the window's icons' widths and colour counts in properties.
    static const UINT icons = RegisterWindowMessageW(L"ZarnTestIcons");
    if (code == HC_ACTION) {
        const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (m->message == set_colour) {
            int element = (int)m->wParam;
            COLORREF colour = (COLORREF)m->lParam;
            SetSysColors(1, &element, &colour);
        } else if (m->message == icons) {
            int width, colours;
            Measure((HICON)SendMessageW(m->hwnd, WM_GETICON, ICON_SMALL, 0), &width, &colours);
            SetPropW(m->hwnd, L"ZarnSmallIconWidth", (HANDLE)(INT_PTR)width);
            SetPropW(m->hwnd, L"ZarnSmallIconColours", (HANDLE)(INT_PTR)colours);
            Measure((HICON)SendMessageW(m->hwnd, WM_GETICON, ICON_BIG, 0), &width, &colours);
            SetPropW(m->hwnd, L"ZarnBigIconWidth", (HANDLE)(INT_PTR)width);
            SetPropW(m->hwnd, L"ZarnBigIconColours", (HANDLE)(INT_PTR)colours);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
