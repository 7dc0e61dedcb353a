// The toolkit's services in a web page: message boxes in the page's own dialog, pictures decoded by the browser, and
// the files the page fetched beside itself as the program's folder (PageFiles.cpp).
#pragma once

#include "platform/toolkit/Platform.h"

namespace toolkit::web {

class WebPlatform : public Platform {
public:
    // The page's own box, which waits for the player's answer; an error's stays on the page once it is closed.
    std::int16_t MsgBox(const std::string& prompt, std::int16_t buttons, const std::string& title) override;
    // The browser decoded every picture the page fetched while the module loaded, and cannot decode while the
    // program waits: this takes the pixels it decoded from file.Data, which are the fetched file's bytes (the file
    // is read when they are left empty), within the size limits. Other bytes under the file's name are refused.
    StdPicture DecodePicture(const EncodedPicture& file) override;
    // Input waits in the page until the event loop takes it, one event at a time: nothing is pending here.
    void DoEvents() override {}
    // The page's files lie beside it, and the toolkit reads them by their paths in the page's folder.
    std::string AppPath() override { return "."; }
    std::string AppEXEName() override { return "tessarin"; }
};

}  // namespace toolkit::web
