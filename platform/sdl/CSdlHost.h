// The desktop host: one SDL2 window the size of the phone's screen, the
// mouse as the finger, typed text and a few keys as the phone's input.
//
// It runs on the GUI thread (SDL wants its window and events there); Wake
// is the one member other threads call, and it only pushes an SDL event.
#pragma once

#include "platform/win/UiMessageLoop.h"

#include <cstdint>
#include <string>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

class CSdlHost : public IUiHost {
public:
    CSdlHost();
    ~CSdlHost() override;
    CSdlHost(const CSdlHost&) = delete;
    CSdlHost& operator=(const CSdlHost&) = delete;

    // Initialises SDL video and opens the window; false with LastError()
    // set when there is no display or SDL fails.
    bool Open(const char* title, int width, int height);
    const std::string& LastError() const { return m_error; }
    // The loop that receives input; set before running it.
    void SetLoop(UiMessageLoop* loop) { m_loop = loop; }

    void Present(const CSurface& screen) override;
    void WaitForEvents(int timeoutMs) override;
    void Wake() override;

private:
    void Handle(const SDL_Event& event);
    void TypeUtf8(const char* text);

    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    int m_textureWidth = 0;   // pixels
    int m_textureHeight = 0;  // pixels
    std::uint32_t m_wakeEvent = 0; // registered SDL user event type
    bool m_fingerDown = false;
    bool m_sdlStarted = false;
    UiMessageLoop* m_loop = nullptr;
    std::string m_error;
};
