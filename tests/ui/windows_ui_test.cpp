// Every window as the screen shows it under Wine: laid out at its table at
// this run's DPI, each text inside its control in the fonts found here
// (ui_fewer_fonts runs it with fewer), the pictures and icons for the
// scale, and the colours taken from the system.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/gif.h"
#include "tests/ui/panel.h"

namespace {

using Pixels = std::vector<DWORD>;  // 0xAARRGGBB, top row first
using Rect = std::vector<LONG>;     // left, top, right, bottom

int Px(int twips, UINT dpi = 0) {
    HDC dc = GetDC(nullptr);
    int screen = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return layout::Pixels(twips, dpi ? (int)dpi : screen);
}
RECT RectIn(HWND h, HWND to) {
    RECT rc;
    GetWindowRect(h, &rc);
    MapWindowPoints(HWND_DESKTOP, to, (POINT*)&rc, 2);
    return rc;
}
// A bitmap's pixels, `width` by `height`, the alpha bits kept or cleared.
Pixels Bits(HBITMAP bmp, int width, int height, DWORD keep = 0xFFFFFF) {
    BITMAPINFO bi = {{sizeof bi.bmiHeader, width, -height, 1, 32}};
    Pixels px((size_t)width * height);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bmp, 0, height, px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    for (DWORD& p : px) p &= keep;
    return px;
}
// The screen's pixels in `window`'s client area, from (x, y), `width` by `height`.
Pixels OnScreen(HWND window, int x, int y, int width = 1, int height = 1) {
    POINT at = {x, y};
    ClientToScreen(window, &at);
    HDC screen = GetDC(nullptr), mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, width, height, screen, at.x, at.y, SRCCOPY);
    SelectObject(mem, old);
    Pixels px = Bits(bmp, width, height);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return px;
}
DWORD Rgb(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

// Each text of `window`'s controls (a combo box's entries as its field shows
// them), drawn as the control draws it with its font on a white canvas with
// a wide margin, nothing clipped, inks only inside the control and under no
// visible control above it. Returns the controls with a text.
std::vector<HWND> TextsInside(HWND window) {
    std::vector<HWND> measured;
    for (HWND h = nullptr; (h = FindWindowExW(window, h, nullptr, nullptr)) != nullptr;) {
        std::string cls = ClassOf(h);
        HWND field = cls == "ComboBox" ? GetWindow(h, GW_CHILD) : h;
        LONG style = GetWindowLongW(field, GWL_STYLE);
        RECT room;
        GetClientRect(field, &room);
        std::vector<WString> texts = {Widen(TextOf(field))};
        UINT flags = DT_SINGLELINE | DT_NOPREFIX | ((style & ES_CENTER) ? DT_CENTER : DT_LEFT);
        if (cls == "Static") {
            bool wraps = (style & SS_TYPEMASK) == SS_CENTER;
            flags = DT_EXPANDTABS | (wraps ? DT_CENTER | DT_WORDBREAK : DT_SINGLELINE);
        } else if (cls == "Button") {
            InflateRect(&room, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
            flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        } else if (cls == "ComboBox" || (cls == "Edit" && !(style & ES_MULTILINE))) {
            SendMessageW(field, EM_GETRECT, 0, (LPARAM)&room);
            for (int i = 0, n = (int)SendMessageW(h, CB_GETCOUNT, 0, 0); i < n; ++i) {
                wchar_t item[64] = {};
                SendMessageW(h, CB_GETLBTEXT, i, (LPARAM)item);
                texts.push_back(item);
            }
        } else {
            continue;
        }
        HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, (HFONT)SendMessageW(field, WM_GETFONT, 0, 0));
        const int pad = 200, w = room.right - room.left + 2 * pad, ht = room.bottom - room.top + 2 * pad;
        BITMAPINFO bi = {{sizeof bi.bmiHeader, w, -ht, 1, 32}};
        DWORD* px = nullptr;
        HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, (void**)&px, nullptr, 0);
        SelectObject(dc, bmp);
        SetBkMode(dc, TRANSPARENT);
        MapWindowPoints(field, window, (POINT*)&room, 2);
        for (const WString& text : texts) {
            if (text.empty()) continue;
            SCOPED_TRACE(Narrow(text));
            std::fill(px, px + w * ht, 0xFFFFFF);
            RECT at = {pad, pad, w - pad, ht - pad}, ink = {w, ht, 0, 0}, in, box = RectIn(h, window);
            DrawTextW(dc, text.c_str(), (int)text.size(), &at, flags | DT_NOCLIP);
            GdiFlush();
            for (int y = 0; y < ht; ++y)
                for (int x = 0; x < w; ++x)
                    if ((px[y * w + x] & 0xFFFFFF) != 0xFFFFFF)
                        ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                               std::max<LONG>(ink.right, x + 1), std::max<LONG>(ink.bottom, y + 1)};
            OffsetRect(&ink, room.left - pad, room.top - pad);
            EXPECT_TRUE(IntersectRect(&in, &ink, &box) && EqualRect(&in, &ink)) << "drawn outside";
            for (HWND above = h; (above = GetWindow(above, GW_HWNDPREV));) {
                RECT r = RectIn(above, window);
                EXPECT_FALSE(IsWindowVisible(above) && IntersectRect(&in, &ink, &r))
                    << "drawn under " << TextOf(above) << ", which lies above it";
            }
            if (measured.empty() || measured.back() != h) measured.push_back(h);
        }
        DeleteDC(dc);
        DeleteObject(bmp);
    }
    return measured;
}

