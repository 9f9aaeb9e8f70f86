#include "app/win/icon.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "app/win/resample.h"
#include "app/win/system.h"

namespace app {

namespace {

constexpr int kIconSize = 32;  // the one picture of the application icon

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
    std::vector<std::uint32_t> colour, mask;
    Pixels32(info.hbmColor, kIconSize, kIconSize, &colour);
    Pixels32(info.hbmMask, kIconSize, kIconSize, &mask);
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
    std::vector<float> scaled = Resample(src, kIconSize, kIconSize, size, size, Filter::kTent);

    void* bits = nullptr;
    HBITMAP dib = NewDib(size, size, 32, nullptr, 0, &bits);
    int stride = ((size + 15) / 16) * 2;  // a monochrome bitmap's rows are whole WORDs
    std::vector<BYTE> and_mask((std::size_t)stride * size, 0);
    if (!dib) return nullptr;
    auto* out = static_cast<DWORD*>(bits);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float* px = &scaled[((std::size_t)y * size + x) * 4];
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

}  // namespace app
