#include "SceneRunner.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace gdi_test {

using namespace gdi;

namespace {

COLORREF Colour(const std::string& hex) {
    const auto rgb = static_cast<std::uint32_t>(std::stoul(hex, nullptr, 16));
    return RGB(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
               static_cast<std::uint8_t>(rgb));
}

int Number(const std::string& word) { return std::stoi(word); }

DWORD Rop(const std::string& name) {
    if (name == "SRCCOPY") return SRCCOPY;
    if (name == "SRCAND") return SRCAND;
    if (name == "SRCPAINT") return SRCPAINT;
    if (name == "SRCINVERT") return SRCINVERT;
    return static_cast<DWORD>(std::stoul(name, nullptr, 0));
}

int StockIndex(const std::string& name) {
    static const std::map<std::string, int> stock = {
        {"WHITE_BRUSH", WHITE_BRUSH},   {"LTGRAY_BRUSH", LTGRAY_BRUSH}, {"GRAY_BRUSH", GRAY_BRUSH},
        {"DKGRAY_BRUSH", DKGRAY_BRUSH}, {"BLACK_BRUSH", BLACK_BRUSH},   {"NULL_BRUSH", NULL_BRUSH},
        {"WHITE_PEN", WHITE_PEN},       {"BLACK_PEN", BLACK_PEN},       {"NULL_PEN", NULL_PEN}};
    const auto it = stock.find(name);
    return it == stock.end() ? -1 : it->second;
}

void Check(bool ok, const std::string& what) {
    if (!ok) throw std::runtime_error(what + " failed");
}

int PenStyle(const std::vector<std::string>& w, std::size_t at) {
    return w.size() > at && w[at] == "null" ? PS_NULL : PS_SOLID;
}

std::string Hex(COLORREF c) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first);
}

}  // namespace

std::vector<std::string> ReadTranscript(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in) throw std::runtime_error("cannot open " + file.string());
    std::vector<std::string> out;
    std::vector<std::pair<int, std::string>> mapRows;
    std::map<char, std::string> legend;
    std::string mapName;
    auto flushMap = [&] {
        for (const auto& [y, row] : mapRows) {
            std::string line = "map " + mapName + " " + std::to_string(y);
            for (char ch : row) line += " " + (ch == '.' ? std::string(".") : legend.at(ch));
            out.push_back(line);
        }
        mapRows.clear();
        legend.clear();
    };
    std::string line;
    while (std::getline(in, line)) {
        const std::string t = Trim(line);
        std::istringstream words(t);
        std::string first, second;
        words >> first >> second;
        if (first == "==") {
            flushMap();
            std::string name;
            words >> name;
            if (!name.empty() && name.back() == ':') name.pop_back();  // a report without a label
            if (second == "report") out.push_back("report " + name);
            mapName = name;
        } else if (t.rfind("no pixel differs", 0) == 0) {
            out.push_back("0 pixels differ");
        } else if (second == "pixels" && t.find("pixels differ") != std::string::npos) {
            out.push_back(first + " pixels differ");
        } else if (t.rfind("y=", 0) == 0 || first == "pixel") {
            flushMap();
            out.push_back(t);
        } else if (second == "=" && first.size() == 1) {
            std::string colour;
            words >> colour;
            legend[first[0]] = colour;
        } else if (!first.empty() && first.find_first_not_of("0123456789") == std::string::npos && !second.empty() &&
                   second.find_first_not_of(".ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos) {
            mapRows.emplace_back(std::stoi(first), second);
        }
    }
    flushMap();
    return out;
}

Picture ReadPpm(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + file.string());
    std::string magic;
    in >> magic;
    if (magic != "P6") throw std::runtime_error(file.string() + " is not a binary PPM");
    int values[3];
    for (int& v : values) {
        while ((in >> std::ws).peek() == '#') in.ignore(1 << 20, '\n');
        in >> v;
    }
    in.get();
    if (values[2] != 255) throw std::runtime_error(file.string() + ": only 8-bit PPM");
    Picture p{values[0], values[1], {}};
    std::vector<unsigned char> bytes(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) * 3);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!in) throw std::runtime_error(file.string() + " is cut short");
    for (std::size_t i = 0; i < bytes.size(); i += 3)
        p.pixels.push_back(0xFF000000u | bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2]);
    return p;
}

