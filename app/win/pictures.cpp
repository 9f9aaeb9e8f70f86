#include "app/win/pictures.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/gif.h"
#include "app/win/resample.h"
#include "platform/win/wide.h"

namespace app {

const wchar_t kPictureClass[] = L"ZarnPicture";

namespace {

constexpr int kBand = 16;  // rows blitted at once

// Resource names of the drawings at 1, 1.5 and 2 times: "A", "A_150", "A_200".
const wchar_t* const kScaleSuffix[] = {L"", L"_150", L"_200"};

// What one picture window shows: the resource's name, the drawing loaded for
// one scale, and that drawing resampled to the client area when the two
// differ by more than a pixel.
struct Shown {
    platform::WString name;
    int scale = -1;
    HBITMAP source = nullptr;
    HBITMAP fitted = nullptr;
    SIZE fitted_size = {};

    void DropFitted() {
        if (fitted) DeleteObject(fitted);
        fitted = nullptr;
    }
    ~Shown() {
        DropFitted();
        if (source) DeleteObject(source);
    }
};

// A GIF resource as a 256-colour DIB section: its indices and colour table
// as they are, so nothing is converted at 1:1.
HBITMAP GifBitmap(const void* data, DWORD size) {
    GifPicture p;
    if (!DecodeGif(static_cast<const std::uint8_t*>(data), size, &p)) return nullptr;
    void* bits = nullptr;
    HBITMAP bitmap = NewDib(p.width, p.height, 8, p.palette.data(), p.colours(), &bits);
    if (!bitmap) return nullptr;
    const int stride = (p.width + 3) & ~3;
    for (int y = 0; y < p.height; ++y)
        memcpy(static_cast<std::uint8_t*>(bits) + y * stride, &p.indices[(size_t)y * p.width], p.width);
    return bitmap;
}

HBITMAP LoadDrawing(const platform::WString& name) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    if (HRSRC res = FindResourceW(inst, name.c_str(), RT_RCDATA)) {
        HGLOBAL g = LoadResource(inst, res);
        return g ? GifBitmap(LockResource(g), SizeofResource(inst, res)) : nullptr;
    }
    return (HBITMAP)LoadImageW(inst, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
}

// `source` resampled to width x height with the box filter, as a 32-bit DIB
// section: smooth when shrinking, and blocky but faithful the other way.
HBITMAP Fitted(HBITMAP source, int width, int height) {
    BITMAP bm = {};
    if (!GetObjectW(source, sizeof bm, &bm) || width <= 0 || height <= 0) return nullptr;
    const int sw = bm.bmWidth, sh = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    std::vector<std::uint32_t> pixels;
    if (!Pixels32(source, sw, sh, &pixels)) return nullptr;

    std::vector<float> in(pixels.size() * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        for (int c = 0; c < 4; ++c) in[i * 4 + c] = (float)((pixels[i] >> (8 * c)) & 0xFF);
    std::vector<float> done = Resample(in, sw, sh, width, height, Filter::kBox);

    void* bits = nullptr;
    HBITMAP fitted = NewDib(width, height, 32, nullptr, 0, &bits);
    if (!fitted) return nullptr;
    auto* out = static_cast<std::uint8_t*>(bits);
    for (size_t i = 0; i < done.size(); ++i) out[i] = (std::uint8_t)(done[i] + 0.5f);
    return fitted;
}

Shown* ShownBy(HWND hwnd) { return reinterpret_cast<Shown*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

// The 1x drawing's size, read from the resource's header without decoding:
// a bitmap's info header, or a GIF's logical screen.
SIZE NaturalSize(const platform::WString& name) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(inst, name.c_str(), RT_RCDATA);
    bool gif = res != nullptr;
    if (!res) res = FindResourceW(inst, name.c_str(), RT_BITMAP);
    HGLOBAL g = res ? LoadResource(inst, res) : nullptr;
    const auto* p = g ? static_cast<const std::uint8_t*>(LockResource(g)) : nullptr;
    DWORD n = res ? SizeofResource(inst, res) : 0;
    if (gif && p && n >= 10) return {p[6] | p[7] << 8, p[8] | p[9] << 8};
    if (!gif && p && n >= sizeof(BITMAPINFOHEADER)) {
        BITMAPINFOHEADER h;
        memcpy(&h, p, sizeof h);
        return {h.biWidth, h.biHeight < 0 ? -h.biHeight : h.biHeight};
    }
    return {0, 0};
}

// The bitmap to draw at the window's size, the drawing loaded or resampled
// when that has changed; null when there is none.
HBITMAP Ready(Shown* s, int width, int height) {
    if (s->scale < 0 || s->fitted_size.cx != width || s->fitted_size.cy != height) {
        int scale = PictureScaleFor(NaturalSize(s->name), {width, height});
        if (scale != s->scale) {
            s->DropFitted();
            if (s->source) DeleteObject(s->source);
            s->source = LoadDrawing(s->name + kScaleSuffix[scale]);
            s->scale = scale;
        }
    }
    BITMAP bm = {};
    if (!s->source || !GetObjectW(s->source, sizeof bm, &bm)) return nullptr;
    int h = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    if (std::abs(bm.bmWidth - width) <= 1 && std::abs(h - height) <= 1) {
        s->DropFitted();
        s->fitted_size = {width, height};
        return s->source;
    }
    if (!s->fitted || s->fitted_size.cx != width || s->fitted_size.cy != height) {
        s->DropFitted();
        s->fitted = Fitted(s->source, width, height);
        s->fitted_size = {width, height};
    }
    return s->fitted;
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    Shown* s = ShownBy(hwnd);
    HBITMAP bitmap = s ? Ready(s, rc.right, rc.bottom) : nullptr;
    BITMAP bm = {};
    if (bitmap && GetObjectW(bitmap, sizeof bm, &bm)) {
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, bitmap);
        // In bands: a drawing is converted to the screen's format on its way,
        // and Wine converts through a buffer of all that one call blits, which
        // its heap then keeps (300 KB for the widest picture at 96 dpi).
        for (int y = 0; y < rc.bottom; y += kBand)
            BitBlt(dc, 0, y, rc.right, kBand, mem, 0, y, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        // a drawing a pixel short of the client area: the ground is black
        int h = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
        HBRUSH black = (HBRUSH)GetStockObject(BLACK_BRUSH);
        RECT right = {bm.bmWidth, 0, rc.right, rc.bottom}, below = {0, h, rc.right, rc.bottom};
        if (bm.bmWidth < rc.right) FillRect(dc, &right, black);
        if (h < rc.bottom) FillRect(dc, &below, black);
    } else {
        FillRect(dc, &rc, (HBRUSH)GetStockObject(BLACK_BRUSH));
    }
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        return 0;  // takes no keys: Enter and Space do nothing here
    case WM_NCDESTROY:
        delete ShownBy(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int PictureScaleFor(SIZE natural, SIZE client) {
    // The drawings' sizes: n times the 1x size, halves rounded up (as the
    // art script makes them). The first that is no more than a pixel short.
    static const int kTimesTwo[] = {2, 3, 4};
    for (int i = 0; i < 2; ++i) {
        int w = (natural.cx * kTimesTwo[i] + 1) / 2, h = (natural.cy * kTimesTwo[i] + 1) / 2;
        if (w >= client.cx - 1 && h >= client.cy - 1) return i;
    }
    return 2;
}

void RegisterPictureClass() {
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;  // a new size may need another drawing: repaint it all
    wc.lpfnWndProc = PictureProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPictureClass;
    RegisterClassW(&wc);
}

void SetPicture(HWND picture, const char* name) {
    Shown* s = ShownBy(picture);
    if (!s) {
        s = new Shown;
        SetWindowLongPtrW(picture, GWLP_USERDATA, (LONG_PTR)s);
    }
    s->DropFitted();
    if (s->source) DeleteObject(s->source);
    s->source = nullptr;
    s->scale = -1;
    s->name = platform::Widen(name);
    InvalidateRect(picture, nullptr, FALSE);
}

}  // namespace app
