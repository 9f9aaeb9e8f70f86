// Colours the real windows show under Wine, read as pixels off the screen:
// the resolution box in the system's window colours, and every colour the
// layouts take from the system following the system when it changes.
#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "app/layout.h"
#include "tests/ui/panel_process.h"

namespace {

const char kGameIni[] = "[Video]\r\nScreenWidth=800\r\nScreenHeight=600\r\n";

COLORREF ScreenPixel(int x, int y) {
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return c;
}

// A pixel near the right end of a window's client area, clear of any text.
COLORREF RightOf(HWND window) {
    RECT rc;
    GetClientRect(window, &rc);
    POINT p = {rc.right - 3, rc.bottom / 2};
    ClientToScreen(window, &p);
    return ScreenPixel(p.x, p.y);
}

HWND OpenGameOptions(const PanelProcess& panel) {
    PanelProcess::Click(panel.Main("Command7"));
    HWND w = panel.WaitForWindow("Game Options");
    Sleep(200);  // let it paint
    return w;
}

TEST(ColoursUi, TheResolutionBoxHasTheWindowColours) {
    TempFolder folder;
    folder.Write("RA2MD.ini", kGameIni);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    HWND w = OpenGameOptions(panel);
    ASSERT_NE(w, nullptr);
    HWND combo = PanelProcess::Control(w, layout::kGameOptions, "Combo1");
    HWND field = GetWindow(combo, GW_CHILD);
    ASSERT_EQ(ClassOf(field), "Edit");
    EXPECT_EQ(RightOf(field), GetSysColor(COLOR_WINDOW)) << "the text field";

    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Sleep(200);
    // The list's first entry, right of its text; the current entry, lit,
    // is the third.
    RECT list, field_rect;
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)&list);
    GetWindowRect(combo, &field_rect);
    EXPECT_EQ(ScreenPixel(list.right - 6, field_rect.bottom + 5), GetSysColor(COLOR_WINDOW))
        << "the list";
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

// Sets system colours inside the panel's process, as choosing a High
// Contrast theme does in every process, and puts the old ones back however
// the test ends.
class SystemColours {
public:
    SystemColours(HWND panel, std::initializer_list<std::pair<int, COLORREF>> colours)
        : inside_(panel) {
        for (auto& c : colours) {
            old_.emplace_back(c.first, GetSysColor(c.first));
            inside_.Send(L"ZarnTestSetSysColor", (WPARAM)c.first, (LPARAM)c.second);
        }
    }
    ~SystemColours() {
        for (auto& c : old_) inside_.Send(L"ZarnTestSetSysColor", (WPARAM)c.first, (LPARAM)c.second);
    }
    bool hooked() const { return inside_.hooked(); }

private:
    InsidePanel inside_;
    std::vector<std::pair<int, COLORREF>> old_;
};

COLORREF CentreOf(HWND window) {
    RECT rc;
    GetClientRect(window, &rc);
    POINT p = {rc.right / 2, rc.bottom / 2};
    ClientToScreen(window, &p);
    return ScreenPixel(p.x, p.y);
}

// The main window's two empty labels are in the dialog face colour, the
// resolution box in the window colour; the black ground and the status
// labels' fixed colours stay as they are.
TEST(ColoursUi, SystemColoursFollowTheSystemWhenItChangesThem) {
    TempFolder folder;
    folder.Write("RA2MD.ini", kGameIni);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    HWND w = OpenGameOptions(panel);
    ASSERT_NE(w, nullptr);
    HWND label = panel.Main("Label2");
    HWND field = GetWindow(PanelProcess::Control(w, layout::kGameOptions, "Combo1"), GW_CHILD);
    HWND status = PanelProcess::Control(w, layout::kGameOptions, "EVBBS");
    ASSERT_EQ(CentreOf(label), GetSysColor(COLOR_BTNFACE));
    {
        const COLORREF face = RGB(0, 128, 128), window = RGB(0, 0, 255);
        SystemColours high_contrast(panel.main(), {{COLOR_BTNFACE, face}, {COLOR_WINDOW, window}});
        ASSERT_TRUE(high_contrast.hooked());
        Sleep(300);
        EXPECT_EQ(CentreOf(label), face) << "the main window's empty label";
        EXPECT_EQ(RightOf(field), window) << "the resolution box";
        EXPECT_EQ(RightOf(status), RGB(0, 0, 0)) << "a status label, black by its layout";
        POINT ground = {layout::Pixels(3600, (int)panel.Dpi()), layout::Pixels(60, (int)panel.Dpi())};
        ClientToScreen(w, &ground);
        EXPECT_EQ(ScreenPixel(ground.x, ground.y), RGB(0, 0, 0)) << "the window's black ground";
    }
    Sleep(300);
    EXPECT_EQ(CentreOf(label), GetSysColor(COLOR_BTNFACE)) << "back to the old colours";
}

}  // namespace
