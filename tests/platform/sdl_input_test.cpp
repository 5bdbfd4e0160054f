// The desktop host's input rules: what each host event becomes for the
// loop (the mouse as the finger, keys, typed text, the wheel and Ctrl with
// "+" or "-" as the pinch).
#include <gtest/gtest.h>

#if defined(ORB_HAVE_SDL_HOST)

#include "platform/sdl/HostInput.h"
#include "platform/win/UiGesture.h"

namespace {

CHostEvent Button(CHostEvent::Kind kind, int x, int y, bool left = true) {
    CHostEvent e;
    e.kind = kind;
    e.at = {x, y};
    e.leftButton = left;
    return e;
}

CHostEvent Key(HostKey key, bool ctrl = false) {
    CHostEvent e;
    e.kind = CHostEvent::Kind::Key;
    e.key = key;
    e.ctrl = ctrl;
    return e;
}

CHostEvent Wheel(int notches) {
    CHostEvent e;
    e.kind = CHostEvent::Kind::Wheel;
    e.wheel = notches;
    return e;
}

// The gesture codes of the translation; −1 for anything else.
std::vector<int> Gestures(const std::vector<CLoopInput>& in) {
    std::vector<int> codes;
    for (const CLoopInput& i : in)
        codes.push_back(i.kind == CLoopInput::Kind::Gesture ? i.value : -1);
    return codes;
}

TEST(HostInput, TheLeftButtonIsTheFingerAndMovesCountOnlyWhileItIsDown) {
    CHostInput input;
    EXPECT_TRUE(input.Translate(Button(CHostEvent::Kind::Motion, 5, 5)).empty());
    EXPECT_TRUE(input.Translate(Button(CHostEvent::Kind::ButtonDown, 5, 5, false)).empty());
    EXPECT_TRUE(input.Translate(Button(CHostEvent::Kind::ButtonUp, 5, 5)).empty()); // no press to end
    const auto down = input.Translate(Button(CHostEvent::Kind::ButtonDown, 10, 20));
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].kind, CLoopInput::Kind::Mouse);
    EXPECT_EQ(down[0].msg, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(down[0].at, (CPoint{10, 20}));
    const auto move = input.Translate(Button(CHostEvent::Kind::Motion, 30, 20));
    ASSERT_EQ(move.size(), 1u);
    EXPECT_EQ(move[0].msg, static_cast<UINT>(WM_MOUSEMOVE));
    const auto up = input.Translate(Button(CHostEvent::Kind::ButtonUp, 30, 25));
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].msg, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_FALSE(input.IsFingerDown());
    EXPECT_TRUE(input.Translate(Button(CHostEvent::Kind::Motion, 40, 25)).empty());
}

TEST(HostInput, ThePhonesKeysArriveAsKeyPressesForTheChartsCursor) {
    CHostInput input;
    const std::pair<HostKey, int> keys[] = {{HostKey::Left, VK_LEFT},     {HostKey::Right, VK_RIGHT},
                                            {HostKey::Up, VK_UP},         {HostKey::Down, VK_DOWN},
                                            {HostKey::Return, VK_RETURN}, {HostKey::Backspace, VK_BACK},
                                            {HostKey::Escape, VK_ESCAPE}, {HostKey::Delete, VK_DELETE}};
    for (const auto& [key, vk] : keys) {
        const auto in = input.Translate(Key(key));
        ASSERT_EQ(in.size(), 1u);
        EXPECT_EQ(in[0].kind, CLoopInput::Kind::Key);
        EXPECT_EQ(in[0].value, vk);
    }
    EXPECT_TRUE(input.Translate(Key(HostKey::Other)).empty());
    // "+" and "-" without Ctrl are typing, which comes as text.
    EXPECT_TRUE(input.Translate(Key(HostKey::Plus)).empty());
    CHostEvent text;
    text.kind = CHostEvent::Kind::Text;
    text.text = "+";
    const auto typed = input.Translate(text);
    ASSERT_EQ(typed.size(), 1u);
    EXPECT_EQ(typed[0].kind, CLoopInput::Kind::Text);
    EXPECT_EQ(typed[0].text, "+");
    text.ctrl = true; // the text a Ctrl zoom may bring along is no typing
    EXPECT_TRUE(input.Translate(text).empty());
}

TEST(HostInput, TheWheelAndCtrlPlusOrMinusArePinchesOfThreeGesturesEach) {
    CHostInput input;
    const int in = GESTURE_PINCH_IN;
    const int out = GESTURE_PINCH_OUT;
    EXPECT_EQ(Gestures(input.Translate(Wheel(1))), (std::vector<int>{in, in, in}));
    EXPECT_EQ(Gestures(input.Translate(Wheel(-1))), (std::vector<int>{out, out, out}));
    EXPECT_EQ(Gestures(input.Translate(Wheel(-2))), std::vector<int>(6, out));
    EXPECT_EQ(Gestures(input.Translate(Wheel(40))).size(), 12u); // a hard spin: a few steps, no flood
    EXPECT_TRUE(input.Translate(Wheel(0)).empty());
    EXPECT_EQ(Gestures(input.Translate(Key(HostKey::Plus, true))), (std::vector<int>{in, in, in}));
    EXPECT_EQ(Gestures(input.Translate(Key(HostKey::Minus, true))), (std::vector<int>{out, out, out}));
}

TEST(HostInput, QuitAndExposureReachTheLoopAndOtherEventsNothing) {
    CHostInput input;
    CHostEvent e;
    e.kind = CHostEvent::Kind::Quit;
    const auto quit = input.Translate(e);
    ASSERT_EQ(quit.size(), 1u);
    EXPECT_EQ(quit[0].kind, CLoopInput::Kind::Quit);
    e.kind = CHostEvent::Kind::Exposed;
    const auto exposed = input.Translate(e);
    ASSERT_EQ(exposed.size(), 1u);
    EXPECT_EQ(exposed[0].kind, CLoopInput::Kind::Invalidate);
    e.kind = CHostEvent::Kind::Other;
    EXPECT_TRUE(input.Translate(e).empty());
}

} // namespace

#endif
