// The text page's view and toolbar.
#include "framework/ui/CTextWnd.h"

#include "platform/gdi/CDC.h"

CTextWnd::CTextWnd() = default;

CTextWnd::~CTextWnd() {
    Destroy();
}

int CTextWnd::OnInitDialog() {
    if (!CNetWnd::OnInitDialog())
        return 0;
    UseTextToolbar(u"首页", u"刷新", u"返回");
    CClientArea* page = GetClientArea();
    if (!page)
        return 0;
    m_text.SetSingleLine(false);
    m_text.SetText(kWaitText);
    if (!m_text.Create(page, {}, kTextId, true))
        return 0;
    LayoutContent();
    return 1;
}

void CTextWnd::SetText(std::u16string_view text) {
    m_text.SetText(text);
    LayoutContent();
}

void CTextWnd::LayoutContent() {
    CClientArea* page = GetClientArea();
    if (!page || !m_text.IsCreated())
        return;
    page->MoveWindow(GetBodyRect());
    const int width = page->GetClientRect().Width() - 20;
    // The wrapped text's height decides how far the page scrolls.
    std::unique_ptr<CDC> measure = CDC::CreateMemoryDC(1, 1);
    measure->SelectFont(CFont{m_text.GetFontSize(), 400});
    const CRect need = measure->CalcTextRect(m_text.GetText(), {0, 0, width, 100000}, DT_WORDBREAK);
    const int height = std::max(need.Height() + 20, page->GetClientRect().Height());
    page->SetScrollPos(0);
    m_text.MoveWindow(CRect::FromSize(10, 10, width, height));
    page->SetContentHeight(height + 20);
}

void CTextWnd::OnLayout() {
    CNetWnd::OnLayout();
    LayoutContent();
}

void CTextWnd::OnToolbarCommand(int index) {
    if (!HandleHomeOrBack(index) && index == kToolbarMiddle)
        Refresh();
}
