// The desktop program's run: an SDL2 window as the phone's screen, the
// message loop on this thread, the program's start-up, then the loop.
#pragma once

#include <functional>
#include <string>

// Makes the loop, runs startProgram on it and, when it returned true, runs
// the loop until the program quits or the window is closed; the window
// (portrait 480 × 720) opens once SDL2 has loaded, the program running
// meanwhile (sooner when the start shows a modal box). Returns the loop's exit code; 1 when startProgram
// fails, or, with a message on stderr, when SDL2 cannot be loaded; 2, with
// a message on stderr, when there is no display, or only one
// of SDL's invisible drivers that SDL_VIDEODRIVER did not ask for. With
// refused given, that message goes there instead of to stderr, for the
// caller to say once in its own words.
int RunDesktop(std::function<bool()> startProgram, std::string* refused);
int RunDesktop(std::function<bool()> startProgram);

// Starts loading the window's library (SDL2 and the libraries it brings) on
// a thread of its own, so that it runs while the program starts; RunDesktop
// waits for it. While the loader maps and links the libraries it holds the
// lock every new thread takes for its thread-local storage, so a thread
// made meanwhile waits until the load ends: call it once the threads the
// start makes early (the font's, the key's, the built-in server's) exist,
// just before the program's start runs.
void PreloadDesktopHost();
