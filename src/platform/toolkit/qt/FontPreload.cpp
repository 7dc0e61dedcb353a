#include "platform/toolkit/qt/FontPreload.h"

#include <system_error>

#if TESSARIN_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace toolkit::qt {

FontPreload::FontPreload() {
#if TESSARIN_HAVE_FONTCONFIG
    try {
        // fontconfig loads its configuration once per process, safely from any thread; Qt's font database then
        // finds it loaded. A failure here is left for Qt to meet and report as it always does.
        reader_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // Without a second thread the configuration is read where it is first needed, as always.
    }
#endif
}

FontPreload::~FontPreload() { Wait(); }

void FontPreload::Wait() {
    if (reader_.joinable()) reader_.join();
}

}  // namespace toolkit::qt
