// A list of menu rows: a title, a text below it and an arrow at the right,
// all rows one fixed height. Each row may carry the screen's record; the
// row owns it and frees it with the row's deleter exactly once when the row
// leaves the list (RemoveItem, RemoveAll, or the list's destruction).
//
// A tap on a row (the list at rest, the finger still) selects it and, with
// notifications on, posts WM_COMMAND MakeWParam(id, MENULIST_CHOSEN) with
// lParam = the row index to the parent.
#pragma once

#include "core/CWString.h"
#include "platform/ui/UiList.h"

#include <memory>

enum : int { MENULIST_CHOSEN = 2 }; // WM_COMMAND code; lParam: row index

class CMenuListCtrl : public UiList {
public:
    using Deleter = void (*)(void*);

    CMenuListCtrl();
    ~CMenuListCtrl() override;
    const char* GetClassName() const override { return "CMenuListCtrl"; }

    // Appends a row holding data, which deleter frees (a null deleter: the
    // row only refers to data). Returns the new index.
    int AddRow(const CWString& title, const CWString& text, void* data = nullptr, Deleter deleter = nullptr);
    // Appends a row owning the record, deleted with delete.
    template <class T>
    int AddRow(const CWString& title, const CWString& text, std::unique_ptr<T> record) {
        return AddRow(title, text, record.release(), [](void* p) { delete static_cast<T*>(p); });
    }

    // null or empty out of range.
    void* GetRowData(int index) const;
    CWString GetRowTitle(int index) const;
    CWString GetRowText(int index) const;

    void DrawItem(CDC& dc, int index, const CRect& rect, bool selected) override;
    void OnRemoveItem(int index, std::uintptr_t data) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;

    // The arrow at the right of a row, drawn with lines (rect: the row).
    static void DrawArrow(CDC& dc, const CRect& row, std::uint32_t color);

private:
    struct Row;
};
