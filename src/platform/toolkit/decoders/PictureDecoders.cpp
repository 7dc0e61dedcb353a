#include "platform/toolkit/decoders/PictureDecoders.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "platform/toolkit/Bitmap.h"

namespace toolkit {

namespace {

bool StartsWith(std::span<const std::uint8_t> data, std::string_view signature) {
    return data.size() >= signature.size() && std::memcmp(data.data(), signature.data(), signature.size()) == 0;
}

}  // namespace

bool IsGif(std::span<const std::uint8_t> data) { return StartsWith(data, "GIF87a") || StartsWith(data, "GIF89a"); }

bool IsJpeg(std::span<const std::uint8_t> data) { return StartsWith(data, "\xFF\xD8\xFF"); }

StdPicture DecodePictureFile(const EncodedPicture& file, const OtherFormatDecoder& other) {
    std::vector<std::uint8_t> read;
    std::span<const std::uint8_t> data = file.Data;
    if (data.empty()) {
        read = ReadPictureFile(file.NativeFileName);
        data = read;
    }
    if (IsGif(data)) return DecodeGif(data);
    if (IsJpeg(data)) return DecodeJpeg(data);
    return other(data);
}

StdPicture DecodeStandardPicture(const EncodedPicture& file) { return DecodePictureFile(file, LoadBitmapResource); }

}  // namespace toolkit
