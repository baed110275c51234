// SPDX-License-Identifier: GPL-3.0-or-later
// PNG files of a canvas where Qt's image writer is not at hand (the web edition): 8-bit RGB rows,
// compressed with deflate's fixed codes and matches against the pixel to the left and the row
// above, which is what a diagram of a few flat colours needs.  The pixels and the pixels per
// metre are those the desktop writes; the compressed bytes are this encoder's own.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "PngWriter.h"

namespace zk {

namespace {

std::uint32_t Crc32(const std::string& bytes, std::size_t from) {
    static const std::vector<std::uint32_t> table = [] {
        std::vector<std::uint32_t> t(256);
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i)
        c = table[(c ^ static_cast<unsigned char>(bytes[i])) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void Put32(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}

void Chunk(std::string& png, const char* type, const std::string& data) {
    Put32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png += type;
    png += data;
    Put32(png, Crc32(png, start));
}

// Deflate's bit stream: least significant bit first; Huffman codes go in from their top bit.
class BitWriter {
public:
    void Bits(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            Bit((value >> i) & 1);
    }
    void Code(std::uint32_t code, int length) {
        for (int i = length - 1; i >= 0; --i)
            Bit((code >> i) & 1);
    }
    std::string Finish() {
        if (used_ != 0)
            out_ += static_cast<char>(byte_);
        return std::move(out_);
    }

private:
    void Bit(std::uint32_t b) {
        byte_ |= b << used_;
        if (++used_ == 8) {
            out_ += static_cast<char>(byte_);
            byte_ = 0;
            used_ = 0;
        }
    }
    std::string out_;
    std::uint32_t byte_ = 0;
    int used_ = 0;
};

void Literal(BitWriter& w, unsigned v) {
    if (v < 144)
        w.Code(0x30 + v, 8);
    else if (v < 256)
        w.Code(0x190 + (v - 144), 9);
    else if (v < 280)
        w.Code(v - 256, 7);
    else
        w.Code(0xC0 + (v - 280), 8);
}

void Match(BitWriter& w, unsigned length, unsigned distance) {
    static constexpr unsigned kLengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                               31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr int kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    static constexpr unsigned kDistanceBase[] = {1,    2,    3,    4,    5,    7,     9,     13,    17,    25,
                                                 33,   49,   65,   97,   129,  193,   257,   385,   513,   769,
                                                 1025, 1537, 2049, 3073, 4097, 6145,  8193,  12289, 16385, 24577};
    int l = 28;
    while (kLengthBase[l] > length)
        --l;
    Literal(w, 257 + static_cast<unsigned>(l));
    w.Bits(length - kLengthBase[l], kLengthExtra[l]);
    int d = 29;
    while (kDistanceBase[d] > distance)
        --d;
    w.Code(static_cast<std::uint32_t>(d), 5);
    w.Bits(distance - kDistanceBase[d], d < 4 ? 0 : d / 2 - 1);
}

std::string Deflate(const std::string& data, std::size_t stride) {
    BitWriter w;
    w.Bits(1, 1); // the last block
    w.Bits(1, 2); // fixed codes
    const std::size_t n = data.size();
    for (std::size_t i = 0; i < n;) {
        unsigned bestLength = 0, bestDistance = 0;
        for (const std::size_t distance : {std::size_t{3}, stride}) {
            if (distance > i || distance > 32768)
                continue;
            unsigned length = 0;
            while (length < 258 && i + length < n && data[i + length] == data[i + length - distance])
                ++length;
            if (length > bestLength) {
                bestLength = length;
                bestDistance = static_cast<unsigned>(distance);
            }
        }
        if (bestLength >= 3) {
            Match(w, bestLength, bestDistance);
            i += bestLength;
        } else {
            Literal(w, static_cast<unsigned char>(data[i]));
            ++i;
        }
    }
    Literal(w, 256);
    return w.Finish();
}

} // namespace

std::string EncodePng(const RasterCanvas& canvas) {
    const std::int32_t width = canvas.DeviceWidth(), height = canvas.DeviceHeight();
    if (width <= 0 || height <= 0)
        return {};
    const std::size_t stride = static_cast<std::size_t>(width) * 3 + 1;
    std::string raw;
    raw.reserve(stride * static_cast<std::size_t>(height));
    const std::uint32_t* bits = canvas.Bits();
    const PixelLayout layout = canvas.Layout();
    for (std::int32_t y = 0; y < height; ++y) {
        raw += '\0'; // no filter
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t p =
                RasterCanvas::Rgb32Of(bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x], layout);
            raw += static_cast<char>((p >> 16) & 0xFF);
            raw += static_cast<char>((p >> 8) & 0xFF);
            raw += static_cast<char>(p & 0xFF);
        }
    }
    std::uint32_t a = 1, b = 0;
    for (const char c : raw) {
        a = (a + static_cast<unsigned char>(c)) % 65521;
        b = (b + a) % 65521;
    }
    std::string z = "\x78\x01";
    z += Deflate(raw, stride);
    Put32(z, b << 16 | a);

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    Put32(header, static_cast<std::uint32_t>(width));
    Put32(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, no filter choice, no interlace
    Chunk(png, "IHDR", header);
    // 96 logical pixels per inch, k device pixels each, as the desktop writes it.
    const auto dotsPerMetre = static_cast<std::uint32_t>(std::lround(96.0 * canvas.Scale() / 0.0254));
    std::string phys;
    Put32(phys, dotsPerMetre);
    Put32(phys, dotsPerMetre);
    phys += '\x01'; // metres
    Chunk(png, "pHYs", phys);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", {});
    return png;
}

} // namespace zk
