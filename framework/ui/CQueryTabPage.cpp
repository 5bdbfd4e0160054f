// Label/value rows of a tab page.
#include "framework/ui/CQueryTabPage.h"

CQueryTabPage::CQueryTabPage() = default;

CQueryTabPage::~CQueryTabPage() {
    Destroy();
}

UiStatic* CQueryTabPage::MakeStatic(std::u16string_view text) {
    auto* label = new UiStatic();
    label->SetText(text);
    if (IsCreated())
        label->Create(this, {}, 0, true);
    return label;
}

void CQueryTabPage::AddLabel(std::u16string_view text) {
    Row row;
    std::u16string withColon(text);
    withColon += u":";
    row.label.reset(MakeStatic(withColon));
    m_rows.push_back(std::move(row));
    LayoutRows();
}

void CQueryTabPage::AddValue(std::u16string_view text) {
    if (m_rows.empty() || m_rows.back().value)
        m_rows.emplace_back();
    m_rows.back().value.reset(MakeStatic(text));
    LayoutRows();
}

std::u16string CQueryTabPage::GetLabel(int row) const {
    if (row < 0 || row >= GetRowCount() || !m_rows[row].label)
        return {};
    return m_rows[row].label->GetText();
}

std::u16string CQueryTabPage::GetValue(int row) const {
    if (row < 0 || row >= GetRowCount() || !m_rows[row].value)
        return {};
    return m_rows[row].value->GetText();
}

void CQueryTabPage::LayoutRows() {
    if (!IsCreated())
        return;
    const int width = GetClientRect().Width();
    const int scroll = GetScrollPos();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const int top = static_cast<int>(i) * kRowHeight - scroll;
        for (int part = 0; part < 2; ++part) {
            UiStatic* s = part == 0 ? m_rows[i].label.get() : m_rows[i].value.get();
            if (!s)
                continue;
            if (!s->IsCreated())
                s->Create(this, {}, 0, true);
            const CRect r = part == 0 ? CRect{10, top, 10 + kLabelWidth, top + kRowHeight}
                                      : CRect{20 + kLabelWidth, top, width - 10, top + kRowHeight};
            s->MoveWindow(r);
        }
    }
    SetContentHeight(static_cast<int>(m_rows.size()) * kRowHeight);
}
