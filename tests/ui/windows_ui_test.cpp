// Every window under Wine, from folders in both states: laid out at its table
// at this run's DPI, and every text it shows inside its control in the fonts
// found here (ui_fewer_fonts runs it with fewer), as tests/ui/inside measures
// it in the panel's process, where the fonts are.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

#include "tests/ui/panel_process.h"

namespace {

// Each text of `window` lies inside its control and under no control that
// lies above it (neighbours overlap). Returns the controls measured.
std::set<HWND> TextsInside(const TempFolder& folder, HWND window) {
    SendInside(window, L"ZarnTestMeasureTexts");
    std::string bytes = folder.Read("measured.txt");
    WString lines((const wchar_t*)bytes.data(), bytes.size() / sizeof(wchar_t));
    std::set<HWND> seen;
    for (std::size_t at = 0, end; (end = lines.find(L'\n', at)) != WString::npos; at = end + 1) {
        std::string line = Narrow(lines.substr(at, end - at));
        void* control = nullptr;
        int inked = 0;
        RECT room, ink, in;
        EXPECT_EQ(sscanf(line.c_str(), "%p %d %ld %ld %ld %ld %ld %ld %ld %ld", &control, &inked,
                         &room.left, &room.top, &room.right, &room.bottom, &ink.left, &ink.top,
                         &ink.right, &ink.bottom), 10);
        seen.insert((HWND)control);
        EXPECT_TRUE(inked && IntersectRect(&in, &ink, &room) && EqualRect(&in, &ink))
            << line << ": drawn outside its control (or nothing drawn)";
        for (HWND above = (HWND)control; inked && (above = GetWindow(above, GW_HWNDPREV));) {
            RECT r = RectInParent(above);
            EXPECT_FALSE(IsWindowVisible(above) && IntersectRect(&in, &ink, &r))
                << line << ": drawn under " << WindowText(above) << " which lies above it";
        }
    }
    return seen;
}

void ExpectControl(HWND h, const layout::Control& row, UINT dpi, bool measured) {
    using layout::Kind;
    SCOPED_TRACE(row.name);
    auto px = [dpi](int twips) { return layout::Pixels(twips, (int)dpi); };
    const char* classes[] = {"Button", "Static", "ZarnPicture", "ZarnPicture", "Edit", "Edit",
                             "ScrollBar", "ComboBox"};
    EXPECT_EQ(ClassOf(h), classes[(int)row.kind]);
    RECT r = RectInParent(h);
    std::vector<LONG> got = {r.left, r.top, r.right, r.bottom};
    std::vector<LONG> want = {px(row.left), px(row.top), px(row.left + row.width),
                              px(row.top + row.height)};
    if (row.kind == Kind::kCombo) got[3] = want[3];  // its height follows its font
    EXPECT_EQ(got, want) << "left, top, right, bottom";
    LONG cs = GetWindowLongW(h, GWL_STYLE), ex = GetWindowLongW(h, GWL_EXSTYLE);
    EXPECT_EQ((cs & WS_TABSTOP) != 0, row.tab_stop);
    if (row.kind == Kind::kButton || row.kind == Kind::kMemo ||
        (row.kind == Kind::kLabel && (*row.caption || !row.also_shows))) {  // others filled at load
        EXPECT_EQ(TextOf(h), row.caption);
    }
    EXPECT_EQ(measured, row.kind == Kind::kButton || row.kind == Kind::kCombo ||
                            row.kind == Kind::kTextBox ||
                            (row.kind == Kind::kLabel && (*row.caption || row.also_shows)))
        << "its text measured";
    if (row.kind == Kind::kButton) {
        EXPECT_EQ(cs & BS_TYPEMASK, BS_PUSHBUTTON) << "never the default button";
    } else if (row.kind == Kind::kLabel) {
        EXPECT_EQ(cs & SS_TYPEMASK, (row.flags & layout::kCentred) ? SS_CENTER : SS_LEFTNOWORDWRAP);
        EXPECT_EQ((cs & WS_BORDER) != 0, (row.flags & layout::kBorder) != 0);
    } else if (row.kind == Kind::kTextBox || row.kind == Kind::kMemo) {
        bool memo = row.kind == Kind::kMemo;
        EXPECT_TRUE(ex & WS_EX_CLIENTEDGE);
        EXPECT_EQ(cs & (ES_MULTILINE | ES_READONLY | ES_CENTER |
                        (memo ? WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL : 0)),
                  memo ? ES_MULTILINE | ES_READONLY | WS_VSCROLL : ES_CENTER)
            << "a memo wraps at words";
        EXPECT_EQ(SendMessageW(h, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    } else if (row.kind == Kind::kScrollBar) {
        EXPECT_EQ(cs & SBS_VERT, 0);
    } else if (row.kind == Kind::kCombo) {
        EXPECT_EQ(cs & 3, CBS_DROPDOWN) << "editable";
        std::string items;
        for (int k = 0, n = (int)SendMessageW(h, CB_GETCOUNT, 0, 0); k < n; ++k) {
            wchar_t item[32] = {};
            SendMessageW(h, CB_GETLBTEXT, k, (LPARAM)item);
            items += (k ? "|" : "") + Narrow(WString(item));
        }
        EXPECT_EQ(items, row.caption) << "the list, unsorted";
    }
}

// A window against its layout table at `dpi`: frame, client area, controls, tab order, focus;
// the controls with a text among those `measured`.
void ExpectLaidOut(HWND w, const layout::Form& f, UINT dpi, const std::set<HWND>& measured) {
    SCOPED_TRACE(f.name);
    auto px = [dpi](int twips) { return layout::Pixels(twips, (int)dpi); };
    EXPECT_EQ(WindowText(w), f.caption);
    EXPECT_EQ(ClassOf(w), "ZarnForm");
    EXPECT_EQ(GetWindowLongW(w, GWL_STYLE) &
                  (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_CAPTION | WS_SYSMENU);
    // A fixed dialog frame without an icon of its own shows none in its title.
    EXPECT_EQ((GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) != 0,
              f.frame == layout::Frame::kFixedDialog && !f.icon);
    RECT client;
    GetClientRect(w, &client);
    MapWindowPoints(w, HWND_DESKTOP, (POINT*)&client, 2);
    std::vector<LONG> got = {client.left, client.top, client.right - client.left,
                             client.bottom - client.top};
    std::vector<LONG> want = {px(f.left), px(f.top), px(f.client_width), px(f.client_height)};
    if (f.left == layout::kSystemPlaced) got[0] = want[0], got[1] = want[1];
    EXPECT_EQ(got, want) << "the client area's left, top, width, height";
    std::vector<HWND> tab_order;
    for (std::size_t i = 0; i < f.count; ++i) {
        const layout::Control& row = f.controls[i];
        HWND h = Control(w, f, row.name);
        if (row.kind == layout::Kind::kLine) {
            EXPECT_EQ(h, nullptr) << row.name << ": drawn, not a window";
        } else if (h == nullptr) {
            ADD_FAILURE() << row.name << ": no such control";
        } else {
            ExpectControl(h, row, dpi, measured.count(h) != 0);
            if (row.tab_stop) tab_order.push_back(h);
        }
    }
    // Tab goes through the focusable rows in table order, from the focus on
    // and round to it again. (A combo box's focus is on its edit field.)
    HWND at = FocusOf(w), focus = Control(w, f, f.focus);
    EXPECT_EQ(at, focus) << "focus at opening";
    std::size_t start = std::find(tab_order.begin(), tab_order.end(), focus) - tab_order.begin();
    for (std::size_t i = 1; i <= tab_order.size(); ++i) {
        at = GetNextDlgTabItem(w, at, FALSE);
        HWND next = tab_order[(start + i) % tab_order.size()];
        EXPECT_TRUE(at == next || GetParent(at) == next) << "Tab " << i;
    }
}

TEST(WindowsUi, EveryWindowIsAsLaidOutAndEveryTextLiesInsideItsControl) {
    for (std::string on : {"yes", "no"}) {
        SCOPED_TRACE(on);
        TempFolder folder("Red Alert 2");
        folder.Write(on == "yes" ? "expandmd81.mix" : "expandmd81.mix.Zarn", "marker");
        std::string v = on == "yes" ? "1.000000" : "0.000000";
        const std::string ini = "[Audio]\r\nSoundVolume=" + v + "\r\nVoiceVolume=" + v +
                                "\r\nScoreVolume=" + v + "\r\nInGameMusic=" + on +
                                "\r\n[Video]\r\nAllowHiResModes=" + on + "\r\nVideoBackBuffer=" +
                                on + "\r\nAllowVRAMSidebar=" + on +
                                "\r\nScreenWidth=1280\r\nScreenHeight=1024\r\n";
        folder.Write("RA2MD.ini", ini);
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr) << "the panel did not start";
        ASSERT_TRUE(HookInside(panel.main())) << "no hook on the panel's thread";
        const UINT dpi = ScreenDpi();
        ExpectLaidOut(panel.main(), layout::kFrm1, dpi, TextsInside(folder, panel.main()));
        EXPECT_EQ(GetWindow(panel.main(), GW_OWNER), nullptr);  // the start-up window: nobody's
        struct {
            const layout::Form* form;
            POINT bare;  // in twips, a spot of the window's own background no control covers
        } windows[] = {{&layout::kGameOptions, {3600, 60}}, {&layout::kAbout, {3600, 1000}},
                       {&layout::kHelp, {1000, 3000}}};
        for (auto [form, bare] : windows) {
            SCOPED_TRACE(form->name);
            HWND w = panel.Open(*form);
            ASSERT_NE(w, nullptr);
            ExpectLaidOut(w, *form, dpi, TextsInside(folder, w));
            EXPECT_EQ(GetWindow(w, GW_OWNER), panel.main());
            EXPECT_FALSE(IsWindowEnabled(panel.main())) << "the main window takes no input";
            POINT p = {layout::Pixels(bare.x, (int)dpi), layout::Pixels(bare.y, (int)dpi)};
            ClientToScreen(w, &p);
            HDC dc = GetDC(nullptr);
            std::uint32_t back = form->back;  // 0xRRGGBB
            EXPECT_EQ(GetPixel(dc, p.x, p.y), back == layout::kSystem ? GetSysColor(COLOR_BTNFACE)
                                                  : RGB(back >> 16, back >> 8 & 255, back & 255));
            ReleaseDC(nullptr, dc);
            // Closed by the title bar, "Ok", "&Close Help": the input goes back.
            if (form == &layout::kGameOptions) PostMessageW(w, WM_CLOSE, 0, 0);
            if (form == &layout::kAbout) PanelProcess::Click(Control(w, *form, "Command1"));
            if (form == &layout::kHelp) PressKeys(w, {VK_MENU, 'C'});
            EXPECT_TRUE(WaitGone(w));
            Sleep(100);
            EXPECT_TRUE(IsWindowEnabled(panel.main()));
            EXPECT_EQ(GetForegroundWindow(), panel.main());
        }
        EXPECT_EQ(folder.Read("RA2MD.ini"), ini) << "opening and closing write nothing";
        EXPECT_EQ(folder.Names().size(), 4u) << "the panel, the marker, the settings, measured.txt";
    }
}

}  // namespace
