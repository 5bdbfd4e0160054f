// What the K-line view asks of the window that hosts it. The K-line frame
// implements it; the view knows only this, so view and frame do not include
// each other. Every call comes on the UI thread, from a view the host owns.
#pragma once

#include "platform/Geometry.h"

#include <string>

class IKXChartHost {
public:
    // Where swipes count, in chart coordinates (the information strip):
    // elsewhere a drag scrolls the bars.
    virtual void SetSwipeArea(const CRect& chartRect) = 0;
    // The period of the bars on screen.
    virtual int GetShownPeriod() const = 0;
    // A page of older bars, when the host is idle and paging has not run out.
    virtual void RequestOlder() = 0;
    // Another indicator (ignored when empty), loaded now or after the request out.
    virtual void SetTechName(const char* name) = 0;
    // Opens the minute chart of one day ("date=&code=").
    virtual void OpenDayMinuteChart(const std::string& request) = 0;

protected:
    ~IKXChartHost() = default;
};
