#include "platform/toolkit/PicturePrefetch.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "BitmapFiles.h"
#include "support/ScratchFolder.h"
#include "platform/toolkit/Bitmap.h"
#include "platform/toolkit/Runtime.h"

namespace {

using namespace std::chrono_literals;
using testing_files::Bitmap24;
using testing_files::LoadError;
using testsupport::ScratchFolder;
using toolkit::LoadPicture;
using toolkit::PictureLoadError;
using toolkit::PicturePrefetch;

// What the test decoders saw; the prefetch takes plain functions, so this is shared.
std::atomic<int> workerDecodes{0};
std::atomic<int> callerDecodes{0};
std::thread::id caller;

// A decoder that lets the worker through only once the gate opens.
std::mutex gateLock;
std::condition_variable gateChanged;
bool gateOpen = true;
bool workerWaiting = false;

toolkit::StdPicture CountingDecoder(const toolkit::EncodedPicture& File) {
    ++(std::this_thread::get_id() == caller ? callerDecodes : workerDecodes);
    return toolkit::LoadBitmapResource(File.Data);
}

toolkit::StdPicture GatedDecoder(const toolkit::EncodedPicture& File) {
    if (std::this_thread::get_id() != caller) {
        std::unique_lock lock(gateLock);
        workerWaiting = true;
        gateChanged.notify_all();
        gateChanged.wait_for(lock, 10s, [] { return gateOpen; });
    }
    return CountingDecoder(File);
}

// Refuses every file, saying on which thread, so the test can tell whose failure arrived.
toolkit::StdPicture RefusingDecoder(const toolkit::EncodedPicture&) {
    ++(std::this_thread::get_id() == caller ? callerDecodes : workerDecodes);
    throw std::runtime_error(std::this_thread::get_id() == caller ? "refused on the caller" : "refused on the worker");
}

// Another decoder, refusing whatever is too short for a bitmap in the same words on any thread.
toolkit::StdPicture StrictDecoder(const toolkit::EncodedPicture& File) {
    if (File.Data.size() < 54) throw PictureLoadError("too short for a bitmap");
    return CountingDecoder(File);
}

class PicturePrefetchTest : public testing::Test {
protected:
    void SetUp() override {
        caller = std::this_thread::get_id();
        workerDecodes = 0;
        callerDecodes = 0;
        gateOpen = true;
        workerWaiting = false;
        previous_ = toolkit::SetPictureDecoder(CountingDecoder);
    }
    void TearDown() override { toolkit::SetPictureDecoder(std::move(previous_)); }

    // Waits until the worker has decoded `count` files; false after a generous timeout.
    static bool WorkerDecoded(int count) {
        for (int i = 0; i < 1000 && workerDecodes < count; ++i) std::this_thread::sleep_for(10ms);
        return workerDecodes >= count;
    }

    ScratchFolder folder{"prefetch"};

private:
    toolkit::PictureDecoder previous_;
};

TEST_F(PicturePrefetchTest, APictureDecodedAheadIsUsedOnceWhenTheFileIsUnchanged) {
    const std::string tile = folder.Write("tile.bmp", Bitmap24(5, 3));
    const PicturePrefetch prefetch({tile}, CountingDecoder);
    ASSERT_TRUE(WorkerDecoded(1));

    const toolkit::StdPicture picture = LoadPicture(tile);
    EXPECT_EQ(callerDecodes, 0) << "the worker's picture was decoded again";
    EXPECT_EQ(picture->Width, 5);
    EXPECT_EQ(picture->Height, 3);
    EXPECT_EQ(picture->Pixels, toolkit::LoadBitmapResource(Bitmap24(5, 3))->Pixels);

    // A second load of the same file has nothing left to take.
    EXPECT_EQ(LoadPicture(tile)->Pixels, picture->Pixels);
    EXPECT_EQ(callerDecodes, 1);
    EXPECT_EQ(workerDecodes, 1);
}

TEST_F(PicturePrefetchTest, AFileChangedAfterItsPrefetchIsDecodedAfresh) {
    const std::string tile = folder.Write("tile.bmp", Bitmap24(5, 3));
    const PicturePrefetch prefetch({tile}, CountingDecoder);
    ASSERT_TRUE(WorkerDecoded(1));

    // Same size, other pixels: only the bytes tell the two apart.
    auto changed = Bitmap24(5, 3);
    changed[60] ^= 0xFF;
    folder.Write("tile.bmp", changed);
    EXPECT_EQ(LoadPicture(tile)->Pixels, toolkit::LoadBitmapResource(changed)->Pixels);
    EXPECT_EQ(callerDecodes, 1);
}

TEST_F(PicturePrefetchTest, UnloadableFilesGiveTheSameErrorsWithAndWithoutAPrefetch) {
    auto cut = Bitmap24(40, 40);
    cut.resize(cut.size() / 2);
    auto depth = Bitmap24(4, 4);
    depth[28] = 7;
    const std::vector<std::string> files{
        folder.Path() + "/none.bmp",      folder.Write("empty.bmp", std::string()),
        folder.Write("cut.bmp", cut),     folder.Write("notes.bmp", std::string("these are not pixels")),
        folder.Write("depth.bmp", depth), folder.Path()};
    toolkit::SetPictureDecoder(StrictDecoder);
    std::vector<std::string> without;
    for (const auto& file : files) without.push_back(LoadError(file));

    // Whichever thread decodes each file, the errors must not tell.
    const PicturePrefetch prefetch(files, StrictDecoder);
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_FALSE(without[i].empty()) << files[i];
        EXPECT_EQ(LoadError(files[i]), without[i]);
    }
}

