// The hashes are 64-bit FNV-1a over ImageMagick's pixels as RGB bytes:
//   convert FILE -depth 8 rgb:- | python3 -c 'import sys; h=0xcbf29ce484222325
//   for b in sys.stdin.buffer.read(): h=((h^b)*0x100000001b3)%2**64
//   print(hex(h))'
#include "app/gif.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <tuple>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> ReadAll(const char* path) {  // from the source tree's top
    std::ifstream in(std::string(ZARN_SOURCE_DIR) + "/" + path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint64_t RgbHash(const app::GifPicture& p) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (std::uint8_t i : p.indices)
        for (int k = 0; k < 3; ++k) h = (h ^ p.palette[i * 3 + k]) * 0x100000001b3ull;
    return h;
}

TEST(Gif, DecodesLikeImageMagick) {
    const struct { const char* path; int width, height; std::uint64_t rgb_hash; } kFiles[] = {
        {"app/res/d.gif", 67, 68, 0x3e50b23222bf2849ull},
        {"app/res/d@1.5x.gif", 101, 102, 0x7f9d0c1eab4fe7f7ull},
        {"app/res/d@2x.gif", 134, 136, 0xdefd6a053a39c4a8ull},
        {"app/res/e.gif", 574, 133, 0xde1b0b7451e9440eull},
        {"app/res/e@1.5x.gif", 861, 200, 0x85196567e2813fb3ull},
        {"app/res/e@2x.gif", 1148, 266, 0xa0a04f4cb284b993ull},
        {"tests/gif_fixtures/four_colours_87a.gif", 37, 23, 0xdd143f63f1b78245ull},
    };
    for (const auto& e : kFiles) {
        std::vector<std::uint8_t> bytes = ReadAll(e.path);
        app::GifPicture p;
        ASSERT_TRUE(app::DecodeGif(bytes.data(), bytes.size(), &p)) << e.path;
        EXPECT_EQ(std::make_tuple(p.width, p.height, RgbHash(p)), std::make_tuple(e.width, e.height, e.rgb_hash))
            << e.path;
    }
}

// A GIF of four colours, 4x1 unless told, code by code: min code size 2 (clear 4, end 5).
using Codes = std::vector<std::pair<int, int>>;  // code, width in bits
const Codes kAll = {{4, 3}, {0, 3}, {1, 3}, {2, 3}, {3, 4}, {5, 4}};  // clear, the four colours, end
const std::vector<std::uint8_t> kFour = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
std::vector<std::uint8_t> Made(bool local_table, const Codes& codes, std::uint8_t min_size = 2, int w = 4, int h = 1) {
    const std::uint8_t global_flags = local_table ? 0 : 0x81;
    std::vector<std::uint8_t> g = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 1, 0, global_flags, 0, 0};
    if (!local_table) g.insert(g.end(), kFour.begin(), kFour.end());
    g.insert(g.end(), {0x2C, 0, 0, 0, 0, std::uint8_t(w), std::uint8_t(w >> 8), std::uint8_t(h), std::uint8_t(h >> 8),
                       std::uint8_t(local_table ? 0x81 : 0)});
    if (local_table) g.insert(g.end(), kFour.begin(), kFour.end());
    std::vector<std::uint8_t> data;
    std::uint32_t acc = 0;
    int bits = 0;
    for (auto [code, width] : codes)
        for (acc |= std::uint32_t(code) << bits, bits += width; bits >= 8; acc >>= 8, bits -= 8)
            data.push_back(std::uint8_t(acc));
    if (bits) data.push_back(std::uint8_t(acc));
    g.insert(g.end(), {min_size, std::uint8_t(data.size())});
    g.insert(g.end(), data.begin(), data.end());
    g.insert(g.end(), {0x00, 0x3B});
    return g;
}

// Codes for `pixels` zero indices: one index, then each new entry, a string one longer each time.
Codes Zeros(int pixels) {
    Codes c = {{4, 3}, {0, 3}};
    for (int code = 6, n = 1; n < pixels; n += code++ - 4) {
        int width = 3;
        while (code >> width) ++width;
        c.push_back({code, width});
    }
    return c;
}

// Every truncation of an embedded picture, and each damage checked for, refused
// with no read outside the buffer (ASan would say).
TEST(Gif, RefusesDamagedStreamsWithoutCrashing) {
    const std::vector<std::uint8_t> good = ReadAll("app/res/d.gif");
    for (std::size_t n = 0; n < good.size() - 2; ++n) {
        app::GifPicture q;
        EXPECT_FALSE(app::DecodeGif(good.data(), n, &q)) << "cut at " << n;
        EXPECT_EQ(0, q.width);
    }
    const std::vector<std::uint8_t> global = Made(false, kAll);
    const Codes nine = {{512, 10}, {0, 10}, {1, 10}, {2, 10}, {3, 10}, {513, 10}};
    const struct { std::vector<std::uint8_t> gif; std::size_t at; std::vector<std::uint8_t> bytes; } kDamage[] = {
        {global, 3, {'X'}},                                 // the signature
        {global, 35, {1}}, {Made(false, nine, 9), 0, {}},  // code sizes below and above the format's
        {global, 30, {0, 0}},                               // image width 0
        {global, 32, {0, 0}},                               // image height 0
        {global, 37, {0x3C}},                               // after the clear code, one past the table
        {global, 34, {0x40}},                               // interlaced rows, which no picture of ours has
    };
    for (const auto& d : kDamage) {
        std::vector<std::uint8_t> bad = d.gif;
        std::copy(d.bytes.begin(), d.bytes.end(), bad.begin() + d.at);
        app::GifPicture q;
        EXPECT_FALSE(app::DecodeGif(bad.data(), bad.size(), &q)) << d.at;
    }
}

TEST(Gif, ColourTablesAndEndCodesAsTheFormatHasThem) {
    struct { const char* what; bool local_table; Codes codes; std::vector<std::uint8_t> indices; int w = 4, h = 1; } cases[] = {
        {"global table", false, kAll, {0, 1, 2, 3}},
        {"the image's own table, which no picture of ours has", true, kAll, {}},
        {"a code past the next entry", false, {{4, 3}, {0, 3}, {7, 3}, {3, 3}, {5, 3}}, {}},
        {"as wide as allowed", false, Zeros(4096), std::vector<std::uint8_t>(4096), 4096},
        {"as tall as allowed", false, Zeros(4096), std::vector<std::uint8_t>(4096), 1, 4096},
        {"wider", false, Zeros(4097), {}, 4097},
        {"taller", false, Zeros(4097), {}, 1, 4097},
        {"a string past the last pixel, cut there", false, {{4, 3}, {0, 3}, {1, 3}, {2, 3}, {8, 4}, {5, 4}},
         {0, 1, 2, 2}},
        {"no end code, every pixel there", false, {kAll.begin(), kAll.end() - 1}, {0, 1, 2, 3}},
        {"an end code before the picture is full", false, {{4, 3}, {0, 3}, {1, 3}, {5, 3}, {2, 3}, {3, 4}}, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> g = Made(c.local_table, c.codes, 2, c.w, c.h);
        app::GifPicture p;
        EXPECT_EQ(app::DecodeGif(g.data(), g.size(), &p), !c.indices.empty()) << c.what;
        EXPECT_EQ(p.indices, c.indices) << c.what;
        EXPECT_EQ(p.palette, p.width ? kFour : std::vector<std::uint8_t>()) << c.what;
    }
}

}  // namespace
