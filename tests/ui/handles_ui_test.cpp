// What the windows give back: no GDI or USER object outlives the window or the DPI that used it.
#include "tests/ui/panel.h"

namespace {

using Held = std::pair<int, int>;  // GDI objects, USER objects

// What the process holds. Windows counts it for GetGuiResources; Wine answers 0 there, but takes
// a handle of an upper word 0 for whichever object of this process lives at that index. So every
// index is tried: GetObjectType finds the GDI objects, IsMenu and GetIconInfo the menus, icons and
// cursors (USER handles start at 0x20, two apart); the windows are enumerated.
Held HeldNow() {
    HANDLE self = GetCurrentProcess();
    Held held(GetGuiResources(self, GR_GDIOBJECTS), GetGuiResources(self, GR_USEROBJECTS));
    if (held.first) return held;
    for (UINT_PTR i = 1; i < 0x10000; ++i) held.first += GetObjectType((HGDIOBJ)i) != 0;
    for (UINT_PTR i = 0x20; i < 0x10000; i += 2) {
        ICONINFO icon;
        if (IsMenu((HMENU)i)) {
            ++held.second;
        } else if (GetIconInfo((HICON)i, &icon)) {  // with copies of its bitmaps, ours to delete
            ++held.second;
            DeleteObject(icon.hbmMask);
            if (icon.hbmColor) DeleteObject(icon.hbmColor);
        }
    }
    EnumWindows([](HWND top, LPARAM n) {
        DWORD pid = 0;
        GetWindowThreadProcessId(top, &pid);
        if (pid != GetCurrentProcessId()) return TRUE;
        ++*(int*)n;
        EnumChildWindows(top, [](HWND, LPARAM n) { return ++*(int*)n, TRUE; }, n);
        return TRUE;
    }, (LPARAM)&held.second);
    return held;
}

// Twenty rounds of Game Options, About and Help opened and closed, and of the main window moved
// to another DPI and back, leave the process holding what it held after the first round (which
// leaves what the system makes once for a process: DCs, fonts, cursors).
TEST(HandlesUi, WindowsOpenedAndClosedAndDpiChangesLeaveNoObjectBehind) {
    TempFolder folder;
    folder.Write("RA2MD.ini", "[Video]\r\nScreenWidth=800\r\nScreenHeight=600\r\n");
    HDC screen_dc = GetDC(nullptr);
    const UINT screen = GetDeviceCaps(screen_dc, LOGPIXELSY), other = screen == 144 ? 192 : 144;
    ReleaseDC(nullptr, screen_dc);
    Panel panel(folder);
    auto round = [&] {
        for (const app::Form* form : {&app::kGameOptionsLayout, &app::kAboutLayout, &app::kHelpLayout}) {
            HWND w = panel.Open(*form);
            PostMessageW(w, WM_CLOSE, 0, 0);
            EXPECT_TRUE(w && WaitGone(w)) << form->caption;
        }
        for (UINT dpi : {other, screen}) {
            RECT r;
            GetWindowRect(panel.main(), &r);
            SendMessageW(panel.main(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), (LPARAM)&r);
        }
        RedrawWindow(panel.main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        Settle(panel.main());
        return HeldNow();
    };
    const Held first = round();
    Held now = first;
    for (int k = 0; k < 20 && now == first; ++k) now = round();
    EXPECT_EQ(now, first) << "GDI and USER objects: after the first round, after more rounds";
}

}  // namespace
