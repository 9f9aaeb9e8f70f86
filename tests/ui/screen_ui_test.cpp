// What the screen shows under Wine, read as pixels: the artwork and icons for
// the monitor's scale, and the colours taken from the system.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/gif.h"
#include "tests/ui/panel_process.h"

namespace {

using Pixels = std::vector<std::uint32_t>;  // 0x00RRGGBB, top row first

Pixels PixelsOf(HDC dc, HBITMAP bmp, int width, int height) {
    BITMAPINFO bi = {{sizeof bi.bmiHeader, width, -height, 1, 32}};
    Pixels px((size_t)width * height);
    GetDIBits(dc, bmp, 0, height, px.data(), &bi, DIB_RGB_COLORS);
    for (auto& p : px) p &= 0xFFFFFF;
    return px;
}

// A drawing of the executable: a 24-bit RT_BITMAP, or a GIF89a of 256 colours.
Pixels Drawing(HMODULE exe, const WString& name, bool gif) {
    HRSRC r = FindResourceW(exe, name.c_str(), gif ? RT_RCDATA : RT_BITMAP);
    auto bytes = r ? (const std::uint8_t*)LockResource(LoadResource(exe, r)) : nullptr;
    if (!bytes) return {};
    auto* info = (const BITMAPINFO*)bytes;
    EXPECT_TRUE(gif ? memcmp(bytes, "GIF89a", 6) == 0 && (bytes[10] & 0x87) == 0x87
                    : info->bmiHeader.biBitCount == 24 && info->bmiHeader.biCompression == BI_RGB);
    gif::Picture p;
    Pixels px;
    if (gif && gif::Decode(bytes, SizeofResource(exe, r), &p)) {
        for (std::uint8_t i : p.indices)
            px.push_back(p.palette[i * 3] << 16 | p.palette[i * 3 + 1] << 8 | p.palette[i * 3 + 2]);
    } else if (!gif) {
        HDC dc = GetDC(nullptr);
        HBITMAP bmp = CreateDIBitmap(dc, &info->bmiHeader, CBM_INIT, bytes + info->bmiHeader.biSize,
                                     info, DIB_RGB_COLORS);
        px = PixelsOf(dc, bmp, info->bmiHeader.biWidth, info->bmiHeader.biHeight);
        DeleteObject(bmp);
        ReleaseDC(nullptr, dc);
    }
    return px;
}

// What the screen shows of `control`'s client area.
Pixels OnScreen(HWND control, int width, int height) {
    POINT at = {0, 0};
    ClientToScreen(control, &at);
    HDC screen = GetDC(nullptr), mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, width, height, screen, at.x, at.y, SRCCOPY);
    SelectObject(mem, old);
    Pixels px = PixelsOf(mem, bmp, width, height);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return px;
}

// Drawings for 1x, 1.5x and 2x (96, 144, 192 dpi): one stretched fails. The
// icons: a 32 by 32 picture of 16 colours, scaled smoothly (mixing colours).
TEST(PicturesUi, EachPictureIsTheDrawingForTheScaleAlsoAfterADpiChange) {
    TempFolder folder("Red Alert 2");
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    Sleep(300);  // let it paint
    const UINT steps[] = {ScreenDpi(), 144, 192, 96};
    if (steps[0] != 96 && steps[0] != 144 && steps[0] != 192)
        GTEST_SKIP() << "drawings are made for 96, 144 and 192 dpi only; here " << steps[0];
    HMODULE exe = LoadLibraryExW(g_panel_exe.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    ASSERT_TRUE(HookInside(panel.main()));
    for (int step = 0; step < 4; ++step) {
        const UINT dpi = steps[step];
        SCOPED_TRACE(dpi);
        if (step) {  // the window with room for its client area at the new DPI
            SendInside(panel.main(), L"ZarnTestDpiChanged", dpi,
                       MAKELPARAM(MulDiv(layout::kFrm1.client_width, dpi, 1440) + 40,
                                  MulDiv(layout::kFrm1.client_height, dpi, 1440) + 60));
            Sleep(300);  // let it paint
        }
        auto px = [dpi](int twips) { return layout::Pixels(twips, (int)dpi); };
        for (const char* control :
             {"Picture2(0)", "Picture2(3)", "Picture2(2)", "Image1", "Image2"}) {
            SCOPED_TRACE(control);
            const layout::Control& row = *layout::Find(layout::kFrm1, control);
            WString name = Widen(row.caption) + (dpi == 96 ? L"" : dpi == 144 ? L"_150" : L"_200");
            Pixels want = Drawing(exe, name, row.kind == layout::Kind::kImage);
            RECT rc;
            GetClientRect(panel.Main(control), &rc);
            EXPECT_EQ(rc.right, px(row.left + row.width) - px(row.left));
            EXPECT_EQ(rc.bottom, px(row.top + row.height) - px(row.top));
            EXPECT_TRUE(OnScreen(panel.Main(control), rc.right, rc.bottom) == want) << "unchanged";
        }
        SendInside(panel.main(), L"ZarnTestIcons");
        for (auto [name, size] :
             {std::make_pair(L"ZarnSmallIcon", 16), std::make_pair(L"ZarnBigIcon", 32)}) {
            int icon = (int)(INT_PTR)GetPropW(panel.main(), name), want = size * (int)dpi / 96;
            EXPECT_EQ(icon % 256, want) << "width";
            EXPECT_TRUE(want == 32 || icon / 256 > 16) << "scaled smoothly: " << icon / 256;
        }
        EXPECT_EQ(RectInParent(panel.Main("Command1")).left, px(3120)) << "the controls follow";
    }
    FreeLibrary(exe);
}

// A pixel of the screen, at `p` in `window`'s client area (null: the screen's).
COLORREF Pixel(HWND window, POINT p) {
    if (window) ClientToScreen(window, &p);
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, p.x, p.y);
    ReleaseDC(nullptr, dc);
    return c;
}

