#include "support/ScratchFolder.h"

#include <fstream>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testsupport {

// A name no other test, process or earlier crashed run holds: create_directory says whether this call made the
// folder. Portable where mkdtemp is not (Windows).
ScratchFolder::ScratchFolder(const std::string& Name) {
    std::random_device random;
    for (int attempt = 0; root_.empty(); ++attempt) {
        if (attempt == 100) throw std::runtime_error("cannot make a scratch folder for " + Name);
        const fs::path candidate = fs::temp_directory_path() / ("tessarin-" + Name + "-" + std::to_string(random()));
        if (fs::create_directory(candidate)) root_ = candidate;
    }
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::string ScratchFolder::Write(const std::string& Name, const std::vector<std::uint8_t>& Bytes) const {
    const fs::path file = root_ / Name;
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    return file.string();
}

std::string ScratchFolder::Write(const std::string& Name, const std::string& Text) const {
    return Write(Name, std::vector<std::uint8_t>(Text.begin(), Text.end()));
}

}  // namespace testsupport
