#include "platform/toolkit/PicturePrefetch.h"

#include <algorithm>
#include <exception>
#include <future>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace toolkit {

// Whoever claims an entry first decodes it: the worker, or LoadPicture taking it (and then
// decoding itself, rather than waiting behind the worker's other files).
struct PicturePrefetch::Entry {
    std::string NativeFileName;
    bool Claimed = false;
    std::vector<std::uint8_t> Bytes;  // as the worker read them; empty when it could not
    std::promise<StdPicture> Decoded;
    std::future<StdPicture> Ready = Decoded.get_future();
};

namespace {

struct Offer {
    std::mutex Lock;
    PicturePrefetch* Owner = nullptr;
    PicturePrefetch::Decoder Decoder = nullptr;
    std::vector<std::shared_ptr<PicturePrefetch::Entry>> Waiting;
};

Offer& Offered() {
    static Offer offer;
    return offer;
}

// The next entry nobody has claimed yet, claimed for the worker; null when none is left.
std::shared_ptr<PicturePrefetch::Entry> ClaimNext(const std::vector<std::shared_ptr<PicturePrefetch::Entry>>& entries) {
    const std::lock_guard lock(Offered().Lock);
    for (const auto& entry : entries)
        if (!entry->Claimed) {
            entry->Claimed = true;
            return entry;
        }
    return nullptr;
}

void Work(std::vector<std::shared_ptr<PicturePrefetch::Entry>> entries, PicturePrefetch::Decoder decoder) {
    while (const auto entry = ClaimNext(entries)) {
        try {
            entry->Bytes = ReadPictureFile(entry->NativeFileName);
            entry->Decoded.set_value(decoder(EncodedPicture(entry->NativeFileName, entry->Bytes)));
        } catch (...) {
            entry->Decoded.set_exception(std::current_exception());
        }
    }
}

}  // namespace

PicturePrefetch::PicturePrefetch(std::vector<std::string> NativeFileNames, Decoder decoder) {
    if (!decoder) throw std::invalid_argument("a picture prefetch needs a decoder");
    for (std::string& name : NativeFileNames) {
        entries_.push_back(std::make_shared<Entry>());
        entries_.back()->NativeFileName = std::move(name);
    }
    {
        const std::lock_guard lock(Offered().Lock);
        if (Offered().Owner) throw std::logic_error("a picture prefetch is already running");
        Offered().Owner = this;
        Offered().Decoder = decoder;
        Offered().Waiting = entries_;
    }
    try {
        worker_ = std::thread(Work, entries_, decoder);
    } catch (const std::system_error&) {
        // Without a worker the pictures are decoded as they are loaded, as always.
        const std::lock_guard lock(Offered().Lock);
        Offered().Waiting.clear();
    }
}

PicturePrefetch::~PicturePrefetch() {
    {
        const std::lock_guard lock(Offered().Lock);
        for (const auto& entry : entries_) entry->Claimed = true;
        Offered().Owner = nullptr;
        Offered().Decoder = nullptr;
        Offered().Waiting.clear();
    }
    if (worker_.joinable()) worker_.join();
}

std::optional<StdPicture> TakePrefetchedPicture(const std::string& NativeFileName, std::span<const std::uint8_t> Bytes,
                                                const PictureDecoder& decoder) {
    std::shared_ptr<PicturePrefetch::Entry> entry;
    {
        const std::lock_guard lock(Offered().Lock);
        const auto target = decoder.target<PicturePrefetch::Decoder>();
        if (!target || *target != Offered().Decoder) return std::nullopt;
        auto& waiting = Offered().Waiting;
        const auto found = std::find_if(waiting.begin(), waiting.end(),
                                        [&](const auto& each) { return each->NativeFileName == NativeFileName; });
        if (found == waiting.end()) return std::nullopt;
        entry = std::move(*found);
        waiting.erase(found);
        if (!entry->Claimed) {
            entry->Claimed = true;
            return std::nullopt;
        }
    }
    entry->Ready.wait();
    // Bytes that differ, or that the worker could not read, leave the load to decode afresh.
    if (!std::ranges::equal(entry->Bytes, Bytes)) return std::nullopt;
    return entry->Ready.get();
}

}  // namespace toolkit
