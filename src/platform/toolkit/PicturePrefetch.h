// Pictures decoded on a worker thread ahead of their load. Decoding is most of what
// loading a picture costs, and a program can have it done on a core that would
// otherwise idle while the front end builds its window.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/toolkit/Picture.h"
#include "platform/toolkit/Runtime.h"

namespace toolkit {

// While it lives, LoadPicture takes a file's picture from here instead of decoding it
// again, when the file's bytes are still the ones the worker decoded and Decoder is the
// decoder installed. Everything else about the load (the file tests, the errors and
// where they arise) stays as it is. One prefetch at a time; its destructor withdraws it
// and joins the worker, which gives up the files it has not begun. Where no thread
// can be started, nothing is prefetched.
class PicturePrefetch {
public:
    using Decoder = StdPicture (*)(const EncodedPicture& File);

    PicturePrefetch(std::vector<std::string> NativeFileNames, Decoder decoder);
    ~PicturePrefetch();
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    struct Entry;

private:
    std::vector<std::shared_ptr<Entry>> entries_;
    std::thread worker_;
};

// For LoadPicture: the picture of the file NativeFileName, whose bytes it has just read,
// when a prefetch decoded the same bytes with `decoder`; the decoder's exception when
// it failed on them; nullopt when there is nothing to use. An entry is handed out once.
std::optional<StdPicture> TakePrefetchedPicture(const std::string& NativeFileName, std::span<const std::uint8_t> Bytes,
                                                const PictureDecoder& decoder);

}  // namespace toolkit
