// The desktop program's run (see the header).
#include "platform/sdl/RunDesktop.h"

#include "platform/sdl/CSdlHost.h"
#include "platform/sdl/SdlLibrary.h"

#include <cstdio>
#include <utility>

int RunDesktop(std::function<bool()> startProgram, std::string* refused) {
    // The program starts first (its logon goes out) and the window opens
    // while the reply is awaited; a modal box of the start opens it sooner.
    CSdlHost host;
    host.OpenOnFirstUse("OrbStock", 480, 720);
    UiMessageLoop loop(&host);
    host.SetLoop(&loop);
    const bool started = !startProgram || startProgram();
    // A missing library is no matter of the display: said here, as it is.
    std::string missing;
    if (!LoadSdl(&missing)) {
        std::fprintf(stderr, "OrbStock: %s; the desktop window needs SDL2 installed\n", missing.c_str());
        return 1;
    }
    if (!host.Open("OrbStock", 480, 720)) {
        if (refused)
            *refused = host.LastError();
        else
            std::fprintf(stderr, "OrbStock: %s\n", host.LastError().c_str());
        return 2;
    }
    if (!started)
        return 1;
    return loop.Run();
}

int RunDesktop(std::function<bool()> startProgram) {
    return RunDesktop(std::move(startProgram), nullptr);
}

void PreloadDesktopHost() { PreloadSdl(); }
