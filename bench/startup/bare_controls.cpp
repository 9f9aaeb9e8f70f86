// A second baseline for start-up time: the empty window with the system's
// own controls where the main window has them (eleven push buttons, four
// labels, in the panel's font), and nothing of ours. The panel against this
// one shows what our code costs; this one against the empty window, what
// the standard themed controls cost (common controls, theme, msimg32).
#include <windows.h>

#include "app/layout.h"

static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    wc.lpszClassName = L"BareControls";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowW(L"BareControls", L"Bare", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                              167, 312, 773, 185, nullptr, nullptr, inst, nullptr);
    LOGFONTW lf = {};
    lf.lfHeight = -11;
    lstrcpynW(lf.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&lf);
    for (std::size_t i = 0; i < app::kFrm1Layout.count; ++i) {
        const app::Control& c = app::kFrm1Layout.controls[i];
        if (c.kind != app::Kind::kButton && c.kind != app::Kind::kLabel) continue;
        HWND h = CreateWindowW(c.kind == app::Kind::kButton ? L"BUTTON" : L"STATIC", L"Caption",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP, c.left / 15, c.top / 15, c.width / 15,
                               c.height / 15, hwnd, nullptr, inst, nullptr);
        SendMessageW(h, WM_SETFONT, (WPARAM)font, FALSE);
    }
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