Picture CopyOf(HDC hdc) {
    const SurfaceBits bits = GetSurfaceBits(hdc);
    Picture p{bits.width, bits.height, {}};
    if (bits.pixels != nullptr)
        p.pixels.assign(bits.pixels,
                        bits.pixels + static_cast<std::size_t>(bits.width) * static_cast<std::size_t>(bits.height));
    return p;
}

std::string Compare(const Picture& actual, const Picture& expected) {
    std::ostringstream out;
    if (actual.width != expected.width || actual.height != expected.height) {
        out << "size " << actual.width << "x" << actual.height << ", expected " << expected.width << "x"
            << expected.height;
        return out.str();
    }
    int wrong = 0;
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            const std::size_t i =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(actual.width) + static_cast<std::size_t>(x);
            const std::uint32_t a = actual.pixels[i] & 0xFFFFFFu, e = expected.pixels[i] & 0xFFFFFFu;
            if (a == e) continue;
            if (++wrong <= 12) out << " (" << x << "," << y << ")=" << std::hex << a << " want " << e << std::dec;
        }
    }
    if (wrong == 0) return {};
    return std::to_string(wrong) + " pixels differ:" + out.str();
}

SceneRunner::~SceneRunner() { Release(); }

void SceneRunner::Run(const std::filesystem::path& scene) {
    std::ifstream in(scene);
    if (!in) throw std::runtime_error("cannot open " + scene.string());
    sceneDir_ = scene.parent_path();
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;
        try {
            Execute(w);
        } catch (const std::exception& e) {
            throw std::runtime_error(scene.filename().string() + ":" + std::to_string(number) + ": " + e.what());
        }
    }
}

Picture SceneRunner::Target() const {
    const auto it = surfaces_.find(target_);
    if (it == surfaces_.end()) throw std::runtime_error("no target surface");
    return CopyOf(it->second.dc);
}

SceneRunner::Surface& SceneRunner::At(const std::string& name) {
    const auto it = surfaces_.find(name);
    if (it == surfaces_.end()) throw std::runtime_error("no surface " + name);
    return it->second;
}

HGDIOBJ SceneRunner::Object(const std::string& name) {
    const int stock = StockIndex(name);
    if (stock >= 0) return GetStockObject(stock);
    const auto it = objects_.find(name);
    if (it == objects_.end()) throw std::runtime_error("no object " + name);
    return it->second;
}

void SceneRunner::UsePen(Surface& s, HPEN pen) {
    Check(pen != 0, "CreatePen");
    Check(SelectObject(s.dc, pen) != 0, "SelectObject");
    if (s.pen != 0) Check(DeleteObject(s.pen) == TRUE, "DeleteObject");
    s.pen = pen;
}

void SceneRunner::UseBrush(Surface& s, HBRUSH brush) {
    Check(brush != 0, "CreateSolidBrush");
    Check(SelectObject(s.dc, brush) != 0, "SelectObject");
    if (s.brush != 0) Check(DeleteObject(s.brush) == TRUE, "DeleteObject");
    s.brush = brush;
}

void SceneRunner::Restore(Surface& s) {
    Check(SelectObject(s.dc, s.defaultPen != 0 ? s.defaultPen : GetStockObject(BLACK_PEN)) != 0, "SelectObject");
    Check(SelectObject(s.dc, GetStockObject(WHITE_BRUSH)) != 0, "SelectObject");
    if (s.pen != 0) Check(DeleteObject(s.pen) == TRUE, "DeleteObject");
    if (s.brush != 0) Check(DeleteObject(s.brush) == TRUE, "DeleteObject");
    s.pen = s.brush = 0;
}

