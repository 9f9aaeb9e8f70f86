// The GIF decoder against ImageMagick's decoding of the same files: every
// GIF the executable embeds, at each scale, and two more shapes of stream
// (interlaced rows; GIF87a with a 4-entry table and 2-bit codes). Then
// damaged streams, which must be refused without a crash.
//
// The expected values are ImageMagick's pixels as RGB bytes, hashed with
// 64-bit FNV-1a:
//   convert FILE -depth 8 rgb:- | python3 -c 'import sys; h=0xcbf29ce484222325
//   for b in sys.stdin.buffer.read(): h=((h^b)*0x100000001b3)%2**64
//   print(hex(h))'
// Redrawing the art changes them; take the new values from that command.
#include "app/gif.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> ReadAll(const char* path) {  // from the source tree's top
    std::ifstream in(std::string(ZARN_SOURCE_DIR) + "/" + path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The decoded picture as RGB bytes through its palette, hashed as above.
std::uint64_t RgbHash(const gif::Picture& p) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (std::uint8_t i : p.indices)
        for (int k = 0; k < 3; ++k) h = (h ^ p.palette[i * 3 + k]) * 0x100000001b3ull;
    return h;
}

TEST(Gif, DecodesLikeImageMagick) {
    const struct {
        const char* path;
        int width, height;
        std::uint64_t rgb_hash;
    } kFiles[] = {
    {"app/res/d.gif", 67, 68, 0x3e50b23222bf2849ull},
    {"app/res/d@1.5x.gif", 101, 102, 0x7f9d0c1eab4fe7f7ull},
    {"app/res/d@2x.gif", 134, 136, 0xdefd6a053a39c4a8ull},
    {"app/res/e.gif", 574, 133, 0xde1b0b7451e9440eull},
    {"app/res/e@1.5x.gif", 861, 200, 0x85196567e2813fb3ull},
    {"app/res/e@2x.gif", 1148, 266, 0xa0a04f4cb284b993ull},
    {"tests/gif_fixtures/interlaced.gif", 67, 68, 0x3e50b23222bf2849ull},
    {"tests/gif_fixtures/four_colours_87a.gif", 37, 23, 0xdd143f63f1b78245ull},
    };
    for (const auto& e : kFiles) {
        SCOPED_TRACE(e.path);
        std::vector<std::uint8_t> bytes = ReadAll(e.path);
        ASSERT_FALSE(bytes.empty());
        gif::Picture p;
        ASSERT_TRUE(gif::Decode(bytes.data(), bytes.size(), &p));
        EXPECT_EQ(e.width, p.width);
        EXPECT_EQ(e.height, p.height);
        ASSERT_EQ(static_cast<std::size_t>(e.width) * e.height, p.indices.size());
        EXPECT_EQ(e.rgb_hash, RgbHash(p));
    }
}

// Offsets in d.gif (ImageMagick's layout: header, 256-entry table, then the
// image descriptor, maybe after extensions): where the LZW code size sits.
std::size_t CodeSizeOffset(const std::vector<std::uint8_t>& g) {
    std::size_t pos = 13 + 3 * 256;
    while (pos < g.size() && g[pos] == 0x21) {
        pos += 2;
        while (pos < g.size() && g[pos] != 0) pos += 1 + g[pos];
        ++pos;
    }
    return pos + 10;  // the descriptor is 10 bytes long
}

