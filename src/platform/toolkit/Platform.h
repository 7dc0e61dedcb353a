// What a front end's platform does for the toolkit beyond showing windows (FormView): asks the player a question,
// decodes pictures, lets pending events through, and says where and what the program is. A platform implements all
// of it in one class and installs it once, before the first window model is built (Platform::Installation). The
// game never calls it directly: the toolkit's free functions (MsgBox, LoadPicture, DoEvents, App::Path,
// App::EXEName in Runtime.h) reach the installed platform. Every call comes on the user-interface thread.
//
// With none installed the toolkit runs as a process without a window system (DefaultPlatform.h): no question can be
// answered, pictures are 24-bit bitmaps, no events wait, and the program is its executable.
#pragma once

#include <cstdint>
#include <string>

#include "platform/toolkit/Picture.h"
#include "platform/toolkit/Runtime.h"

namespace toolkit {

class Platform {
public:
    virtual ~Platform() = default;

    // toolkit::MsgBox: a modal box over the active window showing `prompt` under `title`, with the buttons and
    // icon of `buttons` (vbOKOnly or vbYesNo, plus vbCritical or vbQuestion). Returns once the player closed it, with
    // vbOK, vbYes or vbNo for the button chosen; a box closed without a button (Escape, its close box) answers No
    // where it offers No and OK otherwise, so that leaving a question never counts as Yes. The caller reports an
    // exception from it.
    virtual std::int16_t MsgBox(const std::string& prompt, std::int16_t buttons, const std::string& title) = 0;

    // LoadPicture's decoder: the file file.NativeFileName, which the loader has found, non-empty and not cut short,
    // and read whole into file.Data. A size beyond PictureSizeAllowed is refused before any pixel memory is taken.
    // A failure throws PictureLoadError or any std::exception naming the cause alone: the loader adds the file's
    // name. The picture returned holds Width × Height pixels.
    virtual StdPicture DecodePicture(const EncodedPicture& file) = 0;

    // toolkit::DoEvents: delivers the events waiting now, once, and returns without waiting for more, so that the
    // window shows before a long piece of work goes on. The model's event handlers may run inside it.
    virtual void DoEvents() = 0;

    // App::Path: the folder of the program's file, in UTF-8; the game reads its pictures from Bilder/ inside it.
    // App::Path drops a trailing separator.
    virtual std::string AppPath() = 0;
    // App::EXEName: the program's file name without its folder and extension, in UTF-8 ("tessarin"). It starts the
    // lines the toolkit writes to standard error.
    virtual std::string AppEXEName() = 0;

    // The platform the toolkit reaches now: the one installed last, or DefaultPlatform while none is.
    static Platform& Installed();

    // Makes `platform` the toolkit's for as long as it lives, then puts back the one it replaced. The platform
    // must outlive it, and installations end in the opposite order of their start.
    class Installation {
    public:
        explicit Installation(Platform& platform);
        ~Installation();
        Installation(const Installation&) = delete;
        Installation& operator=(const Installation&) = delete;

    private:
        Platform* previous_;
    };
};

}  // namespace toolkit
