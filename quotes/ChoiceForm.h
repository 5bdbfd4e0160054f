// What the quote screens' choice forms share: labels over single-choice
// lists on a scrolling page, the value chosen in a list, and the rounded
// box behind each list.
#pragma once

#include <functional>
#include <string>

class CCheckList;
class CClientArea;
class CDC;
class UiStatic;
struct CPoint;

// A label of the forms' look on the page; false when it was not created.
bool CreateChoiceLabel(UiStatic& label, CClientArea* page, int id, const char16_t* text);
// A single-choice list of the forms' look on the page, rows itemHeight
// pixels high; false when it was not created.
bool CreateChoiceList(CCheckList& list, CClientArea* page, int id, int itemHeight);
// The value of the list's selected item; empty when none is selected.
std::string ChosenValue(const CCheckList& list);
// The rounded box behind a created list, in the coordinates of the window
// whose screen origin is given.
void DrawChoiceListBox(CDC& dc, const CPoint& origin, const CCheckList& list);
// Runs place with the page scrolled to its top, then puts the scroll back,
// so the controls are placed in page coordinates.
void PlaceAtPageTop(CClientArea* page, const std::function<void()>& place);
