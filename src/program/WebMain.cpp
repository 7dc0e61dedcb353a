// Starts the program in a web page: the toolkit's platform in the browser, then the program's only window. The page
// has fetched the program's files and decoded its pictures before this runs.
#include "Program.h"
#include "platform/toolkit/web/WebPlatform.h"

int main() {
    toolkit::web::WebPlatform platform;
    const toolkit::Platform::Installation installed(platform);
    return RunProgram();
}
