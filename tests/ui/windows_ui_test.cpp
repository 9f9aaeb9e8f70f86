// Every window as the screen shows it under Wine at this run's DPI, in the
// fonts found here (ui_font_worlds runs it in worlds of its own); the pictures and icons.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/win/pictures.h"
#include "tests/support/game_files.h"
#include "tests/ui/panel.h"

namespace {

using Pixels = std::vector<DWORD>;  // 0xAARRGGBB, top row first
using Rect = std::vector<LONG>;     // left, top, right, bottom

int Px(int twips, int dpi = 0) {  // at `dpi`, by default the screen's
    static const int screen = GetDeviceCaps(GetDC(nullptr), LOGPIXELSY);
    return app::Pixels(twips, dpi ? dpi : screen);
}
RECT RectIn(HWND h, HWND to) {
    RECT rc;
    GetWindowRect(h, &rc);
    MapWindowPoints(HWND_DESKTOP, to, (POINT*)&rc, 2);
    return rc;
}
// The screen's pixels in `window`'s client area, from (x, y), `width` by `height`, as 0xRRGGBB.
Pixels OnScreen(HWND window, int x, int y, int width = 1, int height = 1) {
    POINT at = {x, y};
    ClientToScreen(window, &at);
    HDC screen = GetDC(nullptr), mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, width, height, screen, at.x, at.y, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFO bi = {{sizeof bi.bmiHeader, width, -height, 1, 32}};
    Pixels px((size_t)width * height);
    GetDIBits(screen, bmp, 0, height, px.data(), &bi, DIB_RGB_COLORS);
    for (DWORD& p : px) p &= 0xFFFFFF;
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return px;
}
DWORD Rgb(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

// The rectangle around the inks of `text` drawn unclipped with `font` and `flags` in `room`.
RECT Ink(HFONT font, const platform::WString& text, RECT room, UINT flags) {
    const int pad = 200, w = room.right - room.left + 2 * pad, h = room.bottom - room.top + 2 * pad;
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bi = {{sizeof bi.bmiHeader, w, -h, 1, 32}};
    DWORD* px = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, (void**)&px, nullptr, 0);
    SelectObject(dc, bmp);
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    std::fill(px, px + w * h, 0xFFFFFF);
    RECT at = {pad, pad, w - pad, h - pad}, ink = {w, h, 0, 0};
    DrawTextW(dc, text.c_str(), (int)text.size(), &at, flags | DT_NOCLIP);
    GdiFlush();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((px[y * w + x] & 0xFFFFFF) != 0xFFFFFF)
                ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x + 1),
                       std::max<LONG>(ink.bottom, y + 1)};
    DeleteDC(dc);
    DeleteObject(bmp);
    OffsetRect(&ink, room.left - pad, room.top - pad);
    return ink;
}

// Whether every pixel lies between `back` and `fore` in each channel, and one within 8 levels of `fore`.
bool Between(const Pixels& px, DWORD fore, DWORD back) {
    bool lit = false;
    for (DWORD p : px) {
        int most = 0;
        for (int c = 0; c < 24; c += 8) {
            int v = p >> c & 255, a = fore >> c & 255, b = back >> c & 255;
            if (v < std::min(a, b) || v > std::max(a, b)) return false;
            most = std::max(most, std::abs(v - a));
        }
        lit |= most <= 8;
    }
    return lit;
}

// How many of the lines a wrapping box shows hold a single word.
int OneWordLines(HWND box) {
    int single = 0;
    for (int i = 0, n = (int)SendMessageW(box, EM_GETLINECOUNT, 0, 0); i < n; ++i) {
        wchar_t line[512] = {(wchar_t)511};  // the first word: its capacity
        platform::WString text(line, SendMessageW(box, EM_GETLINE, i, (LPARAM)line));
        int words = 0;
        for (std::size_t k = 0; k < text.size(); ++k) words += text[k] != L' ' && (k == 0 || text[k - 1] == L' ');
        single += words == 1;
    }
    return single;
}

