#include "app/gif.h"

#include <cstring>

namespace app {
namespace {

// The stream, read front to back; every read says whether the bytes were there.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Byte(std::uint8_t* v) {
        if (pos_ >= size_) return false;
        *v = data_[pos_++];
        return true;
    }

    bool Word(int* v) {  // little-endian, as every GIF number
        std::uint8_t lo, hi;
        if (!Byte(&lo) || !Byte(&hi)) return false;
        *v = lo | hi << 8;
        return true;
    }

    bool Take(std::size_t n, const std::uint8_t** p) {
        if (size_ - pos_ < n) return false;
        *p = data_ + pos_;
        pos_ += n;
        return true;
    }

    // A chain of data sub-blocks (a length byte, that many bytes) up to the
    // empty one, appended to `out`, or skipped when out is null.
    bool Blocks(std::vector<std::uint8_t>* out) {
        for (;;) {
            std::uint8_t n;
            const std::uint8_t* p;
            if (!Byte(&n)) return false;
            if (n == 0) return true;
            if (!Take(n, &p)) return false;
            if (out) out->insert(out->end(), p, p + n);
        }
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// A colour table of 2^(1 + the flags' low three bits) entries.
bool ReadTable(Bytes& in, int flags, std::vector<std::uint8_t>* palette) {
    std::size_t n = 3u * (2u << (flags & 7));
    const std::uint8_t* p;
    if (!in.Take(n, &p)) return false;
    palette->assign(p, p + n);
    return true;
}

// Variable-length LZW as GIF uses it: codes from min_size + 1 up to 12 bits,
// least significant bit first; a clear code, an end code, and a table that
// stops growing at 4096 entries until the next clear. Fills `out` exactly.
bool Unpack(const std::vector<std::uint8_t>& data, int min_size, std::vector<std::uint8_t>* out) {
    constexpr int kCodes = 4096;
    std::uint16_t prefix[kCodes];
    std::uint8_t suffix[kCodes];
    std::uint8_t first[kCodes];
    std::uint16_t length[kCodes];
    const int clear = 1 << min_size, end = clear + 1;
    for (int i = 0; i < kCodes; ++i) {  // the single indices; the rest are set before they are used
        prefix[i] = 0;
        suffix[i] = first[i] = static_cast<std::uint8_t>(i);
        length[i] = 1;
    }
    int next = end + 1, size = min_size + 1, prev = -1;
    std::uint32_t acc = 0;
    int bits = 0;
    std::size_t at = 0, pos = 0;
    const std::size_t total = out->size();
    std::uint8_t* px = out->data();

    // The string of `code` written at pos; what runs past the picture is dropped.
    auto write = [&](int code) {
        std::size_t len = length[code];
        for (std::size_t i = pos + len; i-- > pos; code = prefix[code])
            if (i < total) px[i] = suffix[code];
        pos += len;
    };

    for (;;) {
        while (bits < size) {
            if (at >= data.size()) return pos >= total;  // no end code: enough if all is there
            acc |= static_cast<std::uint32_t>(data[at++]) << bits;
            bits += 8;
        }
        int code = static_cast<int>(acc & ((1u << size) - 1));
        acc >>= size;
        bits -= size;
        if (code == clear) {
            next = end + 1;
            size = min_size + 1;
            prev = -1;
            continue;
        }
        if (code == end) break;
        if (prev < 0) {  // the first code after a clear: a single index
            if (code > clear) return false;
            write(code);
            prev = code;
            continue;
        }
        std::uint8_t head;
        if (code < next) {
            write(code);
            head = first[code];
        } else if (code == next && next < kCodes) {  // the string being defined
            write(prev);
            if (pos < total) px[pos] = first[prev];
            ++pos;
            head = first[prev];
        } else {
            return false;
        }
        if (next < kCodes) {
            prefix[next] = static_cast<std::uint16_t>(prev);
            suffix[next] = head;
            first[next] = first[prev];
            length[next] = static_cast<std::uint16_t>(length[prev] + 1);
            ++next;
            if (next == (1 << size) && size < 12) ++size;
        }
        prev = code;
    }
    return pos >= total;
}

}  // namespace

bool DecodeGif(const std::uint8_t* data, std::size_t size, GifPicture* out) {
    Bytes in(data, size);
    const std::uint8_t* sig;
    if (!in.Take(6, &sig) || (std::memcmp(sig, "GIF87a", 6) != 0 && std::memcmp(sig, "GIF89a", 6) != 0))
        return false;
    int screen_w, screen_h;
    std::uint8_t flags, background, aspect;
    if (!in.Word(&screen_w) || !in.Word(&screen_h) || !in.Byte(&flags) || !in.Byte(&background) ||
        !in.Byte(&aspect))
        return false;
    std::vector<std::uint8_t> global;
    if ((flags & 0x80) && !ReadTable(in, flags, &global)) return false;
    for (;;) {
        std::uint8_t block;
        if (!in.Byte(&block)) return false;
        if (block == 0x21) {  // an extension: its label, then sub-blocks
            std::uint8_t label;
            if (!in.Byte(&label) || !in.Blocks(nullptr)) return false;
            continue;
        }
        if (block != 0x2C) return false;  // the trailer before any image, or garbage
        int left, top, w, h;
        std::uint8_t image_flags, min_size;
        if (!in.Word(&left) || !in.Word(&top) || !in.Word(&w) || !in.Word(&h) || !in.Byte(&image_flags))
            return false;
        if (image_flags & 0xC0) return false;  // a colour table of its own, or interlaced rows
        GifPicture p;
        p.palette = global;
        std::vector<std::uint8_t> lzw;
        if (!in.Byte(&min_size) || !in.Blocks(&lzw)) return false;
        if (w < 1 || w > kMaxSide || h < 1 || h > kMaxSide) return false;
        if (min_size < 2 || min_size > 8) return false;
        p.width = w;
        p.height = h;
        p.indices.assign(static_cast<std::size_t>(w) * h, 0);
        if (!Unpack(lzw, min_size, &p.indices)) return false;
        const int colours = p.colours();
        for (std::uint8_t i : p.indices)
            if (i >= colours) return false;
        *out = std::move(p);
        return true;
    }
}

}  // namespace app
