// The fixed header row of a quote table: four column titles ("名称",
// "现价", "涨跌", "涨幅") in one item that never scrolls, with the sort
// arrow after the last title.
//
// Taps (at rest, finger still, notifications on) report to the table
// window (the parent) as WM_COMMAND with the list's id at the release:
//   - the last column: the direction flag is toggled and the arrow shown;
//     code 4 with the new direction flag;
//   - the first three columns, only with the all-columns flag set: code 1,
//     2 or 3 with 0.
// With the all-columns flag clear only the last column reacts. The pressed
// column is drawn over the platform's gradient bar between press and
// release; the toggle happens at the release, so a press that turns into a
// drag changes nothing.
#pragma once

#include "platform/gdi/CImage.h"
#include "platform/ui/UiList.h"

class CQuoteHeaderList : public UiList {
public:
    static constexpr int kColumnCount = 4;
    static constexpr int kFontSize = 23; // pixels
    static constexpr int kFontWeight = 600;
    static constexpr int kArrowUpImage = 137;   // drawn while the direction flag is 1
    static constexpr int kArrowDownImage = 138; // drawn while it is 0
    static constexpr COLORREF kFrameColor = 0x646464;
    static constexpr int kDirectionCode = 4;

    CQuoteHeaderList();
    ~CQuoteHeaderList() override;
    const char* GetClassName() const override { return "CQuoteHeaderList"; }

    // The direction flag (0 or 1), toggled by taps on the last column.
    int GetDirection() const { return m_direction; }
    void SetDirection(int direction);
    bool IsArrowShown() const { return m_arrowShown; }
    void SetArrowShown(bool shown);
    bool IsAllColumns() const { return m_allColumns; }
    void SetAllColumns(bool all) { m_allColumns = all; }
    bool IsPressed(int column) const;
    // The arrow image id the header draws now: 137 or 138.
    int GetArrowImageId() const { return m_direction == 1 ? kArrowUpImage : kArrowDownImage; }
    // The rectangle the arrow is drawn in, for the item rectangle r.
    CRect GetArrowRect(CDC& dc, const CRect& r) const;

    void DrawItem(CDC& dc, int index, const CRect& rect, bool selected) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;

private:
    bool m_pressed[kColumnCount] = {};
    int m_direction = 0;
    bool m_arrowShown = true;
    bool m_allColumns = false;
    CImage m_arrowUp;   // image 137
    CImage m_arrowDown; // image 138
};
