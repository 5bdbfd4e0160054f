// SDL2 window, presenting and input translation (see the header).
#include "platform/sdl/CSdlHost.h"

#include "platform/gdi/CSurface.h"
#include "platform/win/UiGesture.h"
#include "platform/win/UiWin.h"

#include "platform/sdl/SdlLibrary.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

CSdlHost::CSdlHost() = default;

CSdlHost::~CSdlHost() {
    if (m_window)
        m_sdl->DestroyWindow(m_window);
    if (m_sdlStarted)
        m_sdl->Quit();
}

namespace {
bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}
} // namespace

bool CSdlHost::IsInvisibleDriver(std::string_view driver) {
    return SameName(driver, "offscreen") || SameName(driver, "dummy");
}

bool CSdlHost::AcceptsDriver(std::string_view driver, std::string_view requested) {
    if (driver.empty())
        return false;
    if (!IsInvisibleDriver(driver))
        return true;
    // Asked for by name: a test or CI runs without a display on purpose.
    while (!requested.empty()) {
        const size_t comma = requested.find(',');
        if (SameName(requested.substr(0, comma), driver))
            return true;
        requested = comma == std::string_view::npos ? std::string_view() : requested.substr(comma + 1);
    }
    return false;
}

void CSdlHost::OpenOnFirstUse(const char* title, int width, int height) {
    m_title = title ? title : "";
    m_openWidth = width;
    m_openHeight = height;
    if (m_beforeOpen)
        return;
    m_beforeOpen = std::make_shared<CBeforeOpen>();
    PreloadSdl();
    // The state outlives a host gone before the load ends.
    WhenSdlLoadEnds([state = m_beforeOpen] {
        {
            std::lock_guard lock(state->mutex);
            state->loaded = true;
        }
        state->changed.notify_all();
    });
}

bool CSdlHost::SdlLoadEnded() const {
    if (!m_beforeOpen)
        return true; // Open was asked for by name: it waits for the load itself
    std::lock_guard lock(m_beforeOpen->mutex);
    return m_beforeOpen->loaded;
}

void CSdlHost::WaitBeforeOpen(int timeoutMs) {
    CBeforeOpen& state = *m_beforeOpen;
    std::unique_lock lock(state.mutex);
    auto ready = [&state] { return state.loaded || state.woken; };
    if (timeoutMs < 0)
        state.changed.wait(lock, ready);
    else
        state.changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    state.woken = false;
}

bool CSdlHost::EnsureOpen() {
    if (m_opened)
        return *m_opened;
    if (Open(m_title.c_str(), m_openWidth, m_openHeight))
        return true;
    if (m_loop)
        m_loop->Quit(2);
    return false;
}

bool CSdlHost::Open(const char* title, int width, int height) {
    if (m_opened)
        return *m_opened;
    m_opened = OpenWindow(title, width, height);
    return *m_opened;
}

bool CSdlHost::OpenWindow(const char* title, int width, int height) {
    m_sdl = LoadSdl(&m_error);
    if (!m_sdl)
        return false;
    const CSdlApi& sdl = *m_sdl;
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const bool haveX = display && *display;
    // Left to itself, SDL tries every driver in turn; past a dead X display
    // the Wayland library complains on stderr of its own accord before SDL
    // settles on an invisible driver that is refused anyway. So only the
    // sessions that are set are tried, and the refusal is said once, here.
    if (!(requested && *requested) && (haveX || (wayland && *wayland))) {
        const std::string drivers = haveX && wayland && *wayland ? "x11,wayland" : haveX ? "x11" : "wayland";
        sdl.SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    }
    if (sdl.Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        m_error = haveX ? std::string("the display '") + display + "' cannot be opened"
                        : std::string("no display available for the desktop window: ") + sdl.GetError();
        return false;
    }
    m_sdlStarted = true;
    const char* driver = sdl.GetCurrentVideoDriver();
    if (!AcceptsDriver(driver ? driver : "", requested ? requested : "")) {
        std::string name = driver ? driver : "none";
        m_error = haveX ? std::string("the display '") + display + "' cannot be opened"
                        : std::string("no display is set (DISPLAY)");
        m_error += "; SDL would fall back to its '" + name +
                   "' video driver and run the window where nobody sees it"
                   " (set SDL_VIDEODRIVER=" + name + " to run so on purpose)";
        return false;
    }
    // Otherwise SDL may back the window surface with an OpenGL texture,
    // loading the GL stack the software copy is there to avoid. Wayland
    // has no surface of its own to copy into and keeps SDL's texture.
    if (!SameName(driver, "wayland"))
        sdl.SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const std::uint32_t wakeEvent = sdl.RegisterEvents(1);
    m_window = sdl.CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, SDL_WINDOW_SHOWN);
    if (!m_window) {
        m_error = std::string("cannot open the desktop window: ") + sdl.GetError();
        return false;
    }
    if (!sdl.GetWindowSurface(m_window)) {
        m_error = std::string("cannot draw into the desktop window: ") + sdl.GetError();
        return false;
    }
    m_screenWidth = width;
    m_screenHeight = height;
    sdl.StartTextInput();
    // Last: from here other threads' wakes push events.
    m_wakeEvent.store(wakeEvent, std::memory_order_release);
    return true;
}

