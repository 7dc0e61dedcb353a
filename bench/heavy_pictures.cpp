// Writes the pictures a user or an attacker could put in Bilder/, for bench/pictures.sh to start the game with.
//
//   heavy_pictures CASE FOLDER
//
// CASE is one of:
//   photo          Background.jpg as a 4000 x 3000 phone photo (baseline, 2 x 2 chroma subsampling)
//   largest        all eight pictures at 16384 x 2048, the largest size each side once allowed
//   largest-cmyk   the same, with the JPEGs as progressive CMYK files
//   crafted-gif    the three GIFs as 1 x 1 logical screens holding one 65535 x 65535 frame, whose LZW data names
//                  its longest code (4095, 3839 pixels) over and over: 1.6 MB that decode to 4.3 giga-pixels
#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>
// After <cstdio>: jpeglib.h needs FILE and std::size_t declared.
#include <jpeglib.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

const char* const Gifs[] = {"BarkGold.gif", "cross.gif", "Bullet.gif"};
const char* const Jpegs[] = {"Background.jpg", "Up.jpg", "Right.jpg", "Down.jpg", "Left.jpg"};

// A smooth picture with some grain, so that files compress about as photos do.
std::uint8_t Shade(int x, int y, int channel, std::uint32_t& seed) {
    seed = seed * 1664525u + 1013904223u;
    const int smooth = (x / 7 + y / 5 + channel * 40) & 0xFF;
    return static_cast<std::uint8_t>(std::min(255, smooth + static_cast<int>(seed >> 29)));
}

void WriteJpeg(const std::string& path, int width, int height, bool cmykProgressive) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) throw std::runtime_error("cannot write " + path);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = cmykProgressive ? 4 : 3;
    info.in_color_space = cmykProgressive ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    if (cmykProgressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * static_cast<std::size_t>(info.input_components));
    std::uint32_t seed = 1;
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = Shade(static_cast<int>(i) / info.input_components, y, static_cast<int>(i) % info.input_components,
                           seed);
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

void WriteGif(const std::string& path, int width, int height) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (gif == nullptr) throw std::runtime_error("cannot write " + path);
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = {static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i), static_cast<GifByteType>(i / 2)};
    ColorMapObject* map = GifMakeMapObject(256, colours);
    EGifPutScreenDesc(gif, width, height, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr);
    std::vector<GifPixelType> line(static_cast<std::size_t>(width));
    std::uint32_t seed = 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) line[static_cast<std::size_t>(x)] = Shade(x, y, 0, seed);
        EGifPutLine(gif, line.data(), width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
}

// LZW codes least significant bit first, as GIF packs them.
class CodeWriter {
public:
    void Put(unsigned code, int bits) {
        pending_ |= std::uint64_t{code} << count_;
        count_ += bits;
        while (count_ >= 8) {
            bytes_.push_back(static_cast<std::uint8_t>(pending_));
            pending_ >>= 8;
            count_ -= 8;
        }
    }
    Bytes Finish() {
        if (count_ > 0) bytes_.push_back(static_cast<std::uint8_t>(pending_));
        return bytes_;
    }

private:
    Bytes bytes_;
    std::uint64_t pending_ = 0;
    int count_ = 0;
};

// Codes 258 up to 4095 each name the code just made (k repeated), so code 4095 stands for 3839 pixels; then code
// 4095 over and over until `pixels` are covered. Code widths grow as a decoder's table does.
Bytes LongestCodeData(std::uint64_t pixels) {
    CodeWriter out;
    unsigned running = 258, bits = 9, widen = 512;
    const auto put = [&](unsigned code) {
        out.Put(code, static_cast<int>(bits));
        if (running < 4097 && ++running > widen && bits < 12) {
            widen <<= 1;
            ++bits;
        }
    };
    put(256);  // clear
    running = 258;
    put(0);
    std::uint64_t covered = 1;
    for (unsigned code = 258; code <= 4095; ++code) {
        put(code);
        covered += code - 256;
    }
    for (; covered < pixels; covered += 3839) put(4095);
    put(257);  // end of information
    return out.Finish();
}

void WriteCraftedGif(const std::string& path, const Bytes& lzw) {
    Bytes file = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
    const Bytes frame = {0x2C, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 8};
    file.insert(file.end(), frame.begin(), frame.end());
    for (std::size_t at = 0; at < lzw.size(); at += 255) {
        const std::size_t length = std::min<std::size_t>(255, lzw.size() - at);
        file.push_back(static_cast<std::uint8_t>(length));
        file.insert(file.end(), lzw.begin() + static_cast<std::ptrdiff_t>(at),
                    lzw.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    file.insert(file.end(), {0, 0x3B});
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: heavy_pictures photo|largest|largest-cmyk|crafted-gif FOLDER\n");
        return 2;
    }
    const std::string which = argv[1], folder = std::string(argv[2]) + "/";
    if (which == "photo") {
        WriteJpeg(folder + "Background.jpg", 4000, 3000, false);
    } else if (which == "largest" || which == "largest-cmyk") {
        for (const char* name : Gifs) WriteGif(folder + name, 16384, 2048);
        for (const char* name : Jpegs) WriteJpeg(folder + name, 16384, 2048, which == "largest-cmyk");
    } else if (which == "crafted-gif") {
        const Bytes lzw = LongestCodeData(std::uint64_t{65535} * 65535);
        for (const char* name : Gifs) WriteCraftedGif(folder + name, lzw);
    } else {
        std::fprintf(stderr, "heavy_pictures: no case '%s'\n", which.c_str());
        return 2;
    }
    return 0;
}
