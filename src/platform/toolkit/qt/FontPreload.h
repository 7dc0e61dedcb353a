// The system's font configuration, read ahead on a thread of its own.
//
// Where fonts come through fontconfig, reading its configuration is the largest single
// cost of showing a first window: it parses every configuration file the system has.
// Building the application object takes about as long and needs no fonts, so the two can
// run side by side on a machine with a second core. Elsewhere this does nothing.
#pragma once

#include <thread>

namespace toolkit::qt {

class FontPreload {
public:
    FontPreload();
    ~FontPreload();
    FontPreload(const FontPreload&) = delete;
    FontPreload& operator=(const FontPreload&) = delete;

    // Returns once the configuration is read. Call it before the first use of a font:
    // a use that comes earlier reads the whole configuration a second time.
    void Wait();

private:
    std::thread reader_;
};

}  // namespace toolkit::qt
