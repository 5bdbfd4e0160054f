// The desktop host: one SDL2 window the size of the phone's screen, the
// mouse as the finger, typed text and a few keys as the phone's input, the
// wheel as the pinch (the rules: HostInput.h).
//
// The screen is copied into the window's own surface in software: the
// program paints every pixel itself, so a GPU renderer would only add its
// driver stack's threads and memory.
//
// A window nobody sees is refused: when SDL could not reach a display and
// settled on one of its invisible drivers ("offscreen", "dummy"), Open
// fails unless SDL_VIDEODRIVER asked for that driver by name (tests, CI).
// Without SDL_VIDEODRIVER only the sessions that are set (DISPLAY,
// WAYLAND_DISPLAY) are tried, so a dead one fails quietly with one reason.
//
// It runs on the GUI thread (SDL wants its window and events there); Wake
// is the one member other threads call, and it only pushes an SDL event.
#pragma once

#include "platform/sdl/HostInput.h"
#include "platform/win/UiMessageLoop.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct CSdlApi;
struct SDL_Window;
union SDL_Event;

class CSdlHost : public IUiHost {
public:
    CSdlHost();
    ~CSdlHost() override;
    CSdlHost(const CSdlHost&) = delete;
    CSdlHost& operator=(const CSdlHost&) = delete;

    // Initialises SDL video and opens the window; false with LastError()
    // set when there is no display, SDL chose an invisible driver that was
    // not asked for, or SDL fails. Once: a later call answers as the first.
    bool Open(const char* title, int width, int height);
    // The window the loop opens once SDL2 has loaded, when Open was not
    // called before: the program runs (its logon goes out, its replies are
    // taken, its screens are painted) while SDL2 loads, and the last screen
    // presented shows when the window opens. A failed open quits the loop
    // with code 2 (OpenFailed then tells).
    void OpenOnFirstUse(const char* title, int width, int height);
    bool OpenFailed() const { return m_opened && !*m_opened; }
    // Whether the window is open: what is presented from now on shows.
    bool IsOpen() const { return m_opened && *m_opened; }
    // Whether the failure was SDL2 itself missing, not the display.
    bool LibraryMissing() const { return OpenFailed() && !m_sdl; }
    const std::string& LastError() const { return m_error; }
    // The loop that receives input; set before running it.
    void SetLoop(UiMessageLoop* loop) { m_loop = loop; }

    // True for the video drivers whose windows nobody sees.
    static bool IsInvisibleDriver(std::string_view driver);
    // Whether a window on driver may be opened; requested is the value of
    // SDL_VIDEODRIVER (empty when unset), a name or a comma-separated list.
    static bool AcceptsDriver(std::string_view driver, std::string_view requested);

    void Present(const CSurface& screen) override;
    void WaitForEvents(int timeoutMs) override;
    void Wake() override;

private:
    // Until the window opens: SDL2's load ending or another thread's Wake.
    struct CBeforeOpen {
        std::mutex mutex;
        std::condition_variable changed;
        bool loaded = false; // SDL2's load has ended
        bool woken = false;
    };
    bool SdlLoadEnded() const;
    // Waits up to timeoutMs (< 0: without end) for the load's end or a Wake.
    void WaitBeforeOpen(int timeoutMs);
    bool EnsureOpen();
    bool OpenWindow(const char* title, int width, int height);
    void Handle(const SDL_Event& event);
    void TypeUtf8(const char* text);

    const CSdlApi* m_sdl = nullptr; // SDL2, loaded by Open
    SDL_Window* m_window = nullptr;
    int m_screenWidth = 0;   // pixels, of the last screen presented
    int m_screenHeight = 0;  // pixels
    // The registered SDL user event type; set once the window is open, read
    // by Wake on any thread.
    std::atomic<std::uint32_t> m_wakeEvent{0};
    std::optional<bool> m_opened; // the outcome of Open, once tried
    std::string m_title;          // for OpenOnFirstUse
    int m_openWidth = 0, m_openHeight = 0;
    CHostInput m_input; // the finger's state and the input rules
    bool m_sdlStarted = false;
    UiMessageLoop* m_loop = nullptr;
    std::shared_ptr<CBeforeOpen> m_beforeOpen; // set by OpenOnFirstUse
    const CSurface* m_pendingScreen = nullptr;  // presented before the window opened
    std::string m_error;
};
