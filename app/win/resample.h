// Pictures resampled to another size, and the 32-bit pixels they are
// resampled in: one resampler for the artwork (pictures.cpp) and the
// application icon (icon.cpp), each with the filter that suits it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace app {

// How the source samples weigh in a target sample.
enum class Filter {
    // The mean of the source samples a target sample covers, those at its
    // ends weighted by the part covered: smooth when shrinking, blocky but
    // faithful when growing.
    kBox,
    // A tent as wide as a target sample when shrinking, so that every source
    // sample counts, and as wide as a source sample when growing, which
    // blends neighbours linearly.
    kTent,
};

// `in`, width x height samples of 4 channels each, row after row, resampled
// to to_width x to_height: across first, then down.
std::vector<float> Resample(const std::vector<float>& in, int width, int height, int to_width,
                            int to_height, Filter filter);

// A top-down DIB section of `bits` per pixel with `colours` entries of
// `palette` (red, green, blue each); its pixels in *pixels.
HBITMAP NewDib(int width, int height, int bits, const std::uint8_t* palette, int colours,
               void** pixels);

// A bitmap's pixels as width x height top-down 32-bit values (blue in the
// low byte) in *pixels, zeros where they could not be read; true when every
// row was read.
bool Pixels32(HBITMAP bitmap, int width, int height, std::vector<std::uint32_t>* pixels);

}  // namespace app
