// Starts the program in a web page: the toolkit's services in the browser, then the program's only window. The
// page has fetched the program's files and decoded its pictures before this runs.
#include "Program.h"
#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/web/WebPlatform.h"

int main() {
    static toolkit::web::WebPlatform platform;
    toolkit::SetMsgBoxHandler([](const std::string& prompt, std::int16_t buttons, const std::string& title) {
        return platform.MsgBox(prompt, buttons, title);
    });
    toolkit::SetPictureDecoder([](const toolkit::EncodedPicture& file) { return platform.DecodePicture(file); });
    toolkit::App::Path(platform.ProgramFolder());
    toolkit::App::EXEName(platform.ProgramName());
    return RunProgram();
}
