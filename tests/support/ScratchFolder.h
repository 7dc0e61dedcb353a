// A folder of its own for one test, removed with everything in it afterwards.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

class ScratchFolder {
public:
    // A new, empty folder whose name starts with "tessarin-" and Name; throws when none can be made.
    explicit ScratchFolder(const std::string& Name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::string Path() const { return root_.string(); }

    // Writes the file Name inside the folder and answers its path.
    std::string Write(const std::string& Name, const std::vector<std::uint8_t>& Bytes) const;
    std::string Write(const std::string& Name, const std::string& Text) const;

private:
    std::filesystem::path root_;
};

}  // namespace testsupport
