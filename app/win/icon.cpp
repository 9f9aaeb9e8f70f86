#include "app/win/icon.h"

#include <cmath>
#include <vector>

#include "app/win/system.h"

namespace {

constexpr int kIconSize = 32;  // the one picture of the application icon

// Weights of `from` source pixels for each of `to` target pixels along one
// axis: a tent as wide as a target pixel when shrinking, so that every source
// pixel counts, and as wide as a source pixel when growing, which blends
// neighbours linearly.
std::vector<std::vector<float>> Weights(int from, int to) {
    float scale = (float)from / (float)to;
    float radius = scale > 1 ? scale : 1;
    std::vector<std::vector<float>> w(to, std::vector<float>(from, 0.f));
    for (int o = 0; o < to; ++o) {
        float centre = ((float)o + 0.5f) * scale - 0.5f, sum = 0;
        for (int i = 0; i < from; ++i) {
            float x = 1 - std::fabs((float)i - centre) / radius;
            if (x > 0) sum += w[o][i] = x;
        }
        for (float& x : w[o]) x /= sum;
    }
    return w;
}

// 32-bit top-down pixels of a bitmap, size by size.
std::vector<DWORD> Pixels32(HBITMAP bitmap, int size) {
    std::vector<DWORD> px((std::size_t)size * size);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, (UINT)size, px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return px;
}

}  // namespace

// A system metric at `dpi` (Windows 10 1607 and later), else the system's
// own in proportion.
int IconMetric(int index, UINT dpi) {
    using ForDpi = int(WINAPI*)(int, UINT);
    static auto for_dpi =
        platform::SystemFunction<ForDpi>(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi");
    if (for_dpi) return for_dpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), (int)dpi, (int)DpiOf(nullptr));
}

HICON LoadIconAt(int size) {
    HICON natural = (HICON)LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                      kIconSize, kIconSize, 0);
    if (!natural || size == kIconSize || size <= 0) return natural;
    ICONINFO info = {};
    if (!GetIconInfo(natural, &info)) return natural;
    std::vector<DWORD> colour = Pixels32(info.hbmColor, kIconSize);
    std::vector<DWORD> mask = Pixels32(info.hbmMask, kIconSize);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(natural);

    // Premultiplied blue, green, red, alpha, from 0 to 1.
    std::vector<float> src((std::size_t)kIconSize * kIconSize * 4);
    for (std::size_t i = 0; i < colour.size(); ++i) {
        float a = (mask[i] & 0xFFFFFF) ? 0.f : 1.f;
        for (int c = 0; c < 3; ++c) src[i * 4 + c] = a * (float)((colour[i] >> (8 * c)) & 0xFF) / 255.f;
        src[i * 4 + 3] = a;
    }
    auto w = Weights(kIconSize, size);
    std::vector<float> rows((std::size_t)kIconSize * size * 4, 0.f);  // scaled across
    for (int y = 0; y < kIconSize; ++y)
        for (int x = 0; x < size; ++x)
            for (int i = 0; i < kIconSize; ++i)
                if (float k = w[x][i])
                    for (int c = 0; c < 4; ++c)
                        rows[((std::size_t)y * size + x) * 4 + c] += k * src[((std::size_t)y * kIconSize + i) * 4 + c];

    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    int stride = ((size + 15) / 16) * 2;  // a monochrome bitmap's rows are whole WORDs
    std::vector<BYTE> and_mask((std::size_t)stride * size, 0);
    if (!dib) return nullptr;
    auto* out = static_cast<DWORD*>(bits);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float px[4] = {};
            for (int j = 0; j < kIconSize; ++j)
                if (float k = w[y][j])
                    for (int c = 0; c < 4; ++c) px[c] += k * rows[((std::size_t)j * size + x) * 4 + c];
            float a = px[3];
            DWORD v = (DWORD)std::lround(a * 255.f) << 24;
            for (int c = 0; c < 3 && a > 0; ++c) {
                long b = std::lround(px[c] / a * 255.f);  // straight colour for the icon
                v |= (DWORD)(b < 0 ? 0 : b > 255 ? 255 : b) << (8 * c);
            }
            out[y * size + x] = v;
            if (a < 0.5f) and_mask[(std::size_t)y * stride + x / 8] |= (BYTE)(0x80 >> (x % 8));
        }
    HBITMAP mono = CreateBitmap(size, size, 1, 1, and_mask.data());
    ICONINFO ii = {TRUE, 0, 0, mono, dib};
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(mono);
    DeleteObject(dib);
    return icon;
}
