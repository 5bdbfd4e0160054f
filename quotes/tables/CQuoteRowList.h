// The scrolling list of a quote table's stock rows. Each item carries a
// CQuoteRowData record (its data word), owned by the item: the list deletes
// it when the item leaves (one removal, RemoveAll, or the list's end).
//
// A row shows the name over the code, the last price and the change in
// their mapped colours, and the change in percent in a rounded box filled
// with its colour. Taps (only at rest and with a still finger) report to
// the table window (the parent) as WM_COMMAND with the list's id:
//   - on the selected row: code kRowClicked with the row index;
//   - on another row inside the control's right-most fifth: code kRowMenu
//     with the row index, before the row becomes selected;
//   - elsewhere on another row: it only becomes selected.
#pragma once

#include "platform/gdi/Color.h"
#include "platform/ui/UiList.h"

#include <cstdint>

class CQuoteRowData;

class CQuoteRowList : public UiList {
public:
    static constexpr int kFontSize = 22;       // pixels; the code line uses 20
    static constexpr int kRowClicked = 0x000A; // the low half of WND_MSG_ROW_CLICKED
    static constexpr int kRowMenu = 4;
    static constexpr COLORREF kLineColor = 0x646464;
    static constexpr COLORREF kBoxPen = 0xA0A0A0;
    static constexpr COLORREF kBoxText = 0xE6E6E6;

    CQuoteRowList();
    ~CQuoteRowList() override;
    const char* GetClassName() const override { return "CQuoteRowList"; }

    // Appends an item with empty text holding record (taken over; null is
    // refused with −1). Returns the new index.
    int AddRow(CQuoteRowData* record);
    // The record of row index, null out of range.
    CQuoteRowData* GetRowData(int index) const;

    // The colour a cell is drawn in: for a selected row 0xFFFFFF and
    // 0x2626FF become 0x1E1EA0 and 0x17FF17 becomes 0x147814; for a row
    // not selected 0x17FF17 becomes 0x14C814; every other colour stays.
    static COLORREF MapCellColor(COLORREF color, bool selected);

    void DrawItem(CDC& dc, int index, const CRect& rect, bool selected) override;
    void OnRemoveItem(int index, std::uintptr_t data) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;
};
