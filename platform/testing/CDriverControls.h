// Test helpers that find the library's controls on the screen and drive
// them through the test driver like a finger: the bottom bars' buttons,
// controls by id and list rows. Every helper looks in the topmost visible
// top-level window first, then in the others from the top, and returns
// false (or an empty result) when the control is not shown.
#pragma once

#include "platform/Geometry.h"

#include <optional>
#include <string>
#include <vector>

class CTestDriver;
class UiWin;

class CDriverControls {
public:
    // Taps the centre of button index of the shown bottom bar (id 101).
    static bool PressBottomButton(CTestDriver& driver, int index);
    // The screen centre of button index of the shown bottom bar.
    static std::optional<CPoint> BottomButtonPoint(CTestDriver& driver, int index);
    // Taps the centre of the shown control with this id.
    static bool TapControl(CTestDriver& driver, int id);
    // Scrolls list row index into view and taps its centre.
    static bool TapListItem(CTestDriver& driver, int listId, int index);

    // The screen rectangle of the shown control with this id.
    static std::optional<CRect> ControlScreenRect(CTestDriver& driver, int id);
    // A list's texts and selection (−1 none); empty when no such list.
    static std::optional<std::vector<std::u16string>> ListItems(CTestDriver& driver, int listId);
    static std::optional<int> ListSelection(CTestDriver& driver, int listId);

    // GUI thread: the shown window with this id, searched as above.
    static UiWin* FindShownControl(int id);
};
