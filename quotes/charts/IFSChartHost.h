// What the minute chart view asks of the window that hosts it. The minute
// frame implements it; the view knows only this, so view and frame do not
// include each other. Every call comes on the UI thread, from a view the
// host owns.
#pragma once

#include "platform/Geometry.h"

#include <string_view>

class CFSData;

class IFSChartHost {
public:
    // The minute data the view draws (the host's, not owned; may be null).
    virtual CFSData* GetData() const = 0;
    // True when the process-wide switch asks for the market index overlay.
    virtual bool IsOverlayWanted() const = 0;
    // Where swipes count, in chart coordinates: elsewhere a finger moves
    // the cursor.
    virtual void SetSwipeArea(const CRect& chartRect) = 0;
    // Paints the view now (after a cursor move, a touch or a page turn).
    virtual void RepaintView() = 0;
    // A quote level at (x, y) of the panel was pressed and held: the host
    // offers an order at the view's pressed price, after the touch ends.
    virtual void OnLevelHeld(int x, int y) = 0;
    // The information page of a mark's ids, opened after the touch ends;
    // nothing for empty ids.
    virtual void PostInfoMine(std::string_view ids) = 0;

protected:
    ~IFSChartHost() = default;
};