// A window against its table: caption, a fixed frame, client area, focus; each control's
// rectangle, font, texts (drawn as it draws them, inside it and under no visible control
// above it) and its own colours.
void ExpectLaidOut(HWND w, const app::Form& f) {
    SCOPED_TRACE(f.name);
    using app::Kind;
    EXPECT_EQ(TextOf(w), f.caption);
    EXPECT_EQ(GetWindowLongW(w, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0)
        << "a sizing frame, a maximise or a minimise box";
    const bool dialog_frame = f.frame == app::Frame::kFixedDialog && !f.icon;
    EXPECT_EQ((GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) != 0, dialog_frame) << "where no icon shows";
    RECT c;
    GetClientRect(w, &c);
    MapWindowPoints(w, HWND_DESKTOP, (POINT*)&c, 2);
    bool any = f.left == app::kSystemPlaced;  // where the system puts it
    EXPECT_EQ(Rect({c.left, c.top, c.right - c.left, c.bottom - c.top}), Rect({any ? c.left : Px(f.left),
              any ? c.top : Px(f.top), Px(f.client_width), Px(f.client_height)})) << "client area";
    EXPECT_EQ(FocusOf(w), Control(w, f, f.focus)) << "focus at opening";
    for (std::size_t i = 0; i < f.count; ++i) {
        const app::Control& row = f.controls[i];
        SCOPED_TRACE(row.name);
        HWND h = Control(w, f, row.name);
        ASSERT_EQ(h == nullptr, row.kind == Kind::kLine) << "a line is drawn, the rest are windows";
        if (!h) continue;
        RECT r = RectIn(h, w), in, room;
        EXPECT_EQ(Rect({r.left, r.top, r.right, row.kind == Kind::kCombo ? Px(row.top + row.height) : r.bottom}),
                  Rect({Px(row.left), Px(row.top), Px(row.left + row.width), Px(row.top + row.height)}));
        const int k = (int)row.kind;  // a memo shows its first line
        EXPECT_EQ(k == 5 ? SendMessageW(h, EM_GETFIRSTVISIBLELINE, 0, 0) : 0, 0);
        LONG cs = GetWindowLongW(h, GWL_STYLE);
        bool label = row.kind == Kind::kLabel, combo = row.kind == Kind::kCombo, button = row.kind == Kind::kButton;
        if (button || k == 5 || (label && (*row.caption || !row.also_shows))) { EXPECT_EQ(TextOf(h), row.caption); }
        std::string list;  // a combo box's entries, as its field shows them
        for (int i = 0, n = combo ? (int)SendMessageW(h, CB_GETCOUNT, 0, 0) : 0; i < n; ++i) {
            wchar_t item[64] = {};
            SendMessageW(h, CB_GETLBTEXT, i, (LPARAM)item);
            list += (i ? "|" : "") + platform::Narrow(item);
        }
        EXPECT_EQ(list, combo ? row.caption : "") << "the list, unsorted";
        LOGFONTW lf = {};  // the font it holds, whichever face stood in: the row's size, weight, slant
        const app::Font& font = row.font ? *row.font : *f.font;
        GetObjectW((HFONT)SendMessageW(h, WM_GETFONT, 0, 0), sizeof lf, &lf);
        // The help text in a stand-in leaves no line holding one word; in the named face, as it wraps.
        EXPECT_EQ(k == 5 && platform::Narrow(lf.lfFaceName) != font.face ? OneWordLines(h) : 0, 0)
            << "lines of the help text holding one word";
        if (k != 2 && k != 3 && k != 6) {
            EXPECT_EQ(Rect({lf.lfHeight, lf.lfWeight, lf.lfItalic}),
                      Rect({-MulDiv(font.size_hundredths, Px(1440), 7200), font.bold ? 700 : 400, font.italic}));
            // In a font world of the test's (font_worlds.sh), MS Sans Serif's rows hold the world's
            // "Microsoft Sans Serif" where it fits, never where it is too wide (the memo: by its lines).
            static const char* const world = std::getenv("ZARN_FONT_WORLD");
            bool held = platform::Narrow(lf.lfFaceName) == "Microsoft Sans Serif";
            if (world && k != 5 && font.substitutes == app::kSansSerifSubstitutes) {
                EXPECT_EQ(held, std::string(world) == "fitting") << world << ": " << platform::Narrow(lf.lfFaceName);
            }
            // At 96 dpi the named face, a bitmap face as on Windows (tools/test.sh), fits and stays.
            if (!world && Px(1440) == 96 && k != 5 && font.substitutes == app::kSansSerifSubstitutes) {
                EXPECT_STREQ(lf.lfFaceName, L"MS Sans Serif");
            }
        }
        if (k == 2 || k == 3 || k == 5 || k == 6) continue;  // pictures, memos, scroll bars
        HWND field = combo ? GetWindow(h, GW_CHILD) : h;
        GetClientRect(field, &room);
        UINT flags = label ? DT_EXPANDTABS | ((cs & SS_TYPEMASK) == SS_CENTER ? DT_CENTER | DT_WORDBREAK : DT_SINGLELINE)
                     : button ? DT_CENTER | DT_VCENTER | DT_SINGLELINE
                     : DT_SINGLELINE | DT_NOPREFIX | ((GetWindowLongW(field, GWL_STYLE) & ES_CENTER) ? DT_CENTER : 0);
        if (button) InflateRect(&room, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
        if (!label && !button) SendMessageW(field, EM_GETRECT, 0, (LPARAM)&room);
        MapWindowPoints(field, w, (POINT*)&room, 2);
        // Its texts: the one now, its entries, and those it shows at other times.
        const std::string all = TextOf(field) + "|" + list + "|" + (row.also_shows ? row.also_shows : "");
        for (std::size_t at = 0, end = 0; end < all.size(); at = end + 1) {
            if ((end = std::min(all.find('|', at), all.size())) == at) continue;
            SCOPED_TRACE(all.substr(at, end - at));
            RECT ink = Ink((HFONT)SendMessageW(field, WM_GETFONT, 0, 0), platform::Widen(all.substr(at, end - at)), room, flags);
            EXPECT_TRUE(IntersectRect(&in, &ink, &r) && EqualRect(&in, &ink)) << "drawn outside";
            for (HWND above = h; (above = GetWindow(above, GW_HWNDPREV));) {
                RECT a = RectIn(above, w);
                EXPECT_FALSE(IsWindowVisible(above) && IntersectRect(&in, &ink, &a))
                    << "drawn under " << TextOf(above) << ", which lies above it";
            }
        }
        if (row.fore == app::kSystem || !(label || k == 4)) continue;
        // Its own colours, given as it asks for them and on the screen in its text's area.
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(w, label ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, (WPARAM)dc, (LPARAM)h);
        EXPECT_EQ(Rect({(LONG)Rgb(GetTextColor(dc)), (LONG)Rgb(GetBkColor(dc))}),
                  Rect({(LONG)row.fore, (LONG)row.back}));
        DeleteDC(dc);
        RECT ink = Ink((HFONT)SendMessageW(h, WM_GETFONT, 0, 0), platform::Widen(TextOf(h)), room, flags);
        EXPECT_TRUE(WaitUntil([&] {
            Pixels px = OnScreen(w, ink.left, ink.top, ink.right - ink.left, ink.bottom - ink.top);
            return Between(px, row.fore, row.back);
        })) << "text pixels between its back and text colours, one of them the text colour";
    }
}

// A pixel of a window's client area clear of any text: near its right end, or at its centre.
DWORD Ground(HWND window, bool centre = false) {
    RECT rc;
    GetClientRect(window, &rc);
    return OnScreen(window, centre ? rc.right / 2 : rc.right - 3, rc.bottom / 2)[0];
}

// What a key could change: the panel's windows, their controls' texts, the focus, the files.
std::string Seen(const Panel& panel, const TempFolder& folder) {
    std::string s = "focus " + std::to_string((UINT_PTR)FocusOf(panel.main())) + "\n";
    for (HWND top : panel.Windows())
        for (HWND c = top; c; c = c == top ? GetWindow(top, GW_CHILD) : GetWindow(c, GW_HWNDNEXT))
            s += ClassOf(c) + " \"" + TextOf(c) + "\"\n";
    for (const std::string& name : folder.Names()) s += name + ": " + folder.Read(name) + "\n";
    return s;
}

// From the window's first focus, Tab visits the controls that take the focus in table order and
// comes back. On each, Enter, Escape and, but in a box where they type, every letter and Space
// (not on a button: its press) change nothing.
void ExpectKeysPressNothing(const Panel& panel, const TempFolder& folder, HWND w, const app::Form& f) {
    std::vector<std::string> want, seen;
    for (std::size_t i = 0, first = FindControl(f, f.focus) - f.controls; i < f.count; ++i)
        if (const app::Control& row = f.controls[(first + i) % f.count]; row.tab_stop) want.push_back(row.name);
    FocusOn(w, Control(w, f, f.focus));
    auto focus = [&] {  // the focused control of the table (a combo box for its field)
        HWND to = FocusOf(w);
        int at = GetDlgCtrlID(GetParent(to) == w ? to : GetParent(to)) - 100;
        return at >= 0 && at < (int)f.count ? f.controls + at : nullptr;
    };
    for (const app::Control* now = focus(); now && seen.size() < want.size() + 1; now = focus()) {
        const app::Control& row = *now;
        seen.push_back(row.name);
        SCOPED_TRACE(row.name);
        HWND control = Control(w, f, row.name);
        auto on = [&] { return FocusOf(w) == control || GetParent(FocusOf(w)) == control; };
        int steady = 0;  // on it at three checks in a row, each after a round trip
        ASSERT_TRUE(WaitUntil([&] {
            if (!on()) FocusOn(w, control);
            Settle(w);
            return (steady = on() ? steady + 1 : 0) == 3;
        }));
        const std::string before = Seen(panel, folder), letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        bool typed = row.kind == app::Kind::kCombo || row.kind == app::Kind::kTextBox;
        for (char vk : "\r\x1b" + (typed ? std::string() : letters + (row.kind == app::Kind::kButton ? "" : " "))) {
            Keys(w, {(WORD)vk});
            ASSERT_EQ(Seen(panel, folder), before) << "key " << (int)vk;
        }
        // From a button, an arrow moves the focus, and never onto a label or a picture.
        for (WORD arrow : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) {
            if (row.kind != app::Kind::kButton) break;
            FocusOn(w, control);
            Keys(w, {arrow});
            bool moved = want.size() == 1 || WaitUntil([&] { return !on(); }, 1000);  // About's stays
            EXPECT_TRUE(moved && focus() && focus()->tab_stop)
                << "arrow " << arrow << " to " << (focus() ? focus()->name : "?");
        }
        // Tab to the next (Wine moves the X input focus after a round trip: pressed again if it
        // has not moved). About's one control keeps it; seen there by Space.
        FocusOn(w, control);
        if (want.size() == 1) break;
        ASSERT_TRUE(WaitUntil([&] { return Keys(w, {VK_TAB}), WaitUntil([&] { return !on(); }, 300); }, 2000))
            << "Tab moves nothing";
        if (HWND to = FocusOf(w); SendMessageW(to, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
            DWORD from = 0, end = 0;
            SendMessageW(to, EM_GETSEL, (WPARAM)&from, (LPARAM)&end);
            EXPECT_EQ(end - from, (DWORD)GetWindowTextLengthW(to)) << "Tab selects a box's whole text";
        }
        if (focus() == FindControl(f, f.focus)) break;
    }
    EXPECT_EQ(seen, want) << "the tab order";
}

// Each window as laid out, and its keys; each modal window holds the main window
// still till closed (title bar, Space on "Ok", "&Close Help"). In Game Options,
// Escape closes the resolution box's list, and only that; the box in the window
// colours, empty labels in the face colour, following the system's.
TEST(WindowsUi, EveryWindowAsLaidOutAndDrawnAndNoPlainKeyPressesAnything) {
    TempFolder folder("Red Alert 2");
    for (const std::string& name : game_files::kModFiles) folder.Write(name, "mod");
    folder.Write("Readme.txt", "Clean deletes it");
    folder.Write("RA2MD.ini", "[Audio]\r\nSoundVolume=0.5\r\nVoiceVolume=0.7\r\nScoreVolume=0.4\r\n[Video]\r\n"
                 "ScreenWidth=800\r\nScreenHeight=600\r\n");
    Panel panel(folder);
    ExpectLaidOut(panel.main(), app::kFrm1Layout);
    ExpectKeysPressNothing(panel, folder, panel.main(), app::kFrm1Layout);
    for (const app::Form* form : {&app::kGameOptionsLayout, &app::kAboutLayout, &app::kHelpLayout}) {
        HWND w = panel.Open(*form);
        ExpectLaidOut(w, *form);
        EXPECT_FALSE(IsWindowEnabled(panel.main())) << "the main window takes no input";
        if (form == &app::kGameOptionsLayout) {
            HWND combo = Control(w, *form, "Combo1"), field = GetWindow(combo, GW_CHILD), label = panel.Main("Label2");
            FocusOn(w, combo);
            SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
            RECT list, box = RectIn(combo, nullptr);  // the first entry, right of its text (the third is lit)
            SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)&list);
            const DWORD entry = Rgb(GetSysColor(COLOR_WINDOW));
            EXPECT_TRUE(WaitUntil([&] { return OnScreen(nullptr, list.right - 6, box.bottom + 5)[0] == entry; }));
            Keys(w, {VK_ESCAPE});
            EXPECT_TRUE(WaitUntil([=] { return !SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0); }, 5000))
                << "the list stays open";
            const int elements[] = {COLOR_BTNFACE, COLOR_WINDOW, COLOR_WINDOWFRAME, COLOR_WINDOWTEXT};
            const COLORREF old[] = {GetSysColor(elements[0]), GetSysColor(elements[1]), GetSysColor(elements[2]),
                                    GetSysColor(elements[3])},
                           odd[] = {RGB(0, 128, 128), RGB(0, 0, 255), RGB(255, 0, 255), RGB(255, 255, 0)};
            SetSysColors(4, elements, odd);
            // The window's lines, black on its black until the system's text colour changes.
            EXPECT_TRUE(WaitUntil([&] { return OnScreen(w, Px(60), Px(1560))[0] == Rgb(odd[3]); })) << "Line1";
            EXPECT_TRUE(WaitUntil([&] { return Ground(label, true) == Rgb(odd[0]); }))
                << "the main window's empty label";
            EXPECT_TRUE(WaitUntil([&] { return Ground(field) == Rgb(odd[1]); })) << "the resolution box";
            EXPECT_EQ(Ground(Control(w, *form, "EVBBS")), 0u) << "a status label, black by its layout";
            EXPECT_EQ(OnScreen(w, Px(3600), Px(60))[0], 0u) << "the window's black ground";
            // A status label's frame, in the system's frame colour (in Wine's theme, its own grey);
            // "Sound Volume" has none, and its own black reaches its edge.
            for (const char* name : {"EVBBS", "Label1"}) {
                RECT r = RectIn(Control(w, *form, name), w);
                auto edge = [&] { return OnScreen(w, (r.left + r.right) / 2, r.top)[0]; };  // clear of neighbours
                EXPECT_TRUE(WaitUntil([&] { return (edge() != 0) == (*name == 'E'); })) << name;
            }
            SetSysColors(4, elements, old);
            // A label's access key gives the focus to the next control that takes it; there
            // the arrows move the slider.
            HWND slider = Control(w, *form, "HScroll1");
            for (WORD key : {'V', 'B'}) {
                FocusOn(w, Control(w, *form, "Command1"));
                Keys(w, {VK_MENU, key});
                EXPECT_TRUE(WaitUntil([&] { return FocusOf(w) == slider; }, 5000)) << "Alt+" << (char)key;
            }
            const int at = GetScrollPos(slider, SB_CTL);
            Keys(w, {VK_RIGHT});
            EXPECT_TRUE(WaitUntil([&] { return GetScrollPos(slider, SB_CTL) == at + 1; }, 5000));
        }
        ExpectKeysPressNothing(panel, folder, w, *form);
        if (form == &app::kGameOptionsLayout) PostMessageW(w, WM_CLOSE, 0, 0);
        if (form == &app::kAboutLayout) Keys(w, {VK_SPACE});  // on "Ok", its only control
        if (form == &app::kHelpLayout) Keys(w, {VK_MENU, 'C'});
        EXPECT_TRUE(WaitGone(w));
        HWND main = panel.main();
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) && GetForegroundWindow() == main; }))
            << "the main window enabled and in front again";
        HWND opener = panel.Main(form == &app::kGameOptionsLayout ? "Command7" : form == &app::kAboutLayout ? "Command4"
                                                                                                     : "Command6");
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(panel.main()) == opener; }, 5000))
            << "the focus back on the button that opened it, so Space presses it again";
    }
    // Another window in front, then the panel again: the focus where it was, moved there since the last
    // modal window, so that only the note the panel takes when it loses the activation can bring it back.
    HWND launch = panel.Main("Command1");
    FocusOn(panel.main(), launch);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(panel.main()) == launch; }, 5000));
    // `other` is this thread's window, so this thread takes its messages while it waits: Wine tells a
    // thread by them that its window lost or won the activation, and the X focus follows. A thread
    // that only sleeps keeps its window active in its own eyes, and the two processes can then hand
    // the front back and forth (once seen at 120 dpi in a full run on a loaded machine).
    HWND other = CreateWindowW(L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                               nullptr, nullptr, nullptr);
    auto take_messages = [] {
        for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&m);
    };
    // In front, asked again at most every half second while it is not (Wine may hand it back once).
    auto in_front = [&](HWND w, const std::function<bool()>& also) {
        DWORD asked = 0;
        return WaitUntil([&] {
            take_messages();
            if (GetForegroundWindow() != w && GetTickCount() - asked >= 500) {
                SetForegroundWindow(w);
                asked = GetTickCount();
            }
            return GetForegroundWindow() == w && also();
        }, 10000);
    };
    EXPECT_TRUE(in_front(other, [] { return true; }));
    EXPECT_TRUE(in_front(panel.main(), [&] { return FocusOf(panel.main()) == launch; })) << "on reactivation";
    // A question asked while another window is in front (the panel then has no focus): once it is
    // answered, the focus is where it was.
    EXPECT_TRUE(in_front(other, [&] { return !FocusOf(panel.main()); }))
        << "in front " << GetForegroundWindow() << ", other " << other << ", panel " << panel.main()
        << ", the panel's focus " << FocusOf(panel.main());
    HWND uninstall = panel.Main("Uninstall");
    SendNotifyMessageW(panel.main(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(uninstall), BN_CLICKED), (LPARAM)uninstall);
    HWND box = panel.Box(game_files::kQuestion, {IDYES, IDNO});
    Keys(box, {'N'});
    EXPECT_TRUE(WaitGone(box));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(panel.main()) == launch; }, 5000));
    Settle(panel.main());
    EXPECT_EQ(FocusOf(panel.main()), launch) << "after a question asked in the background";
    DestroyWindow(other);
}