// A window against its table: frame, client area, controls, tab order, focus.
void ExpectLaidOut(HWND w, const layout::Form& f) {
    SCOPED_TRACE(f.name);
    using layout::Kind;
    EXPECT_EQ(TextOf(w), f.caption);
    EXPECT_EQ(GetWindowLongW(w, GWL_STYLE) &
                  (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_CAPTION | WS_SYSMENU);
    // A fixed dialog frame without an icon of its own shows none in its title.
    EXPECT_EQ((GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) != 0,
              f.frame == layout::Frame::kFixedDialog && !f.icon);
    RECT c;
    GetClientRect(w, &c);
    MapWindowPoints(w, HWND_DESKTOP, (POINT*)&c, 2);
    bool placed = f.left == layout::kSystemPlaced;
    EXPECT_EQ(Rect({c.left, c.top, c.right, c.bottom}),
              Rect({placed ? c.left : Px(f.left), placed ? c.top : Px(f.top),
                    c.left + Px(f.client_width), c.top + Px(f.client_height)})) << "client area";
    std::vector<HWND> measured = TextsInside(w), tab_order;
    for (std::size_t i = 0; i < f.count; ++i) {
        const layout::Control& row = f.controls[i];
        SCOPED_TRACE(row.name);
        HWND h = Control(w, f, row.name);
        ASSERT_EQ(h == nullptr, row.kind == Kind::kLine) << "a line is drawn, the rest are windows";
        if (!h) continue;
        const char* classes[] = {"Button", "Static", "ZarnPicture", "ZarnPicture", "Edit", "Edit",
                                 "ScrollBar", "ComboBox"};
        EXPECT_EQ(ClassOf(h), classes[(int)row.kind]);
        RECT r = RectIn(h, w);
        if (row.kind == Kind::kCombo) r.bottom = Px(row.top + row.height);  // follows its font
        EXPECT_EQ(Rect({r.left, r.top, r.right, r.bottom}),
                  Rect({Px(row.left), Px(row.top), Px(row.left + row.width), Px(row.top + row.height)}));
        LONG cs = GetWindowLongW(h, GWL_STYLE), memo = row.kind == Kind::kMemo;
        EXPECT_EQ((cs & WS_TABSTOP) != 0, row.tab_stop);
        if (row.tab_stop) tab_order.push_back(h);
        bool label = row.kind == Kind::kLabel, filled = label && !*row.caption && row.also_shows;
        if (row.kind == Kind::kButton || memo || (label && !filled)) { EXPECT_EQ(TextOf(h), row.caption); }
        EXPECT_EQ(std::count(measured.begin(), measured.end(), h), row.kind == Kind::kButton ||
                  row.kind == Kind::kCombo || row.kind == Kind::kTextBox ||
                  (label && (*row.caption || row.also_shows))) << "its text measured";
        // Push buttons never the default, labels as laid out, memos wrapped, scroll bars across.
        LONG want[] = {BS_PUSHBUTTON, ((row.flags & layout::kCentred) ? SS_CENTER : SS_LEFTNOWORDWRAP) |
                       ((row.flags & layout::kBorder) ? WS_BORDER : 0), 0, 0, ES_CENTER,
                       ES_MULTILINE | ES_READONLY | WS_VSCROLL, SBS_HORZ, CBS_DROPDOWN},
             mask[] = {BS_TYPEMASK, SS_TYPEMASK | WS_BORDER, 0, 0,
                       ES_MULTILINE | ES_READONLY | ES_CENTER | WS_VSCROLL | WS_HSCROLL,
                       ES_MULTILINE | ES_READONLY | ES_CENTER | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL,
                       SBS_VERT, 3};
        EXPECT_EQ(cs & mask[(int)row.kind], want[(int)row.kind]) << "its style";
        if (row.kind == Kind::kTextBox || memo) {  // sunken, showing its first line
            EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
            EXPECT_EQ(SendMessageW(h, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
        }
        if (row.kind != Kind::kCombo) continue;
        std::string items;
        for (int k = 0, n = (int)SendMessageW(h, CB_GETCOUNT, 0, 0); k < n; ++k) {
            wchar_t item[32] = {};
            SendMessageW(h, CB_GETLBTEXT, k, (LPARAM)item);
            items += (k ? "|" : "") + Narrow(WString(item));
        }
        EXPECT_EQ(items, row.caption) << "the list, unsorted";
    }
    // Tab goes through the focusable rows in table order from the focus, round
    // to it again. (A combo box's focus is on its edit field.)
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
        const std::string ini = "[Audio]\r\nSoundVolume=" + v + "\r\nVoiceVolume=" + v + "\r\nScoreVolume=" +
                                v + "\r\nInGameMusic=" + on + "\r\n[Video]\r\nAllowHiResModes=" + on +
                                "\r\nVideoBackBuffer=" + on + "\r\nAllowVRAMSidebar=" + on +
                                "\r\nScreenWidth=1280\r\nScreenHeight=1024\r\n";
        folder.Write("RA2MD.ini", ini);
        Panel panel(folder);
        ASSERT_NE(panel.main(), nullptr);
        ExpectLaidOut(panel.main(), layout::kFrm1);
        EXPECT_EQ(GetWindow(panel.main(), GW_OWNER), nullptr);  // the start-up window: nobody's
        struct {
            const layout::Form* form;
            POINT bare;  // in twips, a spot of the window's own background no control covers
        } windows[] = {{&layout::kGameOptions, {3600, 60}}, {&layout::kAbout, {3600, 1000}},
                       {&layout::kHelp, {1000, 3000}}};
        for (auto [form, bare] : windows) {
            HWND w = panel.Open(*form);
            ASSERT_NE(w, nullptr);
            ExpectLaidOut(w, *form);
            EXPECT_EQ(GetWindow(w, GW_OWNER), panel.main());
            EXPECT_FALSE(IsWindowEnabled(panel.main())) << "the main window takes no input";
            EXPECT_EQ(OnScreen(w, Px(bare.x), Px(bare.y))[0],
                      form->back == layout::kSystem ? Rgb(GetSysColor(COLOR_BTNFACE)) : form->back);
            // Closed by the title bar, "Ok", "&Close Help": the input goes back.
            if (form == &layout::kGameOptions) PostMessageW(w, WM_CLOSE, 0, 0);
            if (form == &layout::kAbout) Click(Control(w, *form, "Command1"));
            if (form == &layout::kHelp) Keys(w, {VK_MENU, 'C'});
            EXPECT_TRUE(WaitGone(w));
            Sleep(100);
            EXPECT_TRUE(IsWindowEnabled(panel.main()));
            EXPECT_EQ(GetForegroundWindow(), panel.main());
        }
        EXPECT_EQ(folder.Read("RA2MD.ini"), ini) << "opening and closing write nothing";
        EXPECT_EQ(folder.Names().size(), 2u) << "the marker and the settings";
    }
}

// An icon's width and its colour channels' means (blue, green, red, alpha), premultiplied.
std::vector<int> IconMeans(HICON icon) {
    ICONINFO info = {};
    BITMAP bm = {};
    GetIconInfo(icon, &info);
    GetObjectW(info.hbmColor, sizeof bm, &bm);
    Pixels px = Bits(info.hbmColor, bm.bmWidth, bm.bmHeight, ~0u), mask = Bits(info.hbmMask, bm.bmWidth, bm.bmHeight);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    bool alpha = std::any_of(px.begin(), px.end(), [](DWORD p) { return p >> 24; });
    std::vector<int> out = {bm.bmWidth, 0, 0, 0, 0};
    for (int c = 0; c < 4; ++c) {
        double sum = 0;
        for (std::size_t i = 0; i < px.size(); ++i)
            sum += (alpha ? (px[i] >> 24) / 255.0 : mask[i] ? 0 : 1) *
                   (c < 3 ? px[i] >> (8 * c) & 255 : 255);
        out[c + 1] = (int)(sum / (double)std::max<std::size_t>(px.size(), 1));
    }
    return out;
}

// Drawings for 1x, 1.5x and 2x (96, 144, 192 dpi): one stretched fails. The
// icons: the 32 by 32 picture scaled smoothly, keeping its colours' means.
TEST(PicturesUi, EachPictureAndIconIsTheDrawingForTheScaleAlsoAfterADpiChange) {
    TempFolder folder("Red Alert 2");
    Panel panel(folder);
    const UINT steps[] = {(UINT)Px(1440), 144, 192, 96};
    if (steps[0] != 96 && steps[0] != 144 && steps[0] != 192)
        GTEST_SKIP() << "drawings are made for 96, 144 and 192 dpi only; here " << steps[0];
    HMODULE self = GetModuleHandleW(nullptr);  // with the program's resources
    HICON natural = (HICON)LoadImageW(self, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0);
    for (int step = 0; step < 4; ++step) {
        const UINT dpi = steps[step];
        SCOPED_TRACE(dpi);
        if (step) {  // as the system sends it on a move to another monitor; Wine never does
            RECT r = RectIn(panel.main(), nullptr);
            r.right = r.left + Px(layout::kFrm1.client_width, dpi) + 40;
            r.bottom = r.top + Px(layout::kFrm1.client_height, dpi) + 60;
            SendMessageW(panel.main(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), (LPARAM)&r);
            Sleep(300);  // let it paint
        }
        for (const char* control : {"Picture2(0)", "Picture2(3)", "Picture2(2)", "Image1", "Image2"}) {
            SCOPED_TRACE(control);
            const layout::Control& row = *layout::Find(layout::kFrm1, control);
            WString name = Widen(row.caption) + (dpi == 96 ? L"" : dpi == 144 ? L"_150" : L"_200");
            Pixels want;  // a BITMAP or a GIF
            HRSRC gif = FindResourceW(self, name.c_str(), RT_RCDATA);
            gif::Picture p;
            if (gif && gif::Decode((const std::uint8_t*)LockResource(LoadResource(self, gif)),
                                   SizeofResource(self, gif), &p))
                for (std::uint8_t i : p.indices)
                    want.push_back(p.palette[i * 3] << 16 | p.palette[i * 3 + 1] << 8 | p.palette[i * 3 + 2]);
            HWND h = panel.Main(control);
            BITMAP bm;
            if (auto bmp = (HBITMAP)LoadImageW(self, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)) {
                GetObjectW(bmp, sizeof bm, &bm);
                want = Bits(bmp, bm.bmWidth, bm.bmHeight);
                DeleteObject(bmp);
            }
            RECT rc;
            GetClientRect(h, &rc);
            EXPECT_EQ(Rect({rc.right, rc.bottom}), Rect({Px(row.left + row.width, dpi) - Px(row.left, dpi),
                                                         Px(row.top + row.height, dpi) - Px(row.top, dpi)}));
            EXPECT_TRUE(!want.empty() && OnScreen(h, 0, 0, rc.right, rc.bottom) == want) << "unchanged";
        }
        for (auto [which, size] : {std::make_pair(ICON_SMALL, 16), std::make_pair(ICON_BIG, 32)}) {
            std::vector<int> icon = IconMeans((HICON)SendMessageW(panel.main(), WM_GETICON, which, 0)),
                             want = IconMeans(natural);
            EXPECT_EQ(icon[0], size * (int)dpi / 96) << "width";
            for (int c = 1; c < 5; ++c) EXPECT_NEAR(icon[c], want[c], 6) << "channel " << c;
        }
        EXPECT_EQ(RectIn(panel.Main("Command1"), panel.main()).left, Px(3120, dpi)) << "the controls follow";
    }
    DestroyIcon(natural);
}

// A pixel near the right end of a window's client area, clear of any text.
DWORD RightOf(HWND window) {
    RECT rc;
    GetClientRect(window, &rc);
    return OnScreen(window, rc.right - 3, rc.bottom / 2)[0];
}

// The resolution box in the window colours, empty labels in the face colour,
// following the system's; the black ground, the status labels' colours stay.
TEST(ColoursUi, TheResolutionBoxHasTheWindowColoursAndSystemColoursFollowTheSystem) {
    TempFolder folder;
    folder.Write("RA2MD.ini", "[Video]\r\nScreenWidth=800\r\nScreenHeight=600\r\n");
    Panel panel(folder);
    HWND w = panel.Open(layout::kGameOptions);
    ASSERT_NE(w, nullptr);
    HWND combo = Control(w, layout::kGameOptions, "Combo1"), field = GetWindow(combo, GW_CHILD);
    EXPECT_EQ(RightOf(field), Rgb(GetSysColor(COLOR_WINDOW))) << "the text field";
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Sleep(200);
    // The list's first entry, right of its text; the current entry, lit, is the third.
    RECT list, box = RectIn(combo, nullptr);
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)&list);
    EXPECT_EQ(OnScreen(nullptr, list.right - 6, box.bottom + 5)[0],
              Rgb(GetSysColor(COLOR_WINDOW))) << "the list";
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);

    HWND label = panel.Main("Label2"), status = Control(w, layout::kGameOptions, "EVBBS");
    RECT rc;
    GetClientRect(label, &rc);
    auto centre = [&] { return OnScreen(label, rc.right / 2, rc.bottom / 2)[0]; };
    const int elements[] = {COLOR_BTNFACE, COLOR_WINDOW};
    const COLORREF old[] = {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_WINDOW)},
                   odd[] = {RGB(0, 128, 128), RGB(0, 0, 255)};
    ASSERT_EQ(centre(), Rgb(old[0]));
    SetSysColors(2, elements, odd);
    Sleep(300);
    EXPECT_EQ(centre(), Rgb(odd[0])) << "the main window's empty label";
    EXPECT_EQ(RightOf(field), Rgb(odd[1])) << "the resolution box";
    EXPECT_EQ(RightOf(status), 0u) << "a status label, black by its layout";
    EXPECT_EQ(OnScreen(w, Px(3600), Px(60))[0], 0u) << "the window's black ground";
    SetSysColors(2, elements, old);
    Sleep(300);
    EXPECT_EQ(centre(), Rgb(old[0])) << "back to the old colours";
}

}  // namespace
