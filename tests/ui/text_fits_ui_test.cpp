// No text of the panel is drawn outside its control: every caption, every
// text the behaviour puts in a control ("Enabled", "Sound Off", a volume of
// 100) and every entry of the resolution list, in all four windows, at this
// run's DPI, with the faces the panel chose from this machine's fonts.
//
// A font handle means nothing outside the process that made it, so the hook
// of tests/ui/inside measures in the panel's process: it draws each text as
// its control does, with the control's font and nothing clipped, and reports
// the box of the pixels coloured. The texts are the panel's own, from a game
// folder enabled with every option on and the volumes at 100, and from one
// disabled with every option off.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

#include "tests/ui/panel_process.h"

namespace {

// Checks that each text of `window` lies inside its control and under no
// control that lies above it (neighbours overlap), and that every control
// with a text was measured; prints the figures.
void ExpectInside(const InsidePanel& inside, const TempFolder& folder, HWND window,
                  const layout::Form& form) {
    SCOPED_TRACE(form.name);
    inside.Send(L"ZarnTestMeasureTexts", 0, 0, window);
    std::string bytes = folder.Read("measured.txt");
    WString lines((const wchar_t*)bytes.data(), bytes.size() / sizeof(wchar_t));
    ASSERT_FALSE(lines.empty()) << "the hook did not answer";
    std::set<HWND> seen;
    for (std::size_t at = 0, end; (end = lines.find(L'\n', at)) != WString::npos; at = end + 1) {
        WString line = lines.substr(at, end - at);
        void* control;
        int inked;
        RECT room, ink;
        ASSERT_EQ(swscanf(line.c_str(), L"%p %d %ld %ld %ld %ld %ld %ld %ld %ld", &control, &inked,
                          &room.left, &room.top, &room.right, &room.bottom, &ink.left, &ink.top,
                          &ink.right, &ink.bottom), 10);
        seen.insert((HWND)control);
        std::string what = Narrow(line.substr(line.find(L'\t') + 1));
        printf("  %-11s %3u dpi  ink %4ld..%-4ld x %4ld..%-4ld  room %4ld..%-4ld x %4ld..%-4ld  %s\n",
               form.name, ScreenDpi(), ink.left, ink.right, ink.top, ink.bottom, room.left,
               room.right, room.top, room.bottom, what.c_str());
        EXPECT_TRUE(inked) << what << ": nothing drawn";
        EXPECT_GE(ink.left, room.left) << what << ": drawn left of its control";
        EXPECT_LE(ink.right, room.right) << what << ": drawn right of its control";
        EXPECT_GE(ink.top, room.top) << what << ": drawn above its control";
        EXPECT_LE(ink.bottom, room.bottom) << what << ": drawn below its control";
        for (HWND above = (HWND)control; inked && (above = GetWindow(above, GW_HWNDPREV));) {
            RECT r = RectInParent(above), both;
            if (IsWindowVisible(above) && IntersectRect(&both, &ink, &r))
                ADD_FAILURE() << what << ": drawn under " << WindowText(above) << " ("
                              << ClassOf(above) << ") which lies above it";
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

TEST(TextFitsUi, EveryTextLiesInsideItsControlInEveryWindow) {
    for (std::string state : {"yes", "no"}) {
        SCOPED_TRACE(state);
        TempFolder folder("Red Alert 2");
        folder.Write(state == "yes" ? "expandmd81.mix" : "expandmd81.mix.Zarn", "marker");
        std::string v = state == "yes" ? "1.000000" : "0.000000";
        folder.Write("RA2MD.ini", "[Audio]\r\nSoundVolume=" + v + "\r\nVoiceVolume=" + v +
                                      "\r\nScoreVolume=" + v + "\r\nInGameMusic=" + state +
                                      "\r\n[Video]\r\nAllowHiResModes=" + state +
                                      "\r\nVideoBackBuffer=" + state + "\r\nAllowVRAMSidebar=" +
                                      state + "\r\nScreenWidth=1280\r\nScreenHeight=1024\r\n");
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr) << "the panel did not start";
        InsidePanel inside(panel.main());
        ASSERT_TRUE(inside.hooked()) << "no hook on the panel's thread";
        ExpectInside(inside, folder, panel.main(), layout::kFrm1);
        for (const layout::Form* form : {&layout::kGameOptions, &layout::kAbout, &layout::kHelp}) {
            HWND window = panel.Open(*form);
            ASSERT_NE(window, nullptr) << form->caption << " did not open";
            ExpectInside(inside, folder, window, *form);
            PostMessageW(window, WM_CLOSE, 0, 0);  // saves nothing
            ASSERT_TRUE(WaitGone(window));
        }
    }
}

}  // namespace
