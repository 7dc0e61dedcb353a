// The toolkit's services in a web page: questions in the page's own dialog, pictures decoded by the browser, and
// the files the page fetched beside itself as the program's folder (PageFiles.cpp).
#pragma once

#include "platform/toolkit/Platform.h"

namespace toolkit::web {

class WebPlatform : public Platform {
public:
    // A question (Yes and No) waits for the player's answer; any other box reports an error that ends the program,
    // which the page keeps showing.
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
