#include "support/ScratchFolder.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testsupport {

// mkdtemp picks a name no other test, process or earlier crashed run holds.
ScratchFolder::ScratchFolder(const std::string& Name) {
    std::string pattern = (fs::temp_directory_path() / ("tessarin-" + Name + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a scratch folder for " + Name);
    root_ = pattern;
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