// A picture as the build made it with ImageMagick (tests/CMakeLists.txt), a binary PPM named
// `stem`.ppm, as 0xRRGGBB values; its size in *size. Empty when it cannot be read.
Pixels Expected(const std::string& stem, SIZE* size) {
    // a Unix path, as Windows names it under Wine
    const std::string path = "Z:" ZARN_EXPECTED_PICTURES "/" + stem + ".ppm";
    Pixels px;
    int max = 0;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f && std::fscanf(f, "P6 %ld %ld %d", &size->cx, &size->cy, &max) == 3 && max == 255 && std::fgetc(f) != EOF) {
        unsigned char rgb[3];
        while (px.size() < (size_t)size->cx * size->cy && std::fread(rgb, 3, 1, f) == 1)
            px.push_back(rgb[0] << 16 | rgb[1] << 8 | rgb[2]);
    }
    if (f) std::fclose(f);
    return px.size() == (size_t)size->cx * size->cy ? px : Pixels();
}

// An icon as the system draws it, at its own size, on black `side` by `side` pixels.
Pixels Drawn(HICON icon, int side) {
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bi = {{sizeof bi.bmiHeader, side, -side, 1, 32}};
    DWORD* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);  // zeroed
    HGDIOBJ old = SelectObject(dc, bmp);
    DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    GdiFlush();
    Pixels px(bits, bits + side * side);
    for (DWORD& p : px) p &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return px;
}

