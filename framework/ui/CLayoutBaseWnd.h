// The form window base: rows of a label and a field on the client page,
// 80 pixels apart, with the toolbar "首页" / action / "返回" below. Forms
// carry account data, so their requests are sealed.
#pragma once

#include "core/CArrayT.h"
#include "core/CChoiceItem.h"
#include "framework/ui/CNetWnd.h"

#include <vector>

class CLayoutBaseWnd : public CNetWnd {
public:
    static constexpr int kLeftMargin = 20;   // pixels
    static constexpr int kTopOffset = 20;    // pixels
    static constexpr int kRowHeight = 80;    // pixels
    static constexpr int kLabelWidth = 120;  // pixels
    static constexpr int kFieldOffset = 140; // pixels from the left margin
    static constexpr int kRowBoxHeight = 70; // pixels

    CLayoutBaseWnd();
    ~CLayoutBaseWnd() override;
    const char* GetClassName() const override { return "CLayoutBaseWnd"; }

    // The toolbar's middle text (before OnInitDialog; "确定" by default).
    void SetMiddleText(std::u16string_view text) { m_middleText = text; }
    // Where the first row starts below the page top (before OnInitDialog;
    // kTopOffset by default).
    void SetTopOffset(int pixels) { m_topOffset = pixels; }
    int GetTopOffset() const { return m_topOffset; }

    // Enables or disables the three toolbar buttons and redraws the bar.
    void EnableToolbar(bool on);
    // The label (column 0) or field (column 1) rectangle of a row, in
    // client-page coordinates: top = offset + row × 80 − 5, height 70.
    CRect GetRowRect(int column, int row) const;
    // Three columns: the label, a middle column (from the field's left)
    // half the width inside the margins, and a third from there + 20 to
    // 20 pixels short of the right margin.
    CRect GetRowRect3(int column, int row) const;
    // An item with the display text, a copy of the value and the check mark.
    static void AddComboItem(std::u16string_view text, const char* value, bool selected, CChoiceItem& out);
    // A copy of the items; *count (may be null) gets their number.
    static std::vector<CChoiceItem> CopyItemArray(const CArrayT<CChoiceItem>& items, int* count);
    // The value of the item at index; null when absent.
    static const char* GetItemData(const CArrayT<CChoiceItem>& items, int index);

    // ---- Virtual operations ----
    int OnInitDialog() override;
    // Builds the form's controls; nothing here.
    virtual void BuildForm() {}
    // The middle button; nothing here.
    virtual void OnOk() {}
    // The rectangle the form's rows lie in (client coordinates).
    virtual CRect GetFormRect() const;
    // 0 closes with code 0, 1 is OnOk, 2 closes with code 1.
    void OnToolbarCommand(int index) override;
    void OnPaint(CDC& dc) override;

private:
    std::u16string m_middleText = u"确定";
    int m_topOffset = kTopOffset;
};
