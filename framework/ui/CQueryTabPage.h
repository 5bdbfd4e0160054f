// One page of a tabbed query window: a scrolling page of label/value rows
// and the caption its tab shows.
#pragma once

#include "core/CWString.h"
#include "platform/ui/UiScrollWin.h"
#include "platform/ui/UiStatic.h"

#include <memory>
#include <vector>

class CQueryTabPage : public UiScrollWin {
public:
    static constexpr int kRowHeight = 50;  // pixels
    static constexpr int kLabelWidth = 180; // pixels

    CQueryTabPage();
    ~CQueryTabPage() override;
    const char* GetClassName() const override { return "CQueryTabPage"; }

    // Starts a row with the text followed by ":".
    void AddLabel(std::u16string_view text);
    // Fills the value of the last row (a row of its own when none is open).
    void AddValue(std::u16string_view text);
    void SetCaption(std::u16string_view text) { m_caption.Assign(text); }
    const CWString& GetCaption() const { return m_caption; }
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    std::u16string GetLabel(int row) const;
    std::u16string GetValue(int row) const;
    // Places the rows for the page's width.
    void LayoutRows();

private:
    struct Row {
        std::unique_ptr<UiStatic> label;
        std::unique_ptr<UiStatic> value;
    };
    UiStatic* MakeStatic(std::u16string_view text);
    CWString m_caption;
    std::vector<Row> m_rows;
};