// The largest difference in any colour channel between two pictures of the same size.
int Farthest(const Pixels& a, const Pixels& b) {
    int most = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        for (int c = 0; c < 24; c += 8) most = std::max(most, std::abs((int)(a[i] >> c & 255) - (int)(b[i] >> c & 255)));
    return most;
}

// Each picture at its size from the layout, at the run's DPI and after DPI changes: the drawing made
// for 96, 144 and 192 dpi as it is there (one stretched fails), and at 120 and 168 the next larger
// one shrunk to its size by a true area average (ImageMagick's -scale), within 4 levels.
// The icons: the 32 by 32 picture scaled by a tent as wide as the scale, as ImageMagick's
// triangle filter scales it, within 4 levels on black.
TEST(PicturesUi, EachPictureAndIconIsTheDrawingForTheScaleAlsoAfterADpiChange) {
    // At a scale no test runs (103 %, say), the drawing taken is the first no more than a pixel
    // short of the window: 67 x 68 pixels at 1x, 101 x 102 at 1.5x, 134 x 136 at 2x.
    const int scales[][3] = {{68, 69, 0}, {69, 69, 1}, {68, 70, 1}, {102, 103, 1}, {103, 102, 2}, {500, 500, 2}};
    for (const auto& s : scales) EXPECT_EQ(app::PictureScaleFor({67, 68}, {s[0], s[1]}), s[2]) << s[0] << "x" << s[1];
    TempFolder folder("Red Alert 2");
    Panel panel(folder);
    const int steps[] = {Px(1440), 120, 168, 144, 192, 96};
    for (int step = 0; step < 6; ++step) {
        const int dpi = steps[step];
        SCOPED_TRACE(dpi);
        if (step) {  // as the system sends it on a move to another monitor; Wine never does
            RECT r = RectIn(panel.main(), nullptr);
            r.right = r.left + Px(app::kFrm1Layout.client_width, dpi) + 40;
            r.bottom = r.top + Px(app::kFrm1Layout.client_height, dpi) + 60;
            SendMessageW(panel.main(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), (LPARAM)&r);
            Settle(panel.main());
            // The labels drawn anew in their new fonts: a full repaint changes nothing.
            HWND state = panel.Main("visual");
            RECT rc;
            GetClientRect(state, &rc);
            auto steady = [&] {  // Wine copies the drawing to the X screen later: unchanged over 5 polls
                Pixels last;
                int same = 0;
                WaitUntil([&] {
                    Pixels now = OnScreen(state, 0, 0, rc.right, rc.bottom);
                    same = now == last ? same + 1 : 0;
                    last = std::move(now);
                    return same == 5;
                });
                return last;
            };
            Pixels shown = steady();
            RedrawWindow(panel.main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            Settle(panel.main());
            EXPECT_TRUE(steady() == shown) << "the state label was stale";
        }
        for (const char* control : {"Picture2(0)", "Picture2(3)", "Picture2(2)", "Image1", "Image2"}) {
            SCOPED_TRACE(control);
            const app::Control& row = *FindControl(app::kFrm1Layout, control);
            RECT rc;
            GetClientRect(panel.Main(control), &rc);
            EXPECT_EQ(Rect({rc.right, rc.bottom}), Rect({Px(row.left + row.width, dpi) - Px(row.left, dpi),
                                                         Px(row.top + row.height, dpi) - Px(row.top, dpi)}));
            SIZE size = {};
            const Pixels want = Expected(std::string(row.caption) + "_" + std::to_string(dpi), &size);
            if (want.empty() || size.cx != rc.right || size.cy != rc.bottom) {
                ADD_FAILURE() << "the build's picture: " << size.cx << "x" << size.cy;
                continue;
            }
            const bool drawn = dpi % 48 == 0;  // 96, 144, 192
            int apart = 0;  // once it shows, or after the wait
            WaitUntil([&] {
                apart = Farthest(OnScreen(panel.Main(control), 0, 0, size.cx, size.cy), want);
                return apart <= (drawn ? 0 : 4);
            });
            if (!drawn) std::printf("%s at %d dpi: at most %d levels from ImageMagick's\n", control, dpi, apart);
            // The first picture that never shows ends the test: every other one would wait out its limit too.
            ASSERT_LE(apart, drawn ? 0 : 4) << (drawn ? "the drawing as it is" : "shrunk by area average");
        }
        for (auto [which, size] : {std::make_pair(ICON_SMALL, 16), std::make_pair(ICON_BIG, 32)}) {
            const int side = size * dpi / 96;
            SIZE made = {};
            const Pixels want = Expected("icon_" + std::to_string(side), &made);
            const Pixels drawn = Drawn((HICON)SendMessageW(panel.main(), WM_GETICON, which, 0), side);
            EXPECT_TRUE(!want.empty() && Farthest(drawn, want) <= 4)
                << side << " pixels: at most " << Farthest(drawn, want) << " levels from ImageMagick's";
        }
    }
}

}  // namespace
