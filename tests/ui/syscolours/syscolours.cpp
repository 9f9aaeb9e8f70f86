// A hook DLL that lets a UI test change the system colours inside the
// panel's own process, as choosing a High Contrast theme does for every
// process: Wine keeps a copy of the colours in each process, so a change made
// by the test program alone is never seen by the panel.
//
// The test hooks the panel's thread with CallWndProc and sends it the
// message named kMessage, wParam the colour's index, lParam its value; the
// hook sets it with SetSysColors, which tells every window of the panel.
#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK CallWndProc(int code, WPARAM wp, LPARAM lp) {
    static const UINT message = RegisterWindowMessageW(L"ZarnTestSetSysColor");
    if (code == HC_ACTION) {
        const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (m->message == message) {
            int element = (int)m->wParam;
            COLORREF colour = (COLORREF)m->lParam;
            SetSysColors(1, &element, &colour);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
