// Runs a scene script (the command language the reference renders were drawn
// from) against the raster layer, and reads and compares binary PPM pictures.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"

namespace gdi_test {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xFFRRGGBB
};

Picture ReadPpm(const std::filesystem::path& file);
Picture CopyOf(gdi::HDC hdc);
// Empty when the two agree; otherwise how they differ.
std::string Compare(const Picture& actual, const Picture& expected);
// The reports, maps and pixel reads of a reference render's text output, in the
// normalised form SceneRunner::Transcript() writes.
std::vector<std::string> ReadTranscript(const std::filesystem::path& file);

class SceneRunner {
public:
    SceneRunner() = default;
    ~SceneRunner();
    SceneRunner(const SceneRunner&) = delete;
    SceneRunner& operator=(const SceneRunner&) = delete;

    // Throws std::runtime_error naming the line of a command that fails or is unknown.
    void Run(const std::filesystem::path& scene);
    Picture Target() const;
    // What the scene's report, map and pixel commands saw, normalised.
    const std::vector<std::string>& Transcript() const { return transcript_; }
    // Frees every surface and object the scene made.
    void Release();

private:
    struct Surface {
        gdi::HDC dc = 0;
        gdi::HPEN defaultPen = 0;
        gdi::HPEN pen = 0;
        gdi::HBRUSH brush = 0;
    };

    void Execute(const std::vector<std::string>& words);
    Surface& At(const std::string& name);
    gdi::HGDIOBJ Object(const std::string& name);
    void UsePen(Surface& s, gdi::HPEN pen);
    void UseBrush(Surface& s, gdi::HBRUSH brush);
    void Restore(Surface& s);
    void Load(const std::string& name, const std::string& file, int x, int y);
    void Free(const std::string& name);
    void Report(const std::string& name, gdi::COLORREF background);
    void Map(const std::vector<std::string>& w);

    std::filesystem::path sceneDir_;
    std::map<std::string, Surface> surfaces_;
    std::map<std::string, gdi::HGDIOBJ> objects_;
    std::map<std::string, Picture> saved_;
    std::string target_;
    std::vector<std::string> transcript_;
};

}  // namespace gdi_test
