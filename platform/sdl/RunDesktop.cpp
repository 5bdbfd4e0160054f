// The desktop program's run (see the header).
#include "platform/sdl/RunDesktop.h"

#include "platform/sdl/CSdlHost.h"
#include "platform/sdl/SdlLibrary.h"

#include <cstdio>
#include <utility>

int RunDesktop(std::function<bool()> startProgram, std::string* refused) {
    // The program starts first (its logon goes out) and runs while SDL2
    // loads; the window opens as the load ends, sooner when the start shows
    // a modal box.
    CSdlHost host;
    host.OpenOnFirstUse("OrbStock", 480, 720);
    UiMessageLoop loop(&host);
    host.SetLoop(&loop);
    const bool started = !startProgram || startProgram();
    // A start that failed still says why the window could not open, if so.
    const int code = started ? loop.Run() : (host.Open("OrbStock", 480, 720) ? 1 : 2);
    if (!host.OpenFailed())
        return code;
    // A missing library is no matter of the display: said here, as it is.
    if (host.LibraryMissing()) {
        std::fprintf(stderr, "OrbStock: %s; the desktop window needs SDL2 installed\n", host.LastError().c_str());
        return 1;
    }
    if (refused)
        *refused = host.LastError();
    else
        std::fprintf(stderr, "OrbStock: %s\n", host.LastError().c_str());
    return 2;
}

int RunDesktop(std::function<bool()> startProgram) {
    return RunDesktop(std::move(startProgram), nullptr);
}

void PreloadDesktopHost() { PreloadSdl(); }