TEST_F(PicturePrefetchTest, TheWorkersFailureReachesTheLoad) {
    const std::string tile = folder.Write("tile.bmp", Bitmap24(5, 3));
    toolkit::SetPictureDecoder(RefusingDecoder);
    const PicturePrefetch prefetch({tile}, RefusingDecoder);
    ASSERT_TRUE(WorkerDecoded(1));

    const std::string error = LoadError(tile);
    EXPECT_NE(error.find("tile.bmp"), std::string::npos) << error;
    EXPECT_NE(error.find("refused on the worker"), std::string::npos) << error;
    EXPECT_EQ(callerDecodes, 0);
}

TEST_F(PicturePrefetchTest, APictureIsNotTakenFromAnotherDecoder) {
    const std::string tile = folder.Write("tile.bmp", Bitmap24(5, 3));
    const PicturePrefetch prefetch({tile}, StrictDecoder);
    ASSERT_TRUE(WorkerDecoded(1));
    EXPECT_EQ(LoadPicture(tile)->Width, 5);
    EXPECT_EQ(callerDecodes, 1) << "CountingDecoder is installed, the prefetch used StrictDecoder";
}

TEST_F(PicturePrefetchTest, ALoadDoesNotWaitBehindTheWorkersOtherFiles) {
    const std::string first = folder.Write("first.bmp", Bitmap24(2, 2));
    const std::string second = folder.Write("second.bmp", Bitmap24(7, 4));
    toolkit::SetPictureDecoder(GatedDecoder);
    gateOpen = false;
    const PicturePrefetch prefetch({first, second}, GatedDecoder);
    {
        std::unique_lock lock(gateLock);
        ASSERT_TRUE(gateChanged.wait_for(lock, 10s, [] { return workerWaiting; }));
    }
    EXPECT_EQ(LoadPicture(second)->Width, 7);
    EXPECT_EQ(callerDecodes, 1) << "the load decoded the file the worker had not begun";
    {
        const std::lock_guard lock(gateLock);
        EXPECT_FALSE(gateOpen) << "the load waited for the worker";
        gateOpen = true;
    }
    gateChanged.notify_all();
    EXPECT_EQ(LoadPicture(first)->Width, 2);
    EXPECT_EQ(callerDecodes, 1) << "the worker's picture was used";
    EXPECT_EQ(workerDecodes, 1) << "the worker skipped the file the load had claimed";
}

TEST_F(PicturePrefetchTest, EndingAPrefetchWithdrawsItAndOnlyOneRunsAtATime) {
    const std::string tile = folder.Write("tile.bmp", Bitmap24(5, 3));
    {
        const PicturePrefetch prefetch({tile}, CountingDecoder);
        EXPECT_THROW(PicturePrefetch({tile}, CountingDecoder), std::logic_error);
        ASSERT_TRUE(WorkerDecoded(1));
    }
    EXPECT_EQ(LoadPicture(tile)->Width, 5);
    EXPECT_EQ(callerDecodes, 1);

    // Ended before the worker began: it gives up its files and is joined.
    toolkit::SetPictureDecoder(GatedDecoder);
    gateOpen = false;
    std::thread opener;
    {
        const PicturePrefetch prefetch({tile, tile, tile}, GatedDecoder);
        std::unique_lock lock(gateLock);
        ASSERT_TRUE(gateChanged.wait_for(lock, 10s, [] { return workerWaiting; }));
        // Opened once the prefetch has ended, which the destructor's join waits for.
        opener = std::thread([] {
            std::this_thread::sleep_for(200ms);
            const std::lock_guard lock(gateLock);
            gateOpen = true;
            gateChanged.notify_all();
        });
    }
    opener.join();
    EXPECT_EQ(workerDecodes, 2) << "the worker decoded only the file it had begun";
    EXPECT_EQ(LoadPicture(tile)->Width, 5);
    EXPECT_EQ(callerDecodes, 2);
}

}  // namespace
