// The desktop host on a real display: the window opens, the screen is
// presented, the mouse and typed text reach the program and closing the
// window quits it. Skipped where there is no display (CI has none) or
// when the tests are built without the desktop host.
//
// Each run happens in a child process (a death-test style exit check):
// SDL and the display libraries keep process-wide state and allocations
// of their own that must not reach the other tests or the leak checker.
#include <gtest/gtest.h>

#if defined(ORB_HAVE_SDL_HOST)

#include "platform/gdi/CSurface.h"
#include "platform/sdl/RunDesktop.h"
#include "platform/win/UiMessageLoop.h"
#include "win_RecordingWin.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool HasDisplay() { return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"); }

void PushMouse(Uint32 type, int x, int y) {
    SDL_Event event{};
    event.type = type;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = x;
    event.button.y = y;
    SDL_PushEvent(&event);
}

// Runs the desktop with a form and an edit, feeds it SDL events and
// returns 0 when everything arrived as it should (else prints what not).
int DesktopScenario() {
    CRecordingWin form;
    CRecordingWin edit;
    COLORREF shown = 0;
    int code = RunDesktop([&] {
        UiMessageLoop* loop = UiMessageLoop::Current();
        form.Create(nullptr, loop->GetWorkRect());
        form.SetBkColor(MakeRgb(0x26, 0x26, 0xFF));
        edit.Create(&form, {20, 20, 300, 60});
        edit.SetFocus();
        edit.onMessage = [&, loop](UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            if (msg == WM_CHAR)
                edit.SetText(edit.GetText() + static_cast<char16_t>(wParam));
            if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
                shown = loop->Screen().GetPixel(400, 400);
                SDL_Event quit{};
                quit.type = SDL_QUIT;
                SDL_PushEvent(&quit); // as closing the window does
            }
            return std::nullopt;
        };
        PushMouse(SDL_MOUSEBUTTONDOWN, 100, 236); // form (100, 200)
        PushMouse(SDL_MOUSEBUTTONUP, 100, 236);
        SDL_Event text{};
        text.type = SDL_TEXTINPUT;
        SDL_strlcpy(text.text.text, "股a", sizeof text.text.text);
        SDL_PushEvent(&text);
        SDL_Event key{};
        key.type = SDL_KEYDOWN;
        key.key.keysym.sym = SDLK_RETURN;
        SDL_PushEvent(&key);
        return true;
    });
    int failures = 0;
    auto check = [&](bool ok, const char* what) {
        if (!ok) {
            std::fprintf(stderr, "desktop check failed: %s\n", what);
            ++failures;
        }
    };
    check(code == 0, "closing the window ends the run with code 0");
    check(edit.GetText() == u"股a", "typed UTF-8 text reaches the focused edit as UTF-16");
    check(form.Count(WM_LBUTTONDOWN) == 1 && form.Last(WM_LBUTTONDOWN)->lParam == MakeLParam(100, 200),
          "the mouse press reaches the form in its client coordinates");
    check(shown == MakeRgb(0x26, 0x26, 0xFF), "the form was painted on the screen");
    edit.Destroy();
    form.Destroy();
    return failures;
}

} // namespace

TEST(SdlDesktopTest, TheWindowShowsTheScreenAndTakesTheFingerAndTypedText) {
    if (!HasDisplay())
        GTEST_SKIP() << "no display";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(DesktopScenario()), ::testing::ExitedWithCode(0), "");
}

TEST(SdlDesktopTest, AFailedStartEndsTheRunWithCodeOne) {
    if (!HasDisplay())
        GTEST_SKIP() << "no display";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(RunDesktop([] { return false; })), ::testing::ExitedWithCode(1), "");
}

#else

TEST(SdlDesktopTest, TheWindowShowsTheScreenAndTakesTheFingerAndTypedText) {
    GTEST_SKIP() << "the tests are built without the desktop host";
}

#endif
