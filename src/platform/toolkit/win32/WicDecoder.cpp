#include "platform/toolkit/win32/WicDecoder.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/toolkit/win32/WindowsApi.h"
// After WindowsApi.h, which brings the COM declarations these need.
#include <wincodec.h>

namespace toolkit::win32 {

namespace {

// Releases a COM interface when it goes out of scope.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_ != nullptr) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    Interface* operator->() const { return p_; }
    Interface* get() const { return p_; }
    Interface** put() { return &p_; }

private:
    Interface* p_ = nullptr;
};

// COM is set up for the calling thread if it is not already, and taken down again with it.
class ComScope {
public:
    ComScope() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~ComScope() {
        if (initialized_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialized_;
};

void Check(HRESULT result, const char* step) {
    if (SUCCEEDED(result)) return;
    char text[96];
    std::snprintf(text, sizeof text, "the picture cannot be decoded (%s failed, error 0x%08lX)", step,
                  static_cast<unsigned long>(result));
    throw PictureLoadError(text);
}

bool StartsWith(std::span<const std::uint8_t> data, std::string_view signature) {
    return data.size() >= signature.size() && std::memcmp(data.data(), signature.data(), signature.size()) == 0;
}

// The decoders of the formats the game ships, GIF and JPEG, told by their signatures: made by class, they spare
// the factory a search through every registered decoder's patterns, each read from the registry.
const std::array<const CLSID*, 2> KnownDecoders{&CLSID_WICGifDecoder, &CLSID_WICJpegDecoder};

bool IsJpeg(std::span<const std::uint8_t> data) { return StartsWith(data, "\xFF\xD8\xFF"); }

std::optional<std::size_t> KnownDecoder(std::span<const std::uint8_t> data) {
    if (StartsWith(data, "GIF87a") || StartsWith(data, "GIF89a")) return 0;
    if (IsJpeg(data)) return 1;
    return std::nullopt;
}

// JPEG has no transparency; another picture is opaque when none of its pixels is transparent. An opaque picture is
// laid on a surface as a plain copy, or shown as it is without one.
bool Opaque(std::span<const std::uint8_t> data, const std::vector<std::uint32_t>& pixels) {
    return IsJpeg(data) ||
           std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t pixel) { return pixel >> 24 == 0xFF; });
}

// The imaging factory and the known decoders' class factories, each looked up in the registry when first needed.
class Codecs {
public:
    IWICImagingFactory* Factory() {
        if (factory_.get() == nullptr)
            Check(
                CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory_.put())),
                "creating the imaging factory");
        return factory_.get();
    }

    void CreateDecoder(std::size_t known, IWICBitmapDecoder** decoder) {
        ComPtr<IClassFactory>& made = decoders_[known];
        if (made.get() == nullptr)
            Check(CoGetClassObject(*KnownDecoders[known], CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(made.put())),
                  "finding the decoder");
        Check(made->CreateInstance(nullptr, IID_PPV_ARGS(decoder)), "creating the decoder");
    }

private:
    ComPtr<IWICImagingFactory> factory_;
    std::array<ComPtr<IClassFactory>, KnownDecoders.size()> decoders_;
};

// Each thread's shared codecs, in a slot of Windows' own thread storage: the compiler's thread_local brings in the
// threads library's set-up, several requests to the system at the first picture.
const DWORD sharedCodecsSlot = TlsAlloc();

Codecs* SharedCodecs() { return static_cast<Codecs*>(TlsGetValue(sharedCodecsSlot)); }

StdPicture Decode(std::span<const std::uint8_t> data) {
    if (data.size() > std::numeric_limits<DWORD>::max()) throw PictureLoadError("the file is too large");
    const ComScope com;
    Codecs ownCodecs;
    Codecs* shared = SharedCodecs();
    Codecs& codecs = shared != nullptr ? *shared : ownCodecs;
    IWICImagingFactory* factory = codecs.Factory();
    ComPtr<IWICStream> stream;
    Check(factory->CreateStream(stream.put()), "creating a stream");
    // WIC only reads the memory it is given.
    Check(stream->InitializeFromMemory(const_cast<BYTE*>(data.data()), static_cast<DWORD>(data.size())),
          "reading the bytes");
    ComPtr<IWICBitmapDecoder> decoder;
    if (const std::optional<std::size_t> known = KnownDecoder(data)) {
        codecs.CreateDecoder(*known, decoder.put());
        Check(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand), "recognising the format");
    } else {
        Check(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put()),
              "recognising the format");
    }
    ComPtr<IWICBitmapFrameDecode> frame;
    Check(decoder->GetFrame(0, frame.put()), "reading the first frame");
    UINT width = 0;
    UINT height = 0;
    Check(frame->GetSize(&width, &height), "reading the size");
    if (!PictureSizeAllowed(width, height))
        throw PictureLoadError("picture size " + std::to_string(width) + " x " + std::to_string(height) +
                               " is out of range");
    // The factory's own converter: WICConvertBitmapSource would look through every registered converter for one.
    ComPtr<IWICFormatConverter> converted;
    Check(factory->CreateFormatConverter(converted.put()), "creating the converter");
    Check(converted->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                WICBitmapPaletteTypeCustom),
          "converting");

    auto picture = std::make_shared<Picture>();
    picture->Width = static_cast<int>(width);
    picture->Height = static_cast<int>(height);
    picture->Pixels.resize(static_cast<std::size_t>(width) * height);
    // Little-endian BGRA words are the picture's 0xAARRGGBB.
    Check(converted->CopyPixels(nullptr, width * 4, static_cast<UINT>(picture->Pixels.size() * 4),
                                reinterpret_cast<BYTE*>(picture->Pixels.data())),
          "decoding the pixels");
    picture->Opaque = Opaque(data, picture->Pixels);
    return picture;
}

}  // namespace

struct PictureCodecs::Held {
    ComScope com;
    Codecs codecs;
    Codecs* previous;
};

PictureCodecs::PictureCodecs() : held_(std::make_unique<Held>()) {
    held_->previous = SharedCodecs();
    TlsSetValue(sharedCodecsSlot, &held_->codecs);
}

PictureCodecs::~PictureCodecs() { TlsSetValue(sharedCodecsSlot, held_->previous); }

StdPicture DecodePicture(const EncodedPicture& file) {
    if (!file.Data.empty()) return Decode(file.Data);
    const std::vector<std::uint8_t> read = ReadPictureFile(file.NativeFileName);
    return Decode(read);
}

}  // namespace toolkit::win32
