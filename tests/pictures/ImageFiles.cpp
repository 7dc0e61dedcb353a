#include "ImageFiles.h"

#include <array>
#include <fstream>
#include <iterator>

namespace pictures {

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint16_t le16(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)); }

std::uint32_t le32(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint16_t be16(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>((b[at] << 8) | b[at + 1]); }

bool isGif(const Bytes& b) {
    return b.size() >= 13 && b[0] == 'G' && b[1] == 'I' && b[2] == 'F' && b[3] == '8' && (b[4] == '7' || b[4] == '9') &&
           b[5] == 'a';
}

std::vector<Rgb> readColourTable(const Bytes& b, std::size_t& pos, int entries) {
    std::vector<Rgb> table;
    for (int i = 0; i < entries && pos + 3 <= b.size(); ++i, pos += 3) {
        table.push_back({b[pos], b[pos + 1], b[pos + 2]});
    }
    return table;
}

// Concatenates a chain of data sub-blocks; false when the chain runs past the end.
bool readSubBlocks(const Bytes& b, std::size_t& pos, Bytes* out) {
    while (pos < b.size()) {
        const std::size_t n = b[pos++];
        if (n == 0) {
            return true;
        }
        if (pos + n > b.size()) {
            return false;
        }
        if (out != nullptr) {
            out->insert(out->end(), b.begin() + static_cast<std::ptrdiff_t>(pos),
                        b.begin() + static_cast<std::ptrdiff_t>(pos + n));
        }
        pos += n;
    }
    return false;
}

class BitReader {
public:
    explicit BitReader(const Bytes& data) : data_(data) {}
    std::optional<int> read(int bits) {
        int value = 0;
        for (int i = 0; i < bits; ++i, ++bit_) {
            if (bit_ / 8 >= data_.size()) {
                return std::nullopt;
            }
            value |= ((data_[bit_ / 8] >> (bit_ % 8)) & 1) << i;
        }
        return value;
    }

private:
    const Bytes& data_;
    std::size_t bit_ = 0;
};

// Variable-width LZW as GIF uses it; returns colour indexes, or nothing for a corrupt stream.
std::optional<Bytes> decodeLzw(const Bytes& data, int minCodeSize, std::size_t expected) {
    if (minCodeSize < 2 || minCodeSize > 11) {
        return std::nullopt;
    }
    constexpr int maxCodes = 4096;
    std::array<int, maxCodes> prefix{};
    std::array<std::uint8_t, maxCodes> suffix{};
    std::array<std::uint8_t, maxCodes> first{};
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    for (int i = 0; i < clear; ++i) {
        prefix[static_cast<std::size_t>(i)] = -1;
        suffix[static_cast<std::size_t>(i)] = first[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
    int width = minCodeSize + 1;
    int next = end + 1;
    int previous = -1;
    Bytes out;
    Bytes stack;
    BitReader bits(data);
    while (out.size() < expected) {
        const auto code = bits.read(width);
        if (!code || *code == end) {
            break;
        }
        if (*code == clear) {
            width = minCodeSize + 1;
            next = end + 1;
            previous = -1;
            continue;
        }
        if (previous < 0) {
            if (*code >= clear) {
                return std::nullopt;
            }
            out.push_back(static_cast<std::uint8_t>(*code));
            previous = *code;
            continue;
        }
        if (*code > next) {
            return std::nullopt;
        }
        const bool known = *code < next;
        const int walk = known ? *code : previous;
        stack.clear();
        for (int c = walk; c >= 0; c = prefix[static_cast<std::size_t>(c)]) {
            stack.push_back(suffix[static_cast<std::size_t>(c)]);
        }
        out.insert(out.end(), stack.rbegin(), stack.rend());
        const std::uint8_t head = first[static_cast<std::size_t>(walk)];
        if (!known) {
            out.push_back(head);
        }
        if (next < maxCodes) {
            prefix[static_cast<std::size_t>(next)] = previous;
            suffix[static_cast<std::size_t>(next)] = head;
            first[static_cast<std::size_t>(next)] = first[static_cast<std::size_t>(previous)];
            ++next;
            if (next == (1 << width) && width < 12) {
                ++width;
            }
        }
        previous = *code;
    }
    if (out.size() < expected) {
        return std::nullopt;
    }
    out.resize(expected);
    return out;
}

// Row order of an interlaced GIF: every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
std::vector<int> interlacedRows(int height) {
    std::vector<int> rows;
    constexpr std::array<std::array<int, 2>, 4> passes{{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};
    for (const auto& [start, step] : passes) {
        for (int y = start; y < height; y += step) {
            rows.push_back(y);
        }
    }
    return rows;
}

}  // namespace

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<Size> gifScreenSize(const std::vector<std::uint8_t>& bytes) {
    if (!isGif(bytes)) {
        return std::nullopt;
    }
    return Size{le16(bytes, 6), le16(bytes, 8)};
}

std::optional<Raster> decodeGif(const std::vector<std::uint8_t>& b) {
    if (!isGif(b)) {
        return std::nullopt;
    }
    std::size_t pos = 13;
    std::vector<Rgb> global;
    if ((b[10] & 0x80) != 0) {
        global = readColourTable(b, pos, 2 << (b[10] & 7));
    }
    while (pos < b.size()) {
        const std::uint8_t block = b[pos++];
        if (block == 0x21) {  // extension: label, then sub-blocks
            ++pos;
            if (!readSubBlocks(b, pos, nullptr)) {
                return std::nullopt;
            }
            continue;
        }
        if (block != 0x2C || pos + 10 > b.size()) {
            return std::nullopt;
        }
        const Size size{le16(b, pos + 4), le16(b, pos + 6)};
        const std::uint8_t flags = b[pos + 8];
        pos += 9;
        const auto table = (flags & 0x80) != 0 ? readColourTable(b, pos, 2 << (flags & 7)) : global;
        if (pos >= b.size() || table.empty()) {
            return std::nullopt;
        }
        const int minCodeSize = b[pos++];
        Bytes data;
        if (!readSubBlocks(b, pos, &data)) {
            return std::nullopt;
        }
        const auto count = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
        const auto indexes = decodeLzw(data, minCodeSize, count);
        if (!indexes) {
            return std::nullopt;
        }
        Raster raster{size, std::vector<Rgb>(count)};
        std::vector<int> rows(static_cast<std::size_t>(size.height));
        for (int y = 0; y < size.height; ++y) {
            rows[static_cast<std::size_t>(y)] = y;
        }
        if ((flags & 0x40) != 0) {
            rows = interlacedRows(size.height);
        }
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t index = (*indexes)[i];
            if (index >= table.size()) {
                return std::nullopt;
            }
            const auto row = static_cast<std::size_t>(rows[i / static_cast<std::size_t>(size.width)]);
            raster.pixels[row * static_cast<std::size_t>(size.width) + i % static_cast<std::size_t>(size.width)] =
                table[index];
        }
        return raster;
    }
    return std::nullopt;
}

std::optional<Size> jpegFrameSize(const std::vector<std::uint8_t>& b) {
    if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) {
        return std::nullopt;
    }
    std::size_t pos = 2;
    while (pos + 4 <= b.size()) {
        if (b[pos] != 0xFF) {
            return std::nullopt;
        }
        const std::uint8_t marker = b[pos + 1];
        if (marker == 0xFF) {  // fill byte
            ++pos;
            continue;
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && pos + 9 <= b.size()) {
            return Size{be16(b, pos + 7), be16(b, pos + 5)};
        }
        if (marker == 0xDA || marker == 0xD9) {  // the scan or the end came before any frame header
            return std::nullopt;
        }
        pos += 2 + be16(b, pos + 2);
    }
    return std::nullopt;
}

std::optional<Bitmap> decodeBmp24(const std::vector<std::uint8_t>& b) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
        return std::nullopt;
    }
    Bitmap bmp;
    bmp.fileSize = le32(b, 2);
    bmp.pixelOffset = le32(b, 10);
    bmp.infoSize = le32(b, 14);
    const auto width = static_cast<std::int32_t>(le32(b, 18));
    const auto height = static_cast<std::int32_t>(le32(b, 22));
    bmp.bitsPerPixel = le16(b, 28);
    bmp.compression = le32(b, 30);
    if (bmp.bitsPerPixel != 24 || bmp.compression != 0 || width <= 0 || height == 0) {
        return std::nullopt;
    }
    const bool bottomUp = height > 0;
    const int rows = bottomUp ? height : -height;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    if (bmp.pixelOffset + stride * static_cast<std::size_t>(rows) > b.size()) {
        return std::nullopt;
    }
    bmp.raster.size = {width, rows};
    for (int y = 0; y < rows; ++y) {
        const std::size_t line = bmp.pixelOffset + stride * static_cast<std::size_t>(bottomUp ? rows - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            const std::size_t p = line + static_cast<std::size_t>(x) * 3;
            bmp.raster.pixels.push_back({b[p + 2], b[p + 1], b[p]});
        }
    }
    return bmp;
}

}  // namespace pictures