// A pixel near the right end of a window's client area, clear of any text.
COLORREF RightOf(HWND window) {
    RECT rc;
    GetClientRect(window, &rc);
    return Pixel(window, {rc.right - 3, rc.bottom / 2});
}

// The resolution box in the window colours, empty labels in the face colour,
// following the system's; the black ground, the status labels' colours stay.
TEST(ColoursUi, TheResolutionBoxHasTheWindowColoursAndSystemColoursFollowTheSystem) {
    TempFolder folder;
    folder.Write("RA2MD.ini", "[Video]\r\nScreenWidth=800\r\nScreenHeight=600\r\n");
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    HWND w = panel.Open(layout::kGameOptions);
    ASSERT_NE(w, nullptr);
    HWND combo = Control(w, layout::kGameOptions, "Combo1"), field = GetWindow(combo, GW_CHILD);
    ASSERT_EQ(ClassOf(field), "Edit");
    EXPECT_EQ(RightOf(field), GetSysColor(COLOR_WINDOW)) << "the text field";
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Sleep(200);
    // The list's first entry, right of its text; the current entry, lit, is the third.
    RECT list, box;
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)&list);
    GetWindowRect(combo, &box);
    EXPECT_EQ(Pixel(nullptr, {list.right - 6, box.bottom + 5}), GetSysColor(COLOR_WINDOW))
        << "the list";
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);

    HWND label = panel.Main("Label2"), status = Control(w, layout::kGameOptions, "EVBBS");
    RECT rc;
    GetClientRect(label, &rc);
    const POINT centre = {rc.right / 2, rc.bottom / 2};
    ASSERT_EQ(Pixel(label, centre), GetSysColor(COLOR_BTNFACE));
    ASSERT_TRUE(HookInside(panel.main()));
    const COLORREF face = GetSysColor(COLOR_BTNFACE), window = GetSysColor(COLOR_WINDOW);
    SendInside(panel.main(), L"ZarnTestSetSysColor", COLOR_BTNFACE, RGB(0, 128, 128));
    SendInside(panel.main(), L"ZarnTestSetSysColor", COLOR_WINDOW, RGB(0, 0, 255));
    Sleep(300);
    EXPECT_EQ(Pixel(label, centre), RGB(0, 128, 128)) << "the main window's empty label";
    EXPECT_EQ(RightOf(field), RGB(0, 0, 255)) << "the resolution box";
    EXPECT_EQ(RightOf(status), RGB(0, 0, 0)) << "a status label, black by its layout";
    POINT ground = {layout::Pixels(3600, (int)ScreenDpi()), layout::Pixels(60, (int)ScreenDpi())};
    EXPECT_EQ(Pixel(w, ground), RGB(0, 0, 0)) << "the window's black ground";
    SendInside(panel.main(), L"ZarnTestSetSysColor", COLOR_BTNFACE, face);
    SendInside(panel.main(), L"ZarnTestSetSysColor", COLOR_WINDOW, window);
    Sleep(300);
    EXPECT_EQ(Pixel(label, centre), face) << "back to the old colours";
}

}  // namespace
