// Decoding of the GIF pictures embedded in the executable: the first image
// of a GIF87a or GIF89a stream as palette indices and its colour table.
// Portable; the Win32 front end makes a bitmap of the result.
//
// Only what our pictures use: the first image descriptor, the global colour
// table and LZW data, rows top to bottom. Extensions (transparency, comments,
// animation) are skipped; an image with a colour table of its own or with
// interlaced rows is refused. Any fault in the stream
// (a truncated block, a bad code size, a code that is not yet in the table,
// an index past the colour table) makes DecodeGif return false: no partial
// picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace app {

struct GifPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices;  // width * height, top row first
    std::vector<std::uint8_t> palette;  // red, green, blue per entry
    int colours() const { return static_cast<int>(palette.size() / 3); }
};

// Pictures wider or taller than this are refused, as a bound on memory.
constexpr int kMaxSide = 4096;

bool DecodeGif(const std::uint8_t* data, std::size_t size, GifPicture* out);

}  // namespace app
