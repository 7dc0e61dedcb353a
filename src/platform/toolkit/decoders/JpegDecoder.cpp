// JPEG files through libjpeg-turbo's own libjpeg interface, straight into the toolkit's
// 0xAARRGGBB words. This is the library GUI toolkits' JPEG readers load as well, so a
// desktop process usually maps it once for everyone.
#include <csetjmp>
#include <cstdio>
// jpeglib.h needs std::size_t and FILE declared before it.
#include <jpeglib.h>

#include <bit>
#include <memory>
#include <string>
#include <vector>

#include "platform/toolkit/decoders/PictureDecoders.h"

namespace toolkit {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return. The message is kept and control
// goes back to the setjmp of the step that called into the library; only trivially destructible objects live
// between the two, so the jump skips no destructor.
struct Errors {
    jpeg_error_mgr Manager{};
    std::jmp_buf Back{};
    char Message[JMSG_LENGTH_MAX]{};
};

// Warnings are tolerated (see ReadRows), and a game has no console to print them to.
void Quiet(j_common_ptr) {}

void Exit(j_common_ptr info) {
    auto* errors = reinterpret_cast<Errors*>(info->err);
    info->err->format_message(info, errors->Message);
    std::longjmp(errors->Back, 1);
}

// Progressive files are held to a sane number of scans: a small file can otherwise keep the decoder busy for
// minutes.
constexpr int MaxScans = 500;

void CountScans(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > MaxScans) {
        std::snprintf(reinterpret_cast<Errors*>(info->err)->Message, JMSG_LENGTH_MAX,
                      "Progressive JPEG image has more than %d scans", MaxScans);
        std::longjmp(reinterpret_cast<Errors*>(info->err)->Back, 1);
    }
}

struct Decoder {
    jpeg_decompress_struct Info{};
    Errors Failure{};
    jpeg_progress_mgr Progress{};

    Decoder() {
        Info.err = jpeg_std_error(&Failure.Manager);
        Failure.Manager.error_exit = Exit;
        Failure.Manager.output_message = Quiet;
        Progress.progress_monitor = CountScans;
    }
    // Safe on a decoder that was never created: the library then finds no memory manager and does nothing.
    ~Decoder() { jpeg_destroy_decompress(&Info); }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    [[noreturn]] void Fail() const { throw PictureLoadError(std::string("JPEG: ") + Failure.Message); }
};

bool ReadHeader(Decoder& decoder, std::span<const std::uint8_t> data) {
    if (setjmp(decoder.Failure.Back) != 0) return false;
    jpeg_create_decompress(&decoder.Info);
    decoder.Info.progress = &decoder.Progress;
    jpeg_mem_src(&decoder.Info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&decoder.Info, TRUE);
    return true;
}

// Adobe's CMYK files store the inks inverted, so each channel times K is the colour.
void CmykToWords(const std::uint8_t* cmyk, std::uint32_t* words, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, cmyk += 4) {
        const std::uint32_t c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        words[i] = 0xFF000000u | ((k * c / 255) << 16) | ((k * m / 255) << 8) | (k * y / 255);
    }
}

// Rows straight into `pixels`, `width` words apart. With `inks`, room for one row of CMYK, each row is read there
// and turned into words at once, so no second picture-sized buffer is taken. A warning (such as extra bytes between
// segments) leaves a complete picture, as the reference decoder accepts it; the file's structure was checked before.
bool ReadRows(Decoder& decoder, std::uint32_t* pixels, std::size_t width, std::uint8_t* inks) {
    if (setjmp(decoder.Failure.Back) != 0) return false;
    jpeg_start_decompress(&decoder.Info);
    while (decoder.Info.output_scanline < decoder.Info.output_height) {
        std::uint32_t* words = pixels + decoder.Info.output_scanline * width;
        JSAMPROW row = inks != nullptr ? inks : reinterpret_cast<JSAMPROW>(words);
        jpeg_read_scanlines(&decoder.Info, &row, 1);
        if (inks != nullptr) CmykToWords(inks, words, width);
    }
    jpeg_finish_decompress(&decoder.Info);
    return true;
}

// The byte order that makes a 32-bit word 0xAARRGGBB.
constexpr J_COLOR_SPACE WordOrder = std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;

}  // namespace

StdPicture DecodeJpeg(std::span<const std::uint8_t> data) {
    Decoder decoder;
    if (!ReadHeader(decoder, data)) decoder.Fail();
    const auto width = static_cast<int>(decoder.Info.image_width);
    const auto height = static_cast<int>(decoder.Info.image_height);
    if (!PictureSizeAllowed(width, height))
        throw PictureLoadError("picture size " + std::to_string(width) + " x " + std::to_string(height) +
                               " is out of range");
    auto picture = std::make_shared<Picture>();
    picture->Width = width;
    picture->Height = height;
    picture->Opaque = true;
    picture->Pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const J_COLOR_SPACE stored = decoder.Info.jpeg_color_space;
    const bool cmyk = stored == JCS_CMYK || stored == JCS_YCCK;
    decoder.Info.out_color_space = cmyk ? JCS_CMYK : WordOrder;
    std::vector<std::uint8_t> inks(cmyk ? static_cast<std::size_t>(width) * 4 : 0);
    if (!ReadRows(decoder, picture->Pixels.data(), static_cast<std::size_t>(width), cmyk ? inks.data() : nullptr))
        decoder.Fail();
    return picture;
}

}  // namespace toolkit
