#include "platform/toolkit/PictureFile.h"

#include <algorithm>
#include <cstring>

namespace toolkit {

namespace {

using Bytes = std::span<const std::uint8_t>;

const std::string Truncated = "the file is truncated";

bool StartsWith(Bytes data, const char* signature) {
    const std::size_t n = std::strlen(signature);
    return data.size() >= n && std::memcmp(data.data(), signature, n) == 0;
}

std::uint32_t Big32(Bytes d, std::size_t at) {
    return (std::uint32_t{d[at]} << 24) | (std::uint32_t{d[at + 1]} << 16) | (std::uint32_t{d[at + 2]} << 8) |
           d[at + 3];
}

std::uint32_t Little32(Bytes d, std::size_t at) {
    return d[at] | (std::uint32_t{d[at + 1]} << 8) | (std::uint32_t{d[at + 2]} << 16) |
           (std::uint32_t{d[at + 3]} << 24);
}

// Skips a chain of GIF data sub-blocks; returns the position after its terminator, or 0.
std::size_t SkipSubBlocks(Bytes d, std::size_t at) {
    while (at < d.size()) {
        const std::size_t length = d[at];
        if (length == 0) return at + 1;
        at += 1 + length;
    }
    return 0;
}

std::size_t ColorTableSize(std::uint8_t flags) { return (flags & 0x80) ? 3u * (2u << (flags & 7)) : 0; }

std::string CheckGif(Bytes d) {
    std::size_t at = 13;
    if (d.size() < at) return Truncated;
    at += ColorTableSize(d[10]);
    while (at < d.size()) {
        const std::uint8_t block = d[at];
        if (block == 0x3B) return "";
        if (block == 0x21) {
            at = at + 2 < d.size() ? SkipSubBlocks(d, at + 2) : 0;
        } else if (block == 0x2C) {
            if (at + 11 > d.size()) return Truncated;
            at = SkipSubBlocks(d, at + 10 + ColorTableSize(d[at + 9]) + 1);
        } else {
            return "the file is damaged";
        }
        if (at == 0) return Truncated;
    }
    return Truncated;
}

// Walks the marker segments; entropy-coded data after a start of scan runs to the
// next marker that is neither a stuffed byte nor a restart marker.
std::string CheckJpeg(Bytes d) {
    std::size_t at = 2;
    while (at + 1 < d.size()) {
        if (d[at] != 0xFF) return "the file is damaged";
        const std::uint8_t marker = d[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == 0xD9) return "";
        if (at + 4 > d.size()) return Truncated;
        at += 2 + ((std::size_t{d[at + 2]} << 8) | d[at + 3]);
        if (marker != 0xDA) continue;
        while (at + 1 < d.size() && !(d[at] == 0xFF && d[at + 1] != 0 && (d[at + 1] < 0xD0 || d[at + 1] > 0xD7))) ++at;
    }
    return Truncated;
}

std::string CheckPng(Bytes d) {
    std::size_t at = 8;
    while (at + 8 <= d.size()) {
        const std::uint64_t length = Big32(d, at);
        const bool end = std::memcmp(d.data() + at + 4, "IEND", 4) == 0;
        at += 12 + length;
        if (at > d.size()) return Truncated;
        if (end) return "";
    }
    return Truncated;
}

std::string CheckBitmap(Bytes d) {
    if (d.size() < 14) return Truncated;
    const std::uint32_t declared = Little32(d, 2);
    return declared > d.size() ? Truncated : "";
}

std::uint16_t Little16(Bytes d, std::size_t at) { return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8)); }

// The first image descriptor's place, or 0 when the file has none.
std::size_t FirstGifFrame(Bytes d) {
    std::size_t at = 13 + ColorTableSize(d[10]);
    while (at + 10 <= d.size() && d[at] == 0x21) at = at + 2 < d.size() ? SkipSubBlocks(d, at + 2) : 0;
    return at != 0 && at + 10 <= d.size() && d[at] == 0x2C ? at : 0;
}

}  // namespace

std::int64_t GifRowsToRead(const GifFrame& Frame, int ScreenHeight) {
    const std::int64_t shown = std::clamp<std::int64_t>(std::int64_t{ScreenHeight} - Frame.Top, 0, Frame.Height);
    if (!Frame.Interlaced) return shown;
    // Every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1: the last pass holding a shown row
    // decides.
    constexpr int Start[] = {0, 4, 2, 1};
    constexpr int Step[] = {8, 8, 4, 2};
    std::int64_t before = 0, read = 0;
    for (int pass = 0; pass < 4; ++pass) {
        const auto rowsBelow = [&](std::int64_t limit) {
            return limit > Start[pass] ? (limit - Start[pass] + Step[pass] - 1) / Step[pass] : 0;
        };
        if (rowsBelow(shown) > 0) read = before + rowsBelow(shown);
        before += rowsBelow(Frame.Height);
    }
    return read;
}

std::string OverreachingGif(const GifFrame& Frame, int ScreenWidth, int ScreenHeight) {
    const std::int64_t screen = std::int64_t{ScreenWidth} * ScreenHeight;
    if (GifRowsToRead(Frame, ScreenHeight) * Frame.Width <= 2 * screen) return "";
    return "GIF: the image lies far outside its logical screen of " + std::to_string(ScreenWidth) + " x " +
           std::to_string(ScreenHeight);
}

std::string OverreachingGif(std::span<const std::uint8_t> Data) {
    if (!(StartsWith(Data, "GIF87a") || StartsWith(Data, "GIF89a")) || Data.size() < 13) return "";
    const std::size_t at = FirstGifFrame(Data);
    if (at == 0) return "";
    const GifFrame frame{Little16(Data, at + 3), Little16(Data, at + 5), Little16(Data, at + 7),
                         (Data[at + 9] & 0x40) != 0};
    return OverreachingGif(frame, Little16(Data, 6), Little16(Data, 8));
}

std::string IncompletePicture(std::span<const std::uint8_t> Data) {
    if (StartsWith(Data, "GIF87a") || StartsWith(Data, "GIF89a")) return CheckGif(Data);
    if (StartsWith(Data, "\xFF\xD8")) return CheckJpeg(Data);
    if (StartsWith(Data, "\x89PNG\r\n\x1A\n")) return CheckPng(Data);
    if (StartsWith(Data, "BM")) return CheckBitmap(Data);
    return "";
}

}  // namespace toolkit