void CSdlHost::Present(const CSurface& screen) {
    if (!m_opened && !SdlLoadEnded()) {
        m_pendingScreen = &screen; // shown as the window opens
        return;
    }
    if (!EnsureOpen() || !m_window || screen.Width() <= 0 || screen.Height() <= 0)
        return;
    const CSdlApi& sdl = *m_sdl;
    if (m_screenWidth != screen.Width() || m_screenHeight != screen.Height()) {
        // The window follows the screen mode (portrait or landscape).
        m_screenWidth = screen.Width();
        m_screenHeight = screen.Height();
        sdl.SetWindowSize(m_window, m_screenWidth, m_screenHeight);
    }
    // Valid until the window's size changes; SDL makes a new one then.
    SDL_Surface* target = sdl.GetWindowSurface(m_window);
    if (!target)
        return;
    // COLORREF 0x00BBGGRR is SDL's packed XBGR8888; the blit converts it to
    // the window's format and clips it while a resize is under way.
    SDL_Surface* source = sdl.CreateRGBSurfaceWithFormatFrom(
        const_cast<COLORREF*>(screen.Row(0)), screen.Width(), screen.Height(), 32,
        screen.Width() * static_cast<int>(sizeof(COLORREF)), SDL_PIXELFORMAT_XBGR8888);
    if (!source)
        return;
    sdl.UpperBlit(source, nullptr, target, nullptr);
    sdl.FreeSurface(source);
    sdl.UpdateWindowSurface(m_window);
}

void CSdlHost::WaitForEvents(int timeoutMs) {
    // Opened here once SDL2 has loaded: back to the loop without waiting,
    // since a wake that came while the window opened pushed no event.
    if (!m_opened) {
        if (!SdlLoadEnded()) {
            WaitBeforeOpen(timeoutMs);
            if (!SdlLoadEnded())
                return;
        }
        if (EnsureOpen() && m_pendingScreen) { // a failure quits the loop
            const CSurface* screen = m_pendingScreen;
            m_pendingScreen = nullptr;
            Present(*screen);
        }
        return;
    }
    if (!*m_opened)
        return;
    const CSdlApi& sdl = *m_sdl;
    SDL_Event event;
    int got = timeoutMs < 0 ? sdl.WaitEvent(&event) : sdl.WaitEventTimeout(&event, timeoutMs);
    if (!got)
        return;
    Handle(event);
    while (sdl.PollEvent(&event))
        Handle(event);
}

void CSdlHost::Wake() {
    const std::uint32_t wakeEvent = m_wakeEvent.load(std::memory_order_acquire);
    if (!wakeEvent || wakeEvent == static_cast<std::uint32_t>(-1)) {
        // Not open yet: the loop may wait for SDL2's load, or look at its
        // queue before it first waits on the window.
        if (m_beforeOpen) {
            {
                std::lock_guard lock(m_beforeOpen->mutex);
                m_beforeOpen->woken = true;
            }
            m_beforeOpen->changed.notify_all();
        }
        return;
    }
    SDL_Event event{};
    event.type = wakeEvent;
    m_sdl->PushEvent(&event);
}

