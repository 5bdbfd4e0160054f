// The desktop program's run (see the header).
#include "platform/sdl/RunDesktop.h"

#include "platform/sdl/CSdlHost.h"

#include <cstdio>

int RunDesktop(std::function<bool()> startProgram) {
    CSdlHost host;
    if (!host.Open("OrbStock", 480, 720)) {
        std::fprintf(stderr, "OrbStock: %s\n", host.LastError().c_str());
        return 2;
    }
    UiMessageLoop loop(&host);
    host.SetLoop(&loop);
    if (startProgram && !startProgram())
        return 1;
    return loop.Run();
}
