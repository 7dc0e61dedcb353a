// The files the toolkit reads, as the picture loader and the file test see them. A program on a desktop asks its
// system (Files.cpp); a web page has no file system, only the files it fetched beside itself (web/PageFiles.cpp), so
// that the module carries no emulated one. Names are UTF-8 and already in the platform's form (NativePath).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace toolkit::files {

enum class Kind { Missing, Regular, Folder, Pipe, Device, Socket, Other };

struct Entry {
    Kind Type = Kind::Missing;
    bool SizeKnown = false;
    std::uintmax_t Size = 0;
};

// What the name is, without opening it: opening a pipe or a device could wait for ever.
Entry Look(const std::string& name);

// The whole file, read once. Throws PictureLoadError when it cannot be opened or read, or once more than `limit`
// bytes came (the file may grow after it was looked at).
std::vector<std::uint8_t> Read(const std::string& name, std::uintmax_t limit);

// The last part of the name: the file's own name without its folder.
std::string NameOf(const std::string& name);

// The folder of the running program's file, or the current folder where the system does not tell (Linux does);
// and the file's name without folder and extension, "" where the system does not tell.
std::string ProgramFolder();
std::string ProgramName();

}  // namespace toolkit::files
