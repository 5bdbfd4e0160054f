// SDL2 loaded when the desktop host needs it rather than when the program
// is executed: the library brings some fifty others (sound servers, codecs,
// X and Wayland) whose loading would otherwise all come before main. The
// desktop program starts the load on a thread of its own first thing, so it
// runs while the program makes its server, its data and its logon.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>

// The functions of SDL2 the desktop host calls.
#define ORB_SDL_FUNCTIONS(X) \
    X(Init)                  \
    X(Quit)                  \
    X(GetError)              \
    X(SetHint)               \
    X(GetCurrentVideoDriver) \
    X(RegisterEvents)        \
    X(CreateWindow)          \
    X(DestroyWindow)         \
    X(GetWindowSurface)      \
    X(SetWindowSize)         \
    X(UpdateWindowSurface)   \
    X(CreateRGBSurfaceWithFormatFrom) \
    X(FreeSurface)           \
    X(UpperBlit)             \
    X(StartTextInput)        \
    X(WaitEvent)             \
    X(WaitEventTimeout)      \
    X(PollEvent)             \
    X(PushEvent)             \
    X(GetModState)           \
    X(iconv_string)          \
    X(free)

struct CSdlApi {
#define ORB_SDL_POINTER(name) decltype(&SDL_##name) name = nullptr;
    ORB_SDL_FUNCTIONS(ORB_SDL_POINTER)
#undef ORB_SDL_POINTER
};

// Starts loading SDL2 on a thread of its own; later calls do nothing.
void PreloadSdl();
// Calls done once SDL2's load has ended, loaded or not: at once when it has,
// else on the loading thread as it ends. The load must have been started.
void WhenSdlLoadEnds(std::function<void()> done);
// SDL2's functions, loaded here or waited for when PreloadSdl began it;
// nullptr, with the reason in *error, when the library or one of its
// functions cannot be found. Any thread.
const CSdlApi* LoadSdl(std::string* error = nullptr);