namespace {

HostKey KeyOf(SDL_Keycode sym) {
    switch (sym) {
    case SDLK_BACKSPACE: return HostKey::Backspace;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return HostKey::Return;
    case SDLK_ESCAPE: return HostKey::Escape;
    case SDLK_LEFT: return HostKey::Left;
    case SDLK_RIGHT: return HostKey::Right;
    case SDLK_UP: return HostKey::Up;
    case SDLK_DOWN: return HostKey::Down;
    case SDLK_DELETE: return HostKey::Delete;
    case SDLK_PLUS:
    case SDLK_EQUALS: // "+" without Shift on most layouts
    case SDLK_KP_PLUS: return HostKey::Plus;
    case SDLK_MINUS:
    case SDLK_KP_MINUS: return HostKey::Minus;
    default: return HostKey::Other;
    }
}

CHostEvent HostEventOf(const CSdlApi& sdl, const SDL_Event& event) {
    CHostEvent e;
    switch (event.type) {
    case SDL_QUIT:
        e.kind = CHostEvent::Kind::Quit;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        e.kind = event.type == SDL_MOUSEBUTTONDOWN ? CHostEvent::Kind::ButtonDown : CHostEvent::Kind::ButtonUp;
        e.leftButton = event.button.button == SDL_BUTTON_LEFT;
        e.at = {event.button.x, event.button.y};
        break;
    case SDL_MOUSEMOTION:
        e.kind = CHostEvent::Kind::Motion;
        e.at = {event.motion.x, event.motion.y};
        break;
    case SDL_MOUSEWHEEL:
        e.kind = CHostEvent::Kind::Wheel;
        e.wheel = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        break;
    case SDL_TEXTINPUT:
        e.kind = CHostEvent::Kind::Text;
        e.text = event.text.text;
        e.ctrl = (sdl.GetModState() & KMOD_CTRL) != 0;
        break;
    case SDL_KEYDOWN:
        e.kind = CHostEvent::Kind::Key;
        e.key = KeyOf(event.key.keysym.sym);
        e.ctrl = (event.key.keysym.mod & KMOD_CTRL) != 0;
        break;
    case SDL_WINDOWEVENT:
        // A resized window has a new surface that holds nothing yet.
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            e.kind = CHostEvent::Kind::Exposed;
        break;
    default:
        break;
    }
    return e;
}

// The gesture goes where the touch driver sends it: the newest shown window
// registered for gestures.
void PostGesture(UiMessageLoop& loop, int code) {
    const std::vector<HWND> windows = UiGesture::RegisteredWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (UiWin* w = UiWin::FromHandle(*it); w && w->IsShownOnScreen()) {
            loop.Post(*it, WM_GESTURE_NOTIFY, static_cast<WPARAM>(code), 0);
            return;
        }
}

} // namespace

void CSdlHost::Handle(const SDL_Event& event) {
    if (!m_loop)
        return;
    for (const CLoopInput& in : m_input.Translate(HostEventOf(*m_sdl, event))) {
        switch (in.kind) {
        case CLoopInput::Kind::Quit: m_loop->Quit(0); break;
        case CLoopInput::Kind::Mouse: m_loop->InjectMouse(in.msg, in.at); break;
        case CLoopInput::Kind::Key: m_loop->InjectKey(in.value); break;
        case CLoopInput::Kind::Text: TypeUtf8(in.text.c_str()); break;
        case CLoopInput::Kind::Gesture: PostGesture(*m_loop, in.value); break;
        case CLoopInput::Kind::Invalidate: m_loop->InvalidateScreen(); break;
        }
    }
}

void CSdlHost::TypeUtf8(const char* text) {
    if (!text || !*text)
        return;
    char* wide = m_sdl->iconv_string("UTF-16LE", "UTF-8", text, std::strlen(text) + 1);
    if (!wide)
        return;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(wide); p[0] || p[1]; p += 2)
        m_loop->InjectChar(static_cast<char16_t>(p[0] | (p[1] << 8)));
    m_sdl->free(wide);
}
