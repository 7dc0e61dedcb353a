// The toolkit's services in a web page: message boxes in the page's own dialog, pictures decoded by the browser, and
// the files the page fetched beside itself as the program's folder.
#pragma once

#include "platform/toolkit/Platform.h"

namespace toolkit::web {

class WebPlatform : public Platform {
public:
    // The page's own box, which waits for the player's answer; an error's stays on the page once it is closed.
    std::int16_t MsgBox(const std::string& prompt, std::int16_t buttons, const std::string& title) override;
    // The browser decoded every picture while the module loaded; this takes the decoded pixels, within the size
    // limits, and lets the browser's copy go.
    StdPicture DecodePicture(const EncodedPicture& file) override;
    // Input waits in the page until the event loop takes it, one event at a time: nothing is pending here.
    void DoEvents() override {}
    // The page's files are in the module's file system as they lie beside the page, at its working folder.
    std::string AppPath() override { return "."; }
    std::string AppEXEName() override { return "tessarin"; }
};

}  // namespace toolkit::web
