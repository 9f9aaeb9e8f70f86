// Every window of the panel under Wine, from game folders in both states:
// laid out at its table's numbers at this run's DPI, holding the main window
// while it is up, and no text drawn outside its control: every caption, every
// text the behaviour puts in a control ("Enabled", "Sound Off", a volume of
// 100) and every entry of the resolution list, with the faces the panel chose
// from this machine's fonts (ctest ui_fewer_fonts runs it with fewer fonts).
//
// A font handle means nothing outside the process that made it, so the hook
// of tests/ui/inside measures in the panel's process: it draws each text as
// its control does, with the control's font and nothing clipped, and reports
// the box of the pixels coloured.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

#include "tests/ui/panel_process.h"

namespace {

// Each text of `window` lies inside its control and under no control that
// lies above it (neighbours overlap); every control with a text was measured.
void ExpectTextsInside(const InsidePanel& inside, const TempFolder& folder, HWND window,
                       const layout::Form& form) {
    inside.Send(L"ZarnTestMeasureTexts", 0, 0, window);
    std::string bytes = folder.Read("measured.txt");
    WString lines((const wchar_t*)bytes.data(), bytes.size() / sizeof(wchar_t));
    ASSERT_FALSE(lines.empty()) << "the hook did not answer";
    std::set<HWND> seen;
    for (std::size_t at = 0, end; (end = lines.find(L'\n', at)) != WString::npos; at = end + 1) {
        std::string line = Narrow(lines.substr(at, end - at));
        void* control;
        int inked;
        RECT room, ink, in;
        ASSERT_EQ(sscanf(line.c_str(), "%p %d %ld %ld %ld %ld %ld %ld %ld %ld", &control, &inked,
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
    for (std::size_t i = 0; i < form.count; ++i) {
        const layout::Control& c = form.controls[i];
        using layout::Kind;
        if (c.kind == Kind::kButton || c.kind == Kind::kCombo || c.kind == Kind::kTextBox ||
            (c.kind == Kind::kLabel && (*c.caption || c.also_shows))) {
            EXPECT_TRUE(seen.count(Control(window, form, c.name))) << c.name << " was not measured";
        }
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
        InsidePanel inside(panel.main());
        ASSERT_TRUE(inside.hooked()) << "no hook on the panel's thread";
        const UINT dpi = ScreenDpi();
        ExpectLaidOut(panel.main(), layout::kFrm1, dpi);
        EXPECT_EQ(GetWindow(panel.main(), GW_OWNER), nullptr);  // the start-up window: nobody's
        ExpectTextsInside(inside, folder, panel.main(), layout::kFrm1);
        struct {
            const layout::Form* form;
            POINT bare;  // in twips, a spot of the window's own background no control covers
        } windows[] = {{&layout::kGameOptions, {3600, 60}}, {&layout::kAbout, {3600, 1000}},
                       {&layout::kHelp, {1000, 3000}}};
        for (auto [form, bare] : windows) {
            SCOPED_TRACE(form->name);
            HWND w = panel.Open(*form);
            ASSERT_NE(w, nullptr);
            ExpectLaidOut(w, *form, dpi);
            EXPECT_EQ(GetWindow(w, GW_OWNER), panel.main());
            EXPECT_FALSE(IsWindowEnabled(panel.main())) << "the main window takes no input";
            POINT p = {layout::Pixels(bare.x, (int)dpi), layout::Pixels(bare.y, (int)dpi)};
            ClientToScreen(w, &p);
            HDC dc = GetDC(nullptr);
            std::uint32_t back = form->back;  // 0xRRGGBB
            EXPECT_EQ(GetPixel(dc, p.x, p.y), back == layout::kSystem ? GetSysColor(COLOR_BTNFACE)
                                                  : RGB(back >> 16, back >> 8 & 255, back & 255));
            ReleaseDC(nullptr, dc);
            ExpectTextsInside(inside, folder, w, *form);
            // Closed by the title bar, "Ok" and "&Close Help", it gives the input back.
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
