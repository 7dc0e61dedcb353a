#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "WindowTestSupport.h"
#include "platform/toolkit/PicturePrefetch.h"
#include "platform/toolkit/qt/FormWindow.h"
#include "platform/toolkit/qt/Seams.h"

namespace windowtest {
namespace {

// The window's pictures as the program prefetches them.
std::vector<std::string> WindowPictures() {
    std::vector<std::string> files;
    for (const char* file : Game::PictureFiles()) files.push_back(toolkit::NativePath(toolkit::App::Path() + file));
    return files;
}

class PrefetchedStartupTest : public WindowTest {
protected:
    PictureFolder pictures;
};

TEST_F(PrefetchedStartupTest, TheListedPicturesAreTheOnesTheWindowLoadsInItsOrder) {
    std::vector<std::string> loaded;
    toolkit::SetPictureDecoder([&loaded](const toolkit::EncodedPicture& File) {
        loaded.push_back(File.NativeFileName);
        return toolkit::qt::DecodePicture(File);
    });
    Start();
    EXPECT_EQ(loaded, WindowPictures());
}

TEST_F(PrefetchedStartupTest, AWindowStartedWithAPrefetchLooksTheSame) {
    Start();
    const Snapshot plain = Capture(game->hDC());
    game.reset();
    {
        const toolkit::PicturePrefetch prefetch(WindowPictures(), toolkit::qt::DecodePicture);
        Start();
    }
    const Snapshot prefetched = Capture(game->hDC());
    EXPECT_EQ(prefetched.Width, plain.Width);
    EXPECT_EQ(prefetched.Height, plain.Height);
    EXPECT_TRUE(prefetched.Pixels == plain.Pixels);
}

// Decodes as the program does and counts what the worker decoded, so a test can wait for it.
std::atomic<int> workerDecodes{0};
std::thread::id uiThread;

toolkit::StdPicture CountedDecode(const toolkit::EncodedPicture& File) {
    if (std::this_thread::get_id() != uiThread) ++workerDecodes;
    return toolkit::qt::DecodePicture(File);
}

// A file missing, no picture, or another picture by the time the window loads it, after the
// prefetch has decoded the intact file.
TEST_F(PrefetchedStartupTest, FilesChangedAfterThePrefetchLoadAsWithoutIt) {
    namespace fs = std::filesystem;
    uiThread = std::this_thread::get_id();
    toolkit::SetPictureDecoder(CountedDecode);
    for (const char* listed : Game::PictureFiles()) {
        const std::string name = fs::path(toolkit::NativePath(listed)).filename().string();
        const std::string other = name == "Up.jpg" ? "Down.jpg" : "Up.jpg";
        for (int change = 0; change < 3; ++change) {
            SCOPED_TRACE(name + ", change " + std::to_string(change));
            const auto damage = [&] {
                if (change == 0) pictures.Remove(name);
                if (change == 1) pictures.Corrupt(name);
                if (change == 2)
                    fs::copy_file(pictures.File(other), pictures.File(name), fs::copy_options::overwrite_existing);
            };
            const auto restore = [&] {
                fs::copy_file(SourcePictures() / name, pictures.File(name), fs::copy_options::overwrite_existing);
            };
            damage();
            const std::string without = StartFailure();
            const Snapshot plainImage = without.empty() ? Capture(game->hDC()) : Snapshot{};
            game.reset();
            restore();

            std::string with;
            {
                workerDecodes = 0;
                const toolkit::PicturePrefetch prefetch(WindowPictures(), CountedDecode);
                for (int i = 0; i < 1000 && workerDecodes < 8; ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                ASSERT_EQ(workerDecodes, 8);
                damage();
                with = StartFailure();
            }
            EXPECT_EQ(with, without);
            if (without.empty() && with.empty()) {
                EXPECT_TRUE(Capture(game->hDC()).Pixels == plainImage.Pixels);
            }
            game.reset();
            restore();
        }
    }
}

}  // namespace
}  // namespace windowtest