// Pictures come as PPM files of the same name; a file saved earlier in the
// scene is read back from memory.
void SceneRunner::Load(const std::string& name, const std::string& file, int x, int y) {
    const auto saved = saved_.find(file);
    Picture picture;
    if (saved != saved_.end()) {
        picture = saved->second;
    } else {
        std::filesystem::path path = sceneDir_ / file;
        picture = ReadPpm(path.replace_extension(".ppm"));
    }
    if (surfaces_.find(name) == surfaces_.end()) {
        const HDC dc = CreateSurfaceDC(picture.width, picture.height, RGB(0, 0, 0));
        Check(dc != 0, "CreateSurfaceDC");
        surfaces_[name].dc = dc;
        if (target_.empty()) target_ = name;
    }
    const SurfaceBits bits = GetSurfaceBits(At(name).dc);
    for (int row = 0; row < picture.height; ++row)
        for (int col = 0; col < picture.width; ++col)
            if (row + y >= 0 && row + y < bits.height && col + x >= 0 && col + x < bits.width)
                bits.pixels[(row + y) * bits.width + col + x] =
                    picture.pixels[static_cast<std::size_t>(row * picture.width + col)];
}

void SceneRunner::Free(const std::string& name) {
    Surface& s = At(name);
    Restore(s);
    if (s.defaultPen != 0) {
        Check(SelectObject(s.dc, GetStockObject(BLACK_PEN)) != 0, "SelectObject");
        Check(DeleteObject(s.defaultPen) == TRUE, "DeleteObject");
    }
    Check(DeleteDC(s.dc) == TRUE, "DeleteDC");
    surfaces_.erase(name);
}

void SceneRunner::Release() {
    while (!surfaces_.empty()) Free(surfaces_.begin()->first);
    for (const auto& [name, object] : objects_) DeleteObject(object);
    objects_.clear();
}

// Each row as runs of equal colour other than the background: "y=3 2-9:000000 12:0000FF".
void SceneRunner::Report(const std::string& name, COLORREF background) {
    const Picture p = CopyOf(At(name).dc);
    const std::uint32_t bg = ToPixel(background) & 0xFFFFFFu;
    transcript_.push_back("report " + name);
    std::vector<std::string> rows;
    int count = 0;
    for (int y = 0; y < p.height; ++y) {
        std::string row;
        for (int x = 0; x < p.width;) {
            const std::uint32_t c = p.pixels[static_cast<std::size_t>(y * p.width + x)] & 0xFFFFFFu;
            int end = x + 1;
            while (end < p.width && (p.pixels[static_cast<std::size_t>(y * p.width + end)] & 0xFFFFFFu) == c) ++end;
            if (c != bg) {
                count += end - x;
                row += " " + std::to_string(x) + (end - 1 > x ? "-" + std::to_string(end - 1) : "") + ":" +
                       Hex(FromPixel(c));
            }
            x = end;
        }
        if (!row.empty()) rows.push_back("y=" + std::to_string(y) + row);
    }
    transcript_.push_back(std::to_string(count) + " pixels differ");
    transcript_.insert(transcript_.end(), rows.begin(), rows.end());
}

void SceneRunner::Map(const std::vector<std::string>& w) {
    const HDC dc = At(w.at(1)).dc;
    const COLORREF bg = Colour(w.at(6));
    for (int y = Number(w.at(3)); y < Number(w.at(5)); ++y) {
        std::string line = "map " + w[1] + " " + std::to_string(y);
        for (int x = Number(w.at(2)); x < Number(w.at(4)); ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            line += " " + (c == bg ? std::string(".") : Hex(c));
        }
        transcript_.push_back(line);
    }
}