TEST(Gif, RefusesDamagedStreamsWithoutCrashing) {
    const std::vector<std::uint8_t> good = ReadAll("app/res/d.gif");
    ASSERT_GT(good.size(), 1000u);
    gif::Picture p;
    ASSERT_TRUE(gif::Decode(good.data(), good.size(), &p));

    // Every truncation short of the image's last data block fails; none crashes.
    const std::size_t lzw_at = CodeSizeOffset(good);
    ASSERT_EQ(8, good[lzw_at]);
    for (std::size_t n = 0; n < good.size() - 2; ++n) {
        gif::Picture q;
        EXPECT_FALSE(gif::Decode(good.data(), n, &q)) << "cut at " << n;
        EXPECT_EQ(0, q.width);
    }

    struct Damage {
        const char* what;
        std::size_t at;
        std::uint8_t value;
    };
    const Damage kDamage[] = {
        {"signature", 3, 'X'},
        {"code size 0", lzw_at, 0},
        {"code size 1", lzw_at, 1},
        {"code size 9", lzw_at, 9},
        {"code size 12", lzw_at, 12},
        {"code size 255", lzw_at, 255},
        {"image width 0", lzw_at - 5, 0},
        {"first code past the table", lzw_at + 2, 0xFF},
        {"no colour table anywhere", 10, 0x00},
    };
    for (const Damage& d : kDamage) {
        SCOPED_TRACE(d.what);
        std::vector<std::uint8_t> bad = good;
        bad[d.at] = d.value;
        if (std::string(d.what) == "image width 0") bad[d.at + 1] = 0;
        if (std::string(d.what) == "first code past the table") bad[d.at + 1] = 0xFF;
        gif::Picture q;
        EXPECT_FALSE(gif::Decode(bad.data(), bad.size(), &q));
    }

    // Noise in the LZW data: decoded or refused, never a read or write
    // outside the buffers (the sanitizers and Wine's heap would say).
    std::uint32_t seed = 12345;
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> bad = good;
        for (int k = 0; k < 8; ++k) {
            seed = seed * 1103515245u + 12345u;
            std::size_t at = lzw_at + 2 + (seed >> 8) % (bad.size() - lzw_at - 3);
            bad[at] = static_cast<std::uint8_t>(seed >> 24);
        }
        gif::Picture q;
        if (gif::Decode(bad.data(), bad.size(), &q)) {
            EXPECT_EQ(67u * 68u, q.indices.size());
        }
    }

    // A picture larger than the bound is refused before any allocation.
    std::vector<std::uint8_t> huge = good;
    huge[lzw_at - 5] = huge[lzw_at - 4] = huge[lzw_at - 3] = huge[lzw_at - 2] = 0xFF;
    EXPECT_FALSE(gif::Decode(huge.data(), huge.size(), &p));
}

// A 4x1 GIF made here, code by code: four colours, min code size 2 (clear
// 4, end 5; 3-bit codes until the table reaches 8 entries, then 4-bit).
std::vector<std::uint8_t> Made(bool local_table, const std::vector<std::pair<int, int>>& codes) {
    const std::uint8_t table[12] = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    std::vector<std::uint8_t> g = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 1, 0,
                                   std::uint8_t(local_table ? 0 : 0x81), 0, 0};
    if (!local_table) g.insert(g.end(), table, table + 12);
    for (std::uint8_t b : {0x2C, 0, 0, 0, 0, 4, 0, 1, 0}) g.push_back(b);
    g.push_back(local_table ? 0x81 : 0);
    if (local_table) g.insert(g.end(), table, table + 12);
    std::vector<std::uint8_t> data;
    std::uint32_t acc = 0;
    int bits = 0;
    for (auto [code, width] : codes)
        for (acc |= std::uint32_t(code) << bits, bits += width; bits >= 8; acc >>= 8, bits -= 8)
            data.push_back(std::uint8_t(acc));
    if (bits) data.push_back(std::uint8_t(acc));
    g.push_back(2);
    g.push_back(std::uint8_t(data.size()));
    g.insert(g.end(), data.begin(), data.end());
    for (std::uint8_t b : {0x00, 0x3B}) g.push_back(b);
    return g;
}

TEST(Gif, ColourTablesAndEndCodesAsTheFormatHasThem) {
    const std::vector<std::pair<int, int>> all = {{4, 3}, {0, 3}, {1, 3}, {2, 3}, {3, 4}, {5, 4}};
    // The last code's string runs one pixel past the picture: it is cut there.
    const std::vector<std::pair<int, int>> runs_past = {{4, 3}, {0, 3}, {1, 3}, {2, 3}, {8, 4},
                                                        {5, 4}};
    const std::vector<std::pair<int, int>> ends_early = {{4, 3}, {0, 3}, {1, 3}, {5, 3}, {2, 3},
                                                         {3, 4}};
    struct Case {
        const char* what;
        bool local_table;
        std::vector<std::pair<int, int>> codes;
        bool decoded;
        std::vector<std::uint8_t> indices;
    } cases[] = {
        {"global table", false, all, true, {0, 1, 2, 3}},
        {"the image's own table", true, all, true, {0, 1, 2, 3}},
        {"a string past the last pixel", false, runs_past, true, {0, 1, 2, 2}},
        {"no end code, every pixel there", false, {all.begin(), all.end() - 1}, true,
         {0, 1, 2, 3}},
        {"an end code before the picture is full", false, ends_early, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> g = Made(c.local_table, c.codes);
        gif::Picture p;
        ASSERT_EQ(gif::Decode(g.data(), g.size(), &p), c.decoded);
        if (!c.decoded) continue;
        EXPECT_EQ(p.indices, c.indices);
        EXPECT_EQ(p.palette, (std::vector<std::uint8_t>{0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255}));
    }
}

}  // namespace
