// The desktop program's run (see the header).
#include "platform/sdl/RunDesktop.h"

#include "platform/sdl/CSdlHost.h"
#include "platform/sdl/SdlLibrary.h"

#include <cstdio>
#include <utility>

int RunDesktop(std::function<bool()> startProgram, std::string* refused) {
    CSdlHost host;
    if (!host.Open("OrbStock", 480, 720)) {
        if (refused)
            *refused = host.LastError();
        else
            std::fprintf(stderr, "OrbStock: %s\n", host.LastError().c_str());
        return 2;
    }
    UiMessageLoop loop(&host);
    host.SetLoop(&loop);
    if (startProgram && !startProgram())
        return 1;
    return loop.Run();
}

int RunDesktop(std::function<bool()> startProgram) {
    return RunDesktop(std::move(startProgram), nullptr);
}

void PreloadDesktopHost() { PreloadSdl(); }
