// The desktop host: the window opens, the screen is presented, the mouse
// and typed text reach the program and closing the window quits it; a
// display that cannot be opened is refused rather than run invisibly. On a
// display when there is one (tools/test.sh gives CI a virtual one), else on
// SDL's dummy driver, asked for by name as the host requires.
//
// Each run happens in a child process (a death-test style exit check):
// SDL and the display libraries keep process-wide state and allocations
// of their own that must not reach the other tests or the leak checker.
#include <gtest/gtest.h>

#if defined(ORB_HAVE_SDL_HOST)

#include "platform/gdi/CSurface.h"
#include "platform/sdl/CSdlHost.h"
#include "platform/sdl/RunDesktop.h"
#include "platform/win/UiMessageLoop.h"
#include "win_RecordingWin.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace {

// In the child: without a display, the dummy driver, asked for by name.
void UseDisplayOrAskForDummyDriver() {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("SDL_VIDEODRIVER"))
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
}

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
        // The window opens after the start, once SDL2 has loaded, the loop
        // running meanwhile: the input comes once it is open.
        form.onMessage = [&form](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (msg != WM_TIMER || !SDL_WasInit(SDL_INIT_VIDEO))
                return std::nullopt;
            form.KillTimer(1);
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
            return 0;
        };
        form.SetTimer(1, 5);
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
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            UseDisplayOrAskForDummyDriver();
            std::_Exit(DesktopScenario());
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(SdlDesktopTest, AFailedStartEndsTheRunWithCodeOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            UseDisplayOrAskForDummyDriver();
            std::_Exit(RunDesktop([] { return false; }));
        },
        ::testing::ExitedWithCode(1), "");
}

TEST(SdlDesktopTest, ADisplayNobodyAnswersIsRefusedWithAMessageNotRunInvisibly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // An opened window would end with 1 (the start fails at once), never
    // hang: only a refusal ends with 2.
    EXPECT_EXIT(
        {
            ::setenv("DISPLAY", "unix:99999", 1); // by its socket: no TCP port to fall back to
            ::unsetenv("WAYLAND_DISPLAY");
            ::unsetenv("SDL_VIDEODRIVER");
            std::_Exit(RunDesktop([] { return false; }));
        },
        ::testing::ExitedWithCode(2), "OrbStock: .*display");
    // The program starts before the window opens: a start that went well is
    // refused all the same, and its loop never runs.
    EXPECT_EXIT(
        {
            ::setenv("DISPLAY", "unix:99999", 1); // by its socket: no TCP port to fall back to
            ::unsetenv("WAYLAND_DISPLAY");
            ::unsetenv("SDL_VIDEODRIVER");
            std::_Exit(RunDesktop([] { return true; }));
        },
        ::testing::ExitedWithCode(2), "OrbStock: .*display");
}

TEST(SdlDesktopTest, AnInvisibleVideoDriverIsTakenOnlyWhenAskedForByName) {
    EXPECT_TRUE(CSdlHost::AcceptsDriver("x11", ""));
    EXPECT_FALSE(CSdlHost::AcceptsDriver("offscreen", ""));
    EXPECT_FALSE(CSdlHost::AcceptsDriver("dummy", "x11"));
    EXPECT_TRUE(CSdlHost::AcceptsDriver("dummy", "DUMMY"));
    EXPECT_TRUE(CSdlHost::AcceptsDriver("offscreen", "x11,offscreen"));
    // Another invisible driver, or a name that only begins alike, does not ask for it.
    EXPECT_FALSE(CSdlHost::AcceptsDriver("offscreen", "dummy"));
    EXPECT_FALSE(CSdlHost::AcceptsDriver("offscreen", "offscreens"));
}

#else

TEST(SdlDesktopTest, TheWindowShowsTheScreenAndTakesTheFingerAndTypedText) {
    GTEST_SKIP() << "the tests are built without the desktop host";
}

#endif
