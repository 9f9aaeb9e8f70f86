#include "app/win/resample.h"

#include <cmath>

namespace app {

namespace {

// The source samples that make each target sample along one axis: target o
// takes the `count[o]` samples from `first[o]` on, sample first[o] + k with
// weight[o * span + k], and divides their weighted sum by total[o].
struct Taps {
    int span;  // the most samples one target takes
    std::vector<int> first, count;
    std::vector<double> weight, total;

    Taps(int from, int to, Filter filter)
        : span(2 * from / to + 3), first(to), count(to), weight((std::size_t)to * span), total(to) {
        const double ratio = (double)from / to;
        const float scale = (float)from / (float)to, radius = scale > 1 ? scale : 1;
        for (int o = 0; o < to; ++o) {
            double* w = &weight[(std::size_t)o * span];
            if (filter == Filter::kBox) {
                double start = o * ratio, end = (o + 1) * ratio;
                first[o] = (int)start;
                for (int i = first[o]; i < from && i < end; ++i) {
                    w[count[o]] = (i + 1 < end ? i + 1 : end) - (i > start ? i : start);
                    total[o] += w[count[o]++];
                }
                continue;
            }
            // The tent's weights are summed to one beforehand, in single precision.
            float centre = ((float)o + 0.5f) * scale - 0.5f, sum = 0;
            first[o] = -1;
            for (int i = 0; i < from; ++i) {
                float x = 1 - std::fabs((float)i - centre) / radius;
                if (x <= 0) continue;
                if (first[o] < 0) first[o] = i;
                w[count[o]++] = x;
                sum += x;
            }
            for (int k = 0; k < count[o]; ++k) w[k] = (float)w[k] / sum;
            total[o] = 1;
        }
    }

    // One line: `in` and `out` hold 4 channels a sample, `step` samples
    // apart. Each product is rounded to single precision before it is added.
    void Line(const float* in, float* out, int step) const {
        for (std::size_t o = 0; o < first.size(); ++o) {
            float sum[4] = {};
            for (int k = 0; k < count[o]; ++k)
                for (int c = 0; c < 4; ++c)
                    sum[c] += (float)(in[(std::size_t)(first[o] + k) * step * 4 + c] * weight[o * span + k]);
            for (int c = 0; c < 4; ++c) out[o * step * 4 + c] = total[o] > 0 ? (float)(sum[c] / total[o]) : 0;
        }
    }
};

}  // namespace

std::vector<float> Resample(const std::vector<float>& in, int width, int height, int to_width,
                            int to_height, Filter filter) {
    const Taps across(width, to_width, filter), down(height, to_height, filter);
    std::vector<float> rows((std::size_t)to_width * height * 4);
    std::vector<float> done((std::size_t)to_width * to_height * 4);
    for (int y = 0; y < height; ++y)
        across.Line(&in[(std::size_t)y * width * 4], &rows[(std::size_t)y * to_width * 4], 1);
    for (int x = 0; x < to_width; ++x)
        down.Line(&rows[(std::size_t)x * 4], &done[(std::size_t)x * 4], to_width);
    return done;
}

HBITMAP NewDib(int width, int height, int bits, const std::uint8_t* palette, int colours,
               void** pixels) {
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colours[256];
    } bi = {};
    bi.h.biSize = sizeof bi.h;
    bi.h.biWidth = width;
    bi.h.biHeight = -height;
    bi.h.biPlanes = 1;
    bi.h.biBitCount = (WORD)bits;
    bi.h.biCompression = BI_RGB;
    bi.h.biClrUsed = (DWORD)colours;
    for (int i = 0; i < colours; ++i)
        bi.colours[i] = {palette[i * 3 + 2], palette[i * 3 + 1], palette[i * 3], 0};
    return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, pixels,
                            nullptr, 0);
}

bool Pixels32(HBITMAP bitmap, int width, int height, std::vector<std::uint32_t>* pixels) {
    pixels->assign((std::size_t)width * height, 0);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, (UINT)height, pixels->data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return rows == height;
}

}  // namespace app
