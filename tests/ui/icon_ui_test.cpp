// The main window's icons follow the monitor's DPI: on WM_DPICHANGED (which
// Wine never sends, so the test does) the small and the big icon are made
// again at the sizes the system wants at the new DPI.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/layout.h"
#include "tests/ui/panel_process.h"

namespace {

struct Icons {
    int small_width, small_colours, big_width, big_colours;
};

Icons IconsOf(const InsidePanel& inside, HWND w) {
    inside.Send(L"ZarnTestIcons");
    auto prop = [w](const wchar_t* name) { return (int)(INT_PTR)GetPropW(w, name); };
    return {prop(L"ZarnSmallIconWidth"), prop(L"ZarnSmallIconColours"), prop(L"ZarnBigIconWidth"),
            prop(L"ZarnBigIconColours")};
}

// Sends WM_DPICHANGED as the system does, its suggested rectangle (the
// window's own) in the panel's memory.
void SendDpiChanged(HANDLE process, HWND w, UINT dpi) {
    RECT rc;
    GetWindowRect(w, &rc);
    void* remote = VirtualAllocEx(process, nullptr, sizeof rc, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(remote, nullptr);
    WriteProcessMemory(process, remote, &rc, sizeof rc, nullptr);
    DWORD_PTR r;
    SendMessageTimeoutW(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), (LPARAM)remote, SMTO_NORMAL, 5000, &r);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
}

// The one 32 by 32 picture of 16 colours, scaled smoothly where another
// size is wanted: a smooth scale mixes the colours, so the icon then holds
// many more than 16.
TEST(IconUi, IconsAreMadeAgainWhenTheDpiChanges) {
    TempFolder folder;
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    InsidePanel inside(panel.main());
    ASSERT_TRUE(inside.hooked());
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, panel.pid());
    ASSERT_NE(process, nullptr);
    // The system's icon sizes: 16 and 32 at 96 dpi, in proportion at others.
    bool first = true;
    for (UINT to : {panel.Dpi(), 192u, 144u, 96u}) {
        SCOPED_TRACE(to);
        if (!first) SendDpiChanged(process, panel.main(), to);
        first = false;
        Icons icons = IconsOf(inside, panel.main());
        int want_small = 16 * (int)to / 96, want_big = 32 * (int)to / 96;
        EXPECT_EQ(icons.small_width, want_small);
        EXPECT_EQ(icons.big_width, want_big);
        if (want_small != 32) {
            EXPECT_GT(icons.small_colours, 16) << "scaled smoothly";
        }
        if (want_big != 32) {
            EXPECT_GT(icons.big_colours, 16) << "scaled smoothly";
        }
        // The controls follow the new DPI too.
        RECT rc = RectInParent(panel.Main("Command1"));
        EXPECT_EQ(rc.left, layout::Pixels(3120, (int)to));
    }
    CloseHandle(process);
    EXPECT_TRUE(panel.Running());
}

}  // namespace
