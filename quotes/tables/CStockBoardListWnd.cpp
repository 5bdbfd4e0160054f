// The board list: the sector buttons, their places and presses.
#include "quotes/tables/CStockBoardListWnd.h"

#include "core/CDataSetList.h"
#include "core/FunctionNumbers.h"
#include "core/StrUtil.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/CClientArea.h"
#include "framework/ui/WindowKeywords.h"
#include "quotes/tables/QuoteRequests.h"

#include "platform/gdi/CDC.h"

#include <cstdlib>

namespace {
// A sector button on the black page: a dark rounded face that lightens
// while pressed, the name in white.
class CSectorButton : public UiButton {
public:
    void OnPaint(CDC& dc) override {
        const CRect client = GetClientRect();
        const CDCStateSaver saved(dc);
        dc.FillRect(client, 0x000000);
        dc.SelectPen({PS_SOLID, 1, 0x707070});
        dc.SelectBrush(CBrush::Solid(IsPressed() ? 0x505050 : 0x2A2A2A));
        dc.RoundRect({client.left + 2, client.top + 2, client.right - 2, client.bottom - 2}, 10, 10);
        dc.SelectFont({24, 400});
        dc.SetTextColor(GetTextColor());
        dc.SetBkMode(TRANSPARENT);
        dc.DrawText(GetText(), client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
};
} // namespace

CRect BoardButtonRect(int index, int width) {
    const int m = static_cast<int>(width * 0.03);
    const int b = static_cast<int>(width * 0.44);
    const int x = m + (index % 2) * (b + 2 * m);
    const int y = (index / 2) * CStockBoardListWnd::kButtonHeight + 20;
    return CRect::FromSize(x, y, b, CStockBoardListWnd::kButtonHeight);
}

std::string BoardStocksRequest(std::string_view kind, std::string_view code) {
    if (!IsRequestValue(kind) || !IsRequestValue(code))
        return {};
    std::string text = std::string(kRequestHead<kFuncSectorMembers>) + "&sector=";
    text += kind;
    text += "&sectorcode=";
    text += code;
    return text;
}

CStockBoardListWnd::CStockBoardListWnd() {
    m_sectors.reserve(64);
    m_buttons.reserve(64);
}

CStockBoardListWnd::~CStockBoardListWnd() {
    m_buttons.clear();
    Destroy();
}

const UiButton* CStockBoardListWnd::GetButton(int index) const {
    return index >= 0 && index < GetButtonCount() ? m_buttons[static_cast<size_t>(index)].get() : nullptr;
}

int CStockBoardListWnd::OnInitDialog() {
    if (!CNetWnd::OnInitDialog())
        return 0;
    SetBackground(0x000000);
    UseTextToolbar(u"首页", u"个股", u"返回");
    return 1;
}

void CStockBoardListWnd::SetMenuParams(int menuId, const char* param, const char* request) {
    if (std::string kind = GetUrlParamText(request, "sector"); !kind.empty())
        m_kind = std::move(kind);
    CNetWnd::SetMenuParams(menuId, param, request);
}

int CStockBoardListWnd::BuildRequest(CAString& out) {
    if (!m_sectors.empty())
        return 0;
    return CNetWnd::BuildRequest(out);
}

void CStockBoardListWnd::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    if (!m_sectors.empty() || !data || length <= 0)
        return;
    CDataSetList reply(data, length);
    CDataSet* first = FirstReplySet(reply);
    if (!first)
        return;
    const int nameColumn = first->FindColumn("sectorname");
    const int codeColumn = first->FindColumn("sectorcode");
    if (nameColumn < 0 || codeColumn < 0)
        return;
    for (bool more = first->MoveFirst(); more; more = first->MoveNext())
        m_sectors.push_back({first->GetFieldText(nameColumn), first->GetFieldText(codeColumn)});
    CreateButtons();
    Invalidate();
    UpdateWindow();
}

void CStockBoardListWnd::CreateButtons() {
    CClientArea* page = GetClientArea();
    if (!page)
        return;
    const int width = GetClientRect().Width();
    for (size_t i = 0; i < m_sectors.size(); ++i) {
        std::unique_ptr<UiButton> button = std::make_unique<CSectorButton>();
        button->SetStyle(UI_BTN_PUSH);
        button->SetText(m_sectors[i].name.view());
        button->SetTextColor(0xFFFFFF);
        if (!button->Create(page, BoardButtonRect(static_cast<int>(i), width),
                            kFirstButtonId + static_cast<int>(i), true))
            break;
        m_buttons.push_back(std::move(button));
    }
    PlaceButtons();
}

void CStockBoardListWnd::PlaceButtons() {
    CClientArea* page = GetClientArea();
    const int width = GetClientRect().Width();
    int bottom = 0;
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        const CRect r = BoardButtonRect(static_cast<int>(i), width);
        m_buttons[i]->MoveWindow(r);
        bottom = r.bottom;
    }
    if (page)
        page->SetContentHeight(bottom + 20);
}

void CStockBoardListWnd::OnLayout() {
    CNetWnd::OnLayout();
    PlaceButtons();
}

bool CStockBoardListWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LowWord(wParam);
    if (id >= kFirstButtonId && id < kFirstButtonId + GetButtonCount()) {
        OpenSector(id - kFirstButtonId);
        return true;
    }
    return CNetWnd::OnCommand(wParam, lParam);
}

void CStockBoardListWnd::OpenSector(int index) {
    if (index < 0 || index >= static_cast<int>(m_sectors.size()))
        return;
    const Sector& sector = m_sectors[static_cast<size_t>(index)];
    const std::string request =
        BoardStocksRequest(m_kind, CAString::CAStringFromWide(sector.code.view()).c_str());
    if (request.empty())
        return;
    GetWndManager().CreateWnd(kBoardStocksKeyword, -1, sector.name.c_str(), "", request.c_str(), 0, this);
}

void CStockBoardListWnd::OnToolbarCommand(int index) {
    if (!HandleHomeOrBack(index) && index == kToolbarMiddle)
        OpenStockSearch();
}
