// The toolkit's services in a web page: questions in the page's own dialog, pictures decoded by the browser, and
// the files the page fetched beside itself as the program's folder.
#pragma once

#include <cstdint>
#include <string>

#include "platform/toolkit/Picture.h"
#include "platform/toolkit/Runtime.h"

namespace toolkit::web {

class WebPlatform {
public:
    // A question (Yes and No) waits for the player's answer; any other box reports an error that ends the program,
    // which the page keeps showing.
    std::int16_t MsgBox(const std::string& Prompt, std::int16_t Buttons, const std::string& Title);
    // The browser decoded every picture while the module loaded; this takes the decoded pixels, within the size
    // limits, and lets the browser's copy go.
    StdPicture DecodePicture(const EncodedPicture& File);
    // Input waits in the page until the event loop takes it, one event at a time: nothing is pending here.
    void DoEvents() {}
    // The page's files are in the module's file system, at its root, as they lie beside the page.
    std::string ProgramFolder() const { return "."; }
    std::string ProgramName() const { return "tessarin"; }
};

}  // namespace toolkit::web
