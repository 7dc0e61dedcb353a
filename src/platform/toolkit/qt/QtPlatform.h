// The toolkit's platform on Qt: its message boxes, the picture decoder below, one pass of Qt's pending events, and
// the program's folder and name as the application object knows them. Make it once a QApplication exists and
// install it before any window is built.
#pragma once

#include <cstdint>
#include <string>

#include "platform/toolkit/Picture.h"
#include "platform/toolkit/Platform.h"
#include "platform/toolkit/Runtime.h"

namespace toolkit::qt {

class QtPlatform : public Platform {
public:
    std::int16_t MsgBox(const std::string& prompt, std::int16_t buttons, const std::string& title) override;
    StdPicture DecodePicture(const EncodedPicture& file) override;
    void DoEvents() override;
    std::string AppPath() override;
    std::string AppEXEName() override;
};

// QtPlatform's decoder: GIF and JPEG by the toolkit's decoders, every other format Qt reads (PNG, BMP...) by Qt,
// from the bytes the loader read, or from the named file when it hands over none.
StdPicture DecodePicture(const EncodedPicture& File);

}  // namespace toolkit::qt
