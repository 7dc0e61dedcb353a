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

bool IsGif(std::span<const std::uint8_t> Data) { return StartsWith(Data, "GIF87a") || StartsWith(Data, "GIF89a"); }

bool IsJpeg(std::span<const std::uint8_t> Data) { return StartsWith(Data, "\xFF\xD8\xFF"); }

StdPicture DecodeStandardPicture(const EncodedPicture& File) {
    std::vector<std::uint8_t> read;
    std::span<const std::uint8_t> data = File.Data;
    if (data.empty()) {
        read = ReadPictureFile(File.NativeFileName);
        data = read;
    }
    if (IsGif(data)) return DecodeGif(data);
    if (IsJpeg(data)) return DecodeJpeg(data);
    return LoadBitmapResource(data);
}

}  // namespace toolkit
