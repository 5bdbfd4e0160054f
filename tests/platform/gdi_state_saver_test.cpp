// The drawing-state saver: whatever a drawing routine selects stays inside
// it, however the routine returns and however deeply savers nest.
#include "platform/gdi/CDC.h"

#include <gtest/gtest.h>

namespace {
const CPen kRoutinePen{PS_DASH, 2, 0x0000FF};
const CFont kRoutineFont{30, 700};
constexpr COLORREF kRoutineText = 0x00FF00;

// A paint routine that changes everything, may leave early, and calls a
// helper with a saver of its own.
void PaintBadge(CDC& dc, bool leaveEarly) {
    const CDCStateSaver saved(dc);
    dc.SelectPen(kRoutinePen);
    dc.SelectBrush(CBrush::Null());
    dc.SelectFont(kRoutineFont);
    dc.SetTextColor(kRoutineText);
    dc.SetBkColor(0x123456);
    dc.SetBkMode(TRANSPARENT);
    if (leaveEarly)
        return;
    {
        const CDCStateSaver inner(dc);
        dc.SelectPen({PS_SOLID, 1, 0xFFFFFF});
        dc.SelectFont({12, 400});
        dc.SetTextColor(0x000000);
        dc.SetBkMode(OPAQUE);
    }
    // The inner saver gives back this routine's choices, not the caller's.
    EXPECT_EQ(dc.GetPen(), kRoutinePen);
    EXPECT_EQ(dc.GetFont(), kRoutineFont);
    EXPECT_EQ(dc.GetTextColor(), kRoutineText);
    EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
}
} // namespace

TEST(GdiStateSaver, NestedSaversAndEarlyReturnsLeaveTheCallersSelectionsInPlace) {
    CSurface surface(20, 20, 0xFFFFFF);
    CDC dc(&surface);
    const CPen pen{PS_SOLID, 1, 0x010203};
    const CBrush brush = CBrush::Solid(0x040506);
    const CFont font{18, 400};
    // Each setter gives back what it replaces, here the DC's defaults.
    EXPECT_EQ(dc.SelectPen(pen), CPen{});
    EXPECT_EQ(dc.SelectBrush(brush), CBrush{});
    EXPECT_EQ(dc.SelectFont(font), CFont{});
    EXPECT_EQ(dc.SetTextColor(0x070809), 0u);
    EXPECT_EQ(dc.SetBkColor(0x0A0B0C), 0xFFFFFFu);
    EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
    EXPECT_EQ(dc.SetBkMode(OPAQUE), TRANSPARENT);
    for (bool leaveEarly : {true, false}) {
        PaintBadge(dc, leaveEarly);
        EXPECT_EQ(dc.GetPen(), pen) << leaveEarly;
        EXPECT_EQ(dc.GetBrush(), brush) << leaveEarly;
        EXPECT_EQ(dc.GetFont(), font) << leaveEarly;
        EXPECT_EQ(dc.GetTextColor(), 0x070809u) << leaveEarly;
        EXPECT_EQ(dc.GetBkColor(), 0x0A0B0Cu) << leaveEarly;
        EXPECT_EQ(dc.GetBkMode(), OPAQUE) << leaveEarly;
    }
    // What is drawn after the routine uses the restored pen.
    dc.MoveTo(0, 5);
    dc.LineTo(10, 5);
    EXPECT_EQ(surface.GetPixel(3, 5), 0x010203u);
}
