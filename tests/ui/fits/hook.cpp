// A hook procedure that the text-fit UI test installs on the panel's thread
// (SetWindowsHookEx, WH_CALLWNDPROC): the system loads this DLL into the
// panel and calls the hook there, so it can measure with the panel's own
// font handles, which mean nothing in another process.
//
// When a window of the panel is sent the registered message
// "ZarnFitsMeasure" (wParam: a window of the test), the hook measures the
// text of each of that window's controls with the font the control holds
// (WM_GETFONT) and sends one line per text back in WM_COPYDATA:
//   control <tab> class <tab> wraps (1/0) <tab> face <tab> room left <tab>
//   room top <tab> room width <tab> room height <tab> DT_CALCRECT width <tab>
//   height <tab> ink left top right bottom <tab> text
// (a combo box's field and list entries are reported as the combo box's).
// The room is where the control draws its text (inside a button's frame, a
// text box's formatting rectangle); the ink is the box of the pixels that
// DrawText colours when it draws the text as the control does, unclipped,
// relative to the room ("-" when it colours none). The room's left and top
// are in the client coordinates of the window measured.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

struct Box {
    bool any = false;
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Draws `text` with `flags` into `room` on a white canvas with a wide margin,
// nothing clipped, and returns the box of the coloured pixels, relative to
// the room.
Box Ink(HDC dc, const std::wstring& text, RECT room, UINT flags, int pad) {
    int w = room.right - room.left + 2 * pad, h = room.bottom - room.top + 2 * pad;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all = {0, 0, w, h};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    RECT at = {pad, pad, pad + room.right - room.left, pad + room.bottom - room.top};
    DrawTextW(dc, text.c_str(), (int)text.size(), &at, flags | DT_NOCLIP);
    GdiFlush();
    Box box;
    const DWORD* px = static_cast<const DWORD*>(bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if ((px[y * w + x] & 0xFFFFFF) == 0xFFFFFF) continue;
            if (!box.any || x < box.left) box.left = x;
            if (!box.any || x + 1 > box.right) box.right = x + 1;
            if (!box.any || y < box.top) box.top = y;
            if (!box.any || y + 1 > box.bottom) box.bottom = y + 1;
            box.any = true;
        }
    SelectObject(dc, old);
    DeleteObject(bmp);
    box.left -= pad, box.right -= pad, box.top -= pad, box.bottom -= pad;
    return box;
}

// `room` is in the client coordinates of `coords`.
void Measure(HWND control, HWND coords, HFONT font, const std::wstring& text, RECT room,
             UINT flags, bool wraps, std::wstring* out) {
    POINT origin = {room.left, room.top};
    MapWindowPoints(coords, GetAncestor(coords, GA_ROOT), &origin, 1);
    HDC screen = GetDC(control);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(control, screen);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    RECT calc = {0, 0, room.right - room.left, 0};
    DrawTextW(dc, text.c_str(), (int)text.size(), &calc,
              DT_CALCRECT | (flags & (DT_WORDBREAK | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS)));
    int pad = calc.right + calc.bottom + 32;
    Box ink = Ink(dc, text, room, flags, pad);
    SelectObject(dc, old);
    DeleteDC(dc);
    wchar_t cls[64] = {};
    GetClassNameW(control, cls, 64);
    wchar_t line[512];
    wchar_t inked[64] = L"-";
    if (ink.any) swprintf(inked, 64, L"%d %d %d %d", ink.left, ink.top, ink.right, ink.bottom);
    swprintf(line, 512, L"%p\t%ls\t%d\t%ls\t%d\t%d\t%d\t%d\t%d\t%d\t%ls\t%ls\n", (void*)control,
             cls, wraps ? 1 : 0, face, (int)origin.x, (int)origin.y, (int)(room.right - room.left),
             (int)(room.bottom - room.top), (int)calc.right, (int)calc.bottom, inked, text.c_str());
    *out += line;
}

std::wstring TextOf(HWND h) {
    int n = GetWindowTextLengthW(h);
    std::wstring s((size_t)n + 1, L'\0');
    n = GetWindowTextW(h, &s[0], n + 1);
    s.resize((size_t)n);
    return s;
}

BOOL CALLBACK OnControl(HWND h, LPARAM data) {
    auto* out = reinterpret_cast<std::wstring*>(data);
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    HFONT font = (HFONT)SendMessageW(h, WM_GETFONT, 0, 0);
    LONG style = GetWindowLongW(h, GWL_STYLE);
    RECT client;
    GetClientRect(h, &client);
    if (lstrcmpiW(cls, L"Static") == 0) {
        bool wraps = (style & SS_TYPEMASK) == SS_CENTER;
        std::wstring text = TextOf(h);
        if (!text.empty())
            Measure(h, h, font, text, client,
                    DT_EXPANDTABS | (wraps ? DT_CENTER | DT_WORDBREAK : DT_LEFT | DT_SINGLELINE),
                    wraps, out);
    } else if (lstrcmpiW(cls, L"Button") == 0) {
        InflateRect(&client, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
        Measure(h, h, font, TextOf(h), client, DT_CENTER | DT_VCENTER | DT_SINGLELINE, false, out);
    } else if (lstrcmpiW(cls, L"Edit") == 0 && !(style & ES_MULTILINE)) {
        RECT room;
        SendMessageW(h, EM_GETRECT, 0, (LPARAM)&room);
        std::wstring text = TextOf(h);
        UINT align = (style & ES_CENTER) ? DT_CENTER : DT_LEFT;
        HWND combo = GetParent(h);
        GetClassNameW(combo, cls, 64);
        bool in_combo = lstrcmpiW(cls, L"ComboBox") == 0;
        if (!text.empty())
            Measure(in_combo ? combo : h, h, font, text, room, DT_SINGLELINE | DT_NOPREFIX | align,
                    false, out);
        // The list of a combo box, as its field would show each entry.
        if (in_combo) {
            int n = (int)SendMessageW(combo, CB_GETCOUNT, 0, 0);
            for (int i = 0; i < n; ++i) {
                wchar_t item[256] = {};
                if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) >= 256) continue;
                SendMessageW(combo, CB_GETLBTEXT, i, (LPARAM)item);
                Measure(combo, h, font, item, room, DT_SINGLELINE | DT_NOPREFIX | align, false, out);
            }
        }
    }
    return TRUE;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK FitsHookProc(int code, WPARAM wp, LPARAM lp) {
    static const UINT measure = RegisterWindowMessageW(L"ZarnFitsMeasure");
    auto* msg = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && msg->message == measure && msg->wParam) {
        std::wstring out;
        EnumChildWindows(msg->hwnd, OnControl, (LPARAM)&out);
        COPYDATASTRUCT data = {0x5A46, (DWORD)((out.size() + 1) * sizeof(wchar_t)), &out[0]};
        SendMessageW((HWND)msg->wParam, WM_COPYDATA, (WPARAM)msg->hwnd, (LPARAM)&data);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
