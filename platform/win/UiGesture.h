// Touch gestures of the phone's touch driver and shell: windows registered
// for multi-touch gestures receive WM_GESTURE_NOTIFY with a gesture code,
// and tap-and-hold recognition tells whether a press became a held tap.
//
// The desktop has no second finger: its host turns the mouse wheel and Ctrl
// with "+" or "-" into pinches (platform/sdl/HostInput.h), and the test
// driver sends them (CTestDriver::Pinch). Registration can be made to fail
// for a test of the window's failure path.
#pragma once

#include "platform/Geometry.h"
#include "platform/win/Message.h"

#include <vector>

enum : UINT { WM_GESTURE_NOTIFY = 0xFFF20006 }; // wParam: gesture code

// Gesture codes carried in wParam.
enum : int { GESTURE_PINCH_IN = 3, GESTURE_PINCH_OUT = 4 };

class UiGesture {
public:
    // A press that stays within this many pixels of its start (screen
    // coordinates) for kHoldMs of the program clock is a held tap.
    static constexpr int kHoldSlop = 8;
    static constexpr int kHoldMs = 600;

    // Registers the window for gestures (the touch driver's set-mode call);
    // false when the window is gone or registration was made to fail.
    static bool RegisterGestures(HWND window);
    // Releases the registration (the set-param call); harmless when none.
    static void ReleaseGestures(HWND window);
    static bool IsRegistered(HWND window);
    // Registered windows that still exist, oldest first.
    static std::vector<HWND> RegisteredWindows();
    // Test seam: while set, RegisterGestures fails.
    static void SetRegistrationFails(bool fails);

    // Called on the GUI thread while handling WM_LBUTTONDOWN: waits in a
    // nested loop until the finger lifts or moves away (false) or it has
    // stayed for kHoldMs of the program clock (true). False without a loop
    // or when no press is in progress.
    static bool RecognizeHold();
};
