// What the desktop host's input means to the loop, apart from SDL: the
// host reduces each SDL event to a CHostEvent and CHostInput translates it
// into loop input, so the rules are tested without a window.
//
// The mouse is the finger: the left button presses, moves while pressed
// and releases. The keys the phone had arrive as key presses (the arrow
// keys and Enter move and toggle a chart's cursor). The phone's pinch has
// no second finger here: a wheel notch away from the user, or Ctrl with
// "+" (or "="), is one pinch that widens a K-line's bars; towards the user,
// or Ctrl with "-", one that narrows them. The touch driver reports a pinch
// as a run of gestures and a chart takes a step per three, so one notch
// gives three.
#pragma once

#include "platform/Geometry.h"
#include "platform/win/Message.h"

#include <string>
#include <vector>

enum class HostKey { Other, Backspace, Return, Escape, Left, Right, Up, Down, Delete, Plus, Minus };

struct CHostEvent {
    enum class Kind { Other, Quit, ButtonDown, ButtonUp, Motion, Text, Key, Wheel, Exposed };
    Kind kind = Kind::Other;
    CPoint at;               // pointer position (buttons, motion)
    bool leftButton = false; // the button of ButtonDown / ButtonUp
    HostKey key = HostKey::Other;
    bool ctrl = false;       // Ctrl was held (Key, Text)
    int wheel = 0;           // notches, positive away from the user
    std::string text;        // Text: UTF-8
};

struct CLoopInput {
    enum class Kind { Quit, Mouse, Key, Text, Gesture, Invalidate };
    Kind kind = Kind::Quit;
    UINT msg = 0;      // Mouse: WM_LBUTTONDOWN, WM_MOUSEMOVE or WM_LBUTTONUP
    CPoint at;         // Mouse: screen position
    int value = 0;     // Key: the VK_ code; Gesture: the gesture code
    std::string text;  // Text: UTF-8
    friend bool operator==(const CLoopInput&, const CLoopInput&) = default;
};

class CHostInput {
public:
    // Gestures of one pinch (the chart's step).
    static constexpr int kGesturesPerPinch = 3;

    std::vector<CLoopInput> Translate(const CHostEvent& event);
    bool IsFingerDown() const { return m_fingerDown; }

private:
    std::vector<CLoopInput> Pinch(int code, int count) const;

    bool m_fingerDown = false;
};
