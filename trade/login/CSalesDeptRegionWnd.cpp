// The region page: the kept list, its flow of texts, and a province's tap.
#include "trade/login/CSalesDeptRegionWnd.h"

#include "core/CDataSetList.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/CClientArea.h"
#include "framework/ui/WndMessages.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CUiMessageBox.h"
#include "platform/ui/UiDefs.h"
#include "trade/login/CSalesDeptInfoWnd.h"

#include <algorithm>

CSalesDeptRegionWnd::CSalesDeptRegionWnd() {
    SetWindowKind(kWindowKind);
    SetSealRequest(false);
}

CSalesDeptRegionWnd::~CSalesDeptRegionWnd() {
    m_texts.clear();
    Destroy();
}

const CTextCtrl* CSalesDeptRegionWnd::GetText(int index) const {
    return index >= 0 && index < static_cast<int>(m_texts.size()) ? m_texts[static_cast<size_t>(index)].get()
                                                                   : nullptr;
}

int CSalesDeptRegionWnd::OnInitDialog() {
    if (!CNetWnd::OnInitDialog())
        return 0;
    UseTextToolbar(u"首页", u"个股", u"返回");
    return 1;
}

void CSalesDeptRegionWnd::OnToolbarCommand(int index) {
    if (!HandleHomeOrBack(index) && index == kToolbarMiddle)
        OpenStockSearch();
}

int CSalesDeptRegionWnd::BuildRequest(CAString& out) {
    if (m_set)
        return 0;
    return CNetWnd::BuildRequest(out);
}

void CSalesDeptRegionWnd::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    if (m_set || !data || length <= 0)
        return;
    CDataSetList reply(data, length);
    if (!FirstReplySet(reply))
        return;
    m_set = reply.Detach(0);
    m_rows = ReadRegionRows(*m_set);
    BuildTexts();
    Invalidate();
    UpdateWindow();
}

void CSalesDeptRegionWnd::BuildTexts() {
    CClientArea* page = GetClientArea();
    if (!page)
        return;
    std::unique_ptr<CDC> measureDc = CDC::CreateMemoryDC(1, 1);
    measureDc->SelectFont(CFont{kFontSize, 400});
    const TextMeasure measure = [&measureDc](std::u16string_view text) {
        const CRect r = measureDc->CalcTextRect(text, {0, 0, 100000, 1000}, DT_SINGLELINE);
        return CSize{r.Width(), r.Height()};
    };
    const int rightLimit = GetWndManager().GetWorkRect().right - 80;
    m_labels = LayoutRegions(m_rows, rightLimit, measure);
    int bottom = 0;
    for (const BranchRegionLabel& label : m_labels) {
        auto text = std::make_unique<CTextCtrl>();
        text->SetFontSize(kFontSize);
        text->SetSingleLine(true);
        text->SetText(label.text);
        if (label.header) {
            text->SetTextColor(0x000000);
        } else {
            text->SetLink(true);
        }
        // One pixel of slack keeps the measured text from an ellipsis.
        CRect r = label.rect;
        r.right += 1;
        if (!text->Create(page, r, kTextId, true))
            break;
        bottom = std::max(bottom, r.bottom);
        m_texts.push_back(std::move(text));
    }
    page->SetContentHeight(bottom + 40);
}

bool CSalesDeptRegionWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LowWord(wParam) == kTextId && HighWord(wParam) == BN_CLICKED) {
        PickText(UiWin::FromHandle(reinterpret_cast<HWND>(lParam)));
        return true;
    }
    return CNetWnd::OnCommand(wParam, lParam);
}

void CSalesDeptRegionWnd::PickText(const UiWin* text) {
    if (!text) {
        UiMessageBox(this, u"System intern error: label NULL!", u"exception", MB_OK);
        return;
    }
    if (!m_set) {
        UiMessageBox(this, u"System intern error: m_pRes NULL!", u"exception", MB_OK);
        return;
    }
    for (size_t i = 0; i < m_texts.size() && i < m_labels.size(); ++i) {
        if (m_texts[i].get() != text)
            continue;
        const BranchRegionLabel& label = m_labels[i];
        if (label.header || label.row < 0 || label.row >= static_cast<int>(m_rows.size()))
            return;
        const BranchRegionRow& row = m_rows[static_cast<size_t>(label.row)];
        const std::string request = ProvinceBranchesRequest(row.provinceId);
        if (request.empty())
            return;
        m_pendingTitle = ProvinceBranchesTitle(row.province);
        m_pendingRequest = request;
        PostMessage(WND_MSG_OPEN_MENU_CHILD, kOpenInfo, 0);
        return;
    }
}

LRESULT CSalesDeptRegionWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The worker's idle note shares this message number with wParam 0.
    if (msg == WND_MSG_OPEN_MENU_CHILD && wParam == kOpenInfo) {
        OpenInfoPage();
        return 0;
    }
    return CNetWnd::OnMessage(msg, wParam, lParam);
}

void CSalesDeptRegionWnd::OpenInfoPage() {
    if (m_pendingTitle.empty() || m_pendingRequest.empty())
        return;
    const std::u16string title = std::move(m_pendingTitle);
    const std::string request = std::move(m_pendingRequest);
    m_pendingTitle.clear();
    m_pendingRequest.clear();
    GetWndManager().RunWindow(std::make_unique<CSalesDeptInfoWnd>(), 0, title.c_str(), nullptr, request.c_str(),
                              this);
}