void SceneRunner::Execute(const std::vector<std::string>& w) {
    const std::string& c = w[0];
    auto n = [&w](std::size_t i) { return Number(w.at(i)); };
    if (c == "surface") {
        const HDC dc = CreateSurfaceDC(n(2), n(3), Colour(w.at(4)));
        Check(dc != 0, "CreateSurfaceDC");
        surfaces_[w[1]].dc = dc;
        if (target_.empty()) target_ = w[1];
    } else if (c == "default_pen") {
        Surface& s = At(w[1]);
        const HPEN pen = CreatePen(PS_SOLID, n(2), Colour(w.at(3)));
        Check(pen != 0 && SelectObject(s.dc, pen) != 0, "default pen");
        s.defaultPen = pen;
    } else if (c == "use_pen") {
        UsePen(At(w[1]), CreatePen(PenStyle(w, 4), n(2), Colour(w.at(3))));
    } else if (c == "use_brush") {
        Surface& s = At(w[1]);
        if (w.at(2) == "NULL_BRUSH") {
            Check(SelectObject(s.dc, GetStockObject(NULL_BRUSH)) != 0, "SelectObject");
            if (s.brush != 0) Check(DeleteObject(s.brush) == TRUE, "DeleteObject");
            s.brush = 0;
        } else {
            UseBrush(s, CreateSolidBrush(Colour(w[2])));
        }
    } else if (c == "restore") {
        Restore(At(w[1]));
    } else if (c == "pen") {
        objects_[w.at(1)] = CreatePen(PenStyle(w, 4), n(2), Colour(w.at(3)));
    } else if (c == "brush") {
        objects_[w.at(1)] = CreateSolidBrush(Colour(w.at(2)));
    } else if (c == "select") {
        Check(SelectObject(At(w[1]).dc, Object(w.at(2))) != 0, "SelectObject");
    } else if (c == "delete") {
        Check(DeleteObject(Object(w.at(1))) == TRUE, "DeleteObject");
        objects_.erase(w[1]);
    } else if (c == "fill") {
        Check(FillSurface(At(w[1]).dc, Colour(w.at(2))) == TRUE, "FillSurface");
    } else if (c == "setpixel") {
        Check(SetPixel(At(w[1]).dc, n(2), n(3), Colour(w.at(4))) != CLR_INVALID, "SetPixel");
    } else if (c == "moveto") {
        Check(MoveToEx(At(w[1]).dc, n(2), n(3), nullptr) == TRUE, "MoveToEx");
    } else if (c == "lineto") {
        Check(LineTo(At(w[1]).dc, n(2), n(3)) == TRUE, "LineTo");
    } else if (c == "line") {
        const HDC dc = At(w[1]).dc;
        Check(MoveToEx(dc, n(2), n(3), nullptr) == TRUE && LineTo(dc, n(4), n(5)) == TRUE, "line");
    } else if (c == "ellipse") {
        Check(Ellipse(At(w[1]).dc, n(2), n(3), n(4), n(5)) == TRUE, "Ellipse");
    } else if (c == "bitblt") {
        Check(BitBlt(At(w[1]).dc, n(2), n(3), n(4), n(5), At(w.at(6)).dc, n(7), n(8), Rop(w.at(9))) == TRUE, "BitBlt");
    } else if (c == "tblt" || c == "transparentblt") {
        Check(GdiTransparentBlt(At(w[1]).dc, n(2), n(3), n(4), n(5), At(w.at(6)).dc, n(7), n(8), n(9), n(10),
                                Colour(w.at(11))) == TRUE,
              "GdiTransparentBlt");
    } else if (c == "load") {
        Load(w.at(1), w.at(2), w.size() > 4 ? n(3) : 0, w.size() > 4 ? n(4) : 0);
    } else if (c == "save") {
        saved_[w.at(2)] = CopyOf(At(w[1]).dc);
    } else if (c == "target") {
        At(w.at(1));
        target_ = w[1];
    } else if (c == "free") {
        Free(w.at(1));
    } else if (c == "report") {
        Report(w.at(1), Colour(w.at(2)));
    } else if (c == "map") {
        Map(w);
    } else if (c == "pixel") {
        transcript_.push_back("pixel " + w.at(1) + " " + w.at(2) + " " + w.at(3) + " = " +
                              Hex(GetPixel(At(w[1]).dc, n(2), n(3))));
    } else if (c != "echo") {
        throw std::runtime_error("unknown command " + c);
    }
}

}  // namespace gdi_test
