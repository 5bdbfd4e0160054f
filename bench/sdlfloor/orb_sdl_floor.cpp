// The floor of a start from exec: a program that links the same SDL2 as the
// desktop program, starts only its video, opens a window of the phone's
// size, fills it and shows it, then prints when (CLOCK_MONOTONIC ns) and
// leaves. Without a display the bench runs it on SDL's off-screen driver.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

int main(int, char**) {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return 1;
    SDL_Window* window =
        SDL_CreateWindow("floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 480, 720, SDL_WINDOW_SHOWN);
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!surface)
        return 1;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0x20, 0x20, 0x20));
    SDL_UpdateWindowSurface(window);
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    std::printf("%lld\n", static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec);
    std::fflush(stdout);
    // Leaving is no part of a start.
    std::_Exit(0);
}
