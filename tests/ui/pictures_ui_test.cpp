// The artwork as the screen shows it: at 96, 144 and 192 dpi every picture
// of the main window is, pixel for pixel, the drawing the executable holds
// for that scale (1x, 1.5x, 2x), whose size is the picture's place in the
// layout at that DPI. A 96-dpi picture stretched to 150 or 200 % fails.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "app/gif.h"
#include "app/layout.h"
#include "tests/ui/panel_process.h"

namespace {

struct Rgb {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
};

std::string Resource(HMODULE exe, const std::wstring& name, const wchar_t* type) {
    HRSRC r = FindResourceW(exe, name.c_str(), type);
    if (!r) return {};
    HGLOBAL g = LoadResource(exe, r);
    return std::string((const char*)LockResource(g), SizeofResource(exe, r));
}

// A 24-bit bottom-up RT_BITMAP resource (header, then rows of 4-byte multiples).
Rgb FromBitmap(const std::string& bytes) {
    Rgb out;
    BITMAPINFOHEADER h;
    if (bytes.size() < sizeof h) return out;
    std::memcpy(&h, bytes.data(), sizeof h);
    if (h.biBitCount != 24 || h.biHeight <= 0) return out;
    const int stride = (h.biWidth * 3 + 3) & ~3;
    if (bytes.size() < h.biSize + (size_t)stride * h.biHeight) return out;
    out.width = h.biWidth;
    out.height = h.biHeight;
    for (int y = 0; y < out.height; ++y) {
        const auto* row = (const unsigned char*)bytes.data() + h.biSize + (size_t)(out.height - 1 - y) * stride;
        for (int x = 0; x < out.width; ++x)
            out.pixels.push_back(row[x * 3 + 2] << 16 | row[x * 3 + 1] << 8 | row[x * 3]);
    }
    return out;
}

Rgb FromGif(const std::string& bytes) {
    Rgb out;
    gif::Picture p;
    if (!gif::Decode((const std::uint8_t*)bytes.data(), bytes.size(), &p)) return out;
    out.width = p.width;
    out.height = p.height;
    for (std::uint8_t i : p.indices)
        out.pixels.push_back(p.palette[i * 3] << 16 | p.palette[i * 3 + 1] << 8 | p.palette[i * 3 + 2]);
    return out;
}

// What the screen shows of `control`'s client area.
Rgb OnScreen(HWND control) {
    Rgb out;
    RECT rc;
    GetClientRect(control, &rc);
    POINT origin = {0, 0};
    ClientToScreen(control, &origin);
    out.width = rc.right;
    out.height = rc.bottom;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = out.width;
    bi.bmiHeader.biHeight = -out.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, out.width, out.height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* p = (const std::uint32_t*)bits;
    out.pixels.assign(p, p + (size_t)out.width * out.height);
    for (auto& v : out.pixels) v &= 0xFFFFFF;
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return out;
}

TEST(PicturesUi, EachPictureIsTheDrawingMadeForTheMonitorsScale) {
    TempFolder folder("Red Alert 2");
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    Sleep(300);  // let it paint
    const UINT dpi = panel.Dpi();
    const wchar_t* suffix = dpi == 96 ? L"" : dpi == 144 ? L"_150" : dpi == 192 ? L"_200" : nullptr;
    if (!suffix) GTEST_SKIP() << "drawings are made for 96, 144 and 192 dpi only; here " << dpi;

    HMODULE exe = LoadLibraryExW(PanelExePath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    struct Case {
        const char* control;
        const wchar_t* picture;
        bool gif;
    } cases[] = {{"Picture2(0)", L"A", false}, {"Picture2(3)", L"B", false}, {"Picture2(2)", L"C", false},
                 {"Image1", L"D", true},       {"Image2", L"E", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        std::wstring name = std::wstring(c.picture) + suffix;
        std::string bytes = Resource(exe, name, c.gif ? RT_RCDATA : RT_BITMAP);
        Rgb want = c.gif ? FromGif(bytes) : FromBitmap(bytes);
        ASSERT_GT(want.width, 0) << "resource " << Narrow(WString(name.c_str()));

        // The drawing is exactly the control's size at this DPI...
        const layout::Control* row = layout::Find(layout::kFrm1, c.control);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(want.width, layout::Pixels(row->left + row->width, (int)dpi) - layout::Pixels(row->left, (int)dpi));
        EXPECT_EQ(want.height, layout::Pixels(row->top + row->height, (int)dpi) - layout::Pixels(row->top, (int)dpi));

        // ...and the screen shows it unchanged.
        Rgb seen = OnScreen(panel.Main(c.control));
        ASSERT_EQ(seen.width, want.width);
        ASSERT_EQ(seen.height, want.height);
        int wrong = 0, first = -1;
        for (size_t i = 0; i < want.pixels.size(); ++i)
            if (seen.pixels[i] != want.pixels[i]) {
                if (first < 0) first = (int)i;
                ++wrong;
            }
        EXPECT_EQ(wrong, 0) << "of " << want.pixels.size() << " pixels; first at x " << first % want.width
                            << ", y " << first / want.width;
    }
    FreeLibrary(exe);
    SaveScreenshot(panel.main(), "pictures_" + std::to_string(dpi) + ".bmp");
}

}  // namespace

// Moved to a monitor of another DPI (WM_DPICHANGED, which Wine itself never
// sends): the window is laid out again and each picture shows the drawing
// for the new scale, pixel for pixel, loaded then and not before.
TEST(PicturesUi, ADpiChangeBringsTheDrawingForTheNewScale) {
    TempFolder folder("Red Alert 2");
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    HMODULE exe = LoadLibraryExW(PanelExePath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    struct Step {
        UINT dpi;
        const wchar_t* suffix;
    } steps[] = {{144, L"_150"}, {192, L"_200"}, {96, L""}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.dpi);
        RECT now;
        GetWindowRect(panel.main(), &now);
        RECT suggested = {now.left, now.top, now.left + MulDiv(layout::kFrm1.client_width, step.dpi, 1440) + 40,
                          now.top + MulDiv(layout::kFrm1.client_height, step.dpi, 1440) + 60};
        // The message carries a pointer that the system does not carry
        // across processes here: the rectangle goes into the panel's memory.
        DWORD pid = 0;
        GetWindowThreadProcessId(panel.main(), &pid);
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
        ASSERT_NE(process, nullptr);
        void* there = VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        ASSERT_NE(there, nullptr);
        ASSERT_TRUE(WriteProcessMemory(process, there, &suggested, sizeof suggested, nullptr));
        SendMessageW(panel.main(), WM_DPICHANGED, MAKEWPARAM(step.dpi, step.dpi), (LPARAM)there);
        VirtualFreeEx(process, there, 0, MEM_RELEASE);
        CloseHandle(process);
        Sleep(300);
        for (const char* control : {"Picture2(0)", "Image2"}) {
            SCOPED_TRACE(control);
            bool gif = std::string(control) == "Image2";
            std::wstring name = std::wstring(gif ? L"E" : L"A") + step.suffix;
            std::string bytes = Resource(exe, name, gif ? RT_RCDATA : RT_BITMAP);
            Rgb want = gif ? FromGif(bytes) : FromBitmap(bytes);
            Rgb seen = OnScreen(panel.Main(control));
            ASSERT_EQ(seen.width, want.width);
            ASSERT_EQ(seen.height, want.height);
            int wrong = 0;
            for (size_t i = 0; i < want.pixels.size(); ++i) wrong += seen.pixels[i] != want.pixels[i];
            EXPECT_EQ(wrong, 0) << "of " << want.pixels.size() << " pixels";
        }
        SaveScreenshot(panel.main(), "pictures_dpichanged_" + std::to_string(step.dpi) + ".bmp");
    }
    FreeLibrary(exe);
}
