// SDL2 window, presenting and input translation (see the header).
#include "platform/sdl/CSdlHost.h"

#include "platform/gdi/CSurface.h"

#include <SDL.h>

CSdlHost::CSdlHost() = default;

CSdlHost::~CSdlHost() {
    if (m_texture)
        SDL_DestroyTexture(m_texture);
    if (m_renderer)
        SDL_DestroyRenderer(m_renderer);
    if (m_window)
        SDL_DestroyWindow(m_window);
    if (m_sdlStarted)
        SDL_Quit();
}

bool CSdlHost::Open(const char* title, int width, int height) {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        m_error = std::string("no display available for the desktop window: ") + SDL_GetError();
        return false;
    }
    m_sdlStarted = true;
    m_wakeEvent = SDL_RegisterEvents(1);
    m_window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, SDL_WINDOW_SHOWN);
    if (!m_window) {
        m_error = std::string("cannot open the desktop window: ") + SDL_GetError();
        return false;
    }
    m_renderer = SDL_CreateRenderer(m_window, -1, 0);
    if (!m_renderer) {
        m_error = std::string("cannot draw into the desktop window: ") + SDL_GetError();
        return false;
    }
    SDL_StartTextInput();
    return true;
}

void CSdlHost::Present(const CSurface& screen) {
    if (!m_renderer || screen.Width() <= 0 || screen.Height() <= 0)
        return;
    if (!m_texture || m_textureWidth != screen.Width() || m_textureHeight != screen.Height()) {
        if (m_texture)
            SDL_DestroyTexture(m_texture);
        // COLORREF 0x00BBGGRR is SDL's packed XBGR8888.
        m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_XBGR8888, SDL_TEXTUREACCESS_STREAMING,
                                      screen.Width(), screen.Height());
        m_textureWidth = screen.Width();
        m_textureHeight = screen.Height();
        // The window follows the screen mode (portrait or landscape).
        SDL_SetWindowSize(m_window, m_textureWidth, m_textureHeight);
    }
    if (!m_texture)
        return;
    SDL_UpdateTexture(m_texture, nullptr, screen.Row(0), screen.Width() * static_cast<int>(sizeof(COLORREF)));
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
    SDL_RenderPresent(m_renderer);
}

void CSdlHost::WaitForEvents(int timeoutMs) {
    SDL_Event event;
    int got = timeoutMs < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, timeoutMs);
    if (!got)
        return;
    Handle(event);
    while (SDL_PollEvent(&event))
        Handle(event);
}

void CSdlHost::Wake() {
    if (!m_wakeEvent || m_wakeEvent == static_cast<std::uint32_t>(-1))
        return;
    SDL_Event event{};
    event.type = m_wakeEvent;
    SDL_PushEvent(&event);
}

void CSdlHost::Handle(const SDL_Event& event) {
    if (!m_loop)
        return;
    switch (event.type) {
    case SDL_QUIT:
        m_loop->Quit(0);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT) {
            m_fingerDown = true;
            m_loop->InjectMouse(WM_LBUTTONDOWN, {event.button.x, event.button.y});
        }
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT && m_fingerDown) {
            m_fingerDown = false;
            m_loop->InjectMouse(WM_LBUTTONUP, {event.button.x, event.button.y});
        }
        break;
    case SDL_MOUSEMOTION:
        // A finger only moves while it touches the screen.
        if (m_fingerDown)
            m_loop->InjectMouse(WM_MOUSEMOVE, {event.motion.x, event.motion.y});
        break;
    case SDL_TEXTINPUT:
        TypeUtf8(event.text.text);
        break;
    case SDL_KEYDOWN: {
        int key = 0;
        switch (event.key.keysym.sym) {
        case SDLK_BACKSPACE: key = VK_BACK; break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: key = VK_RETURN; break;
        case SDLK_ESCAPE: key = VK_ESCAPE; break;
        case SDLK_LEFT: key = VK_LEFT; break;
        case SDLK_RIGHT: key = VK_RIGHT; break;
        case SDLK_UP: key = VK_UP; break;
        case SDLK_DOWN: key = VK_DOWN; break;
        case SDLK_DELETE: key = VK_DELETE; break;
        default: break;
        }
        if (key)
            m_loop->InjectKey(key);
        break;
    }
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED)
            m_loop->InvalidateScreen();
        break;
    default:
        break;
    }
}

void CSdlHost::TypeUtf8(const char* text) {
    if (!text || !*text)
        return;
    char* wide = SDL_iconv_string("UTF-16LE", "UTF-8", text, SDL_strlen(text) + 1);
    if (!wide)
        return;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(wide); p[0] || p[1]; p += 2)
        m_loop->InjectChar(static_cast<char16_t>(p[0] | (p[1] << 8)));
    SDL_free(wide);
}
