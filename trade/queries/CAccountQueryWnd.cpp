// The funds pages and their tabs.
#include "trade/queries/CAccountQueryWnd.h"

#include "core/CDataSetList.h"
#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
#include "framework/ui/QueryRequests.h"
#include "platform/ui/CUiMessageBox.h"

std::vector<FundsPageText> ReadFundsPages(CDataSet& set, std::string_view positionKey) {
    const std::string key(positionKey);
    int skipped = -1;
    for (int c = 0; c < set.GetColumnCount() && skipped < 0; ++c)
        if (StrEqualNoCase(set.GetColumn(c)->GetName(), key.c_str()) == 0)
            skipped = c;
    const int captionColumn = set.FindColumn("~moneytype");
    std::vector<FundsPageText> pages;
    set.MoveFirst();
    for (int row = 0; row < set.GetRowCount(); ++row, set.MoveNext()) {
        FundsPageText page;
        for (int c = 0; c < set.GetColumnCount(); ++c) {
            if (c == skipped)
                continue;
            const DataSetColumn* column = set.GetColumn(c);
            CWString label = column->GetLabel();
            if (label.IsEmpty())
                label = CWString::CWStringFromAnsi(column->GetName());
            page.lines.emplace_back(label.str(), set.GetFieldText(c).str());
        }
        if (captionColumn >= 0)
            page.caption = set.GetFieldText(captionColumn).str();
        pages.push_back(std::move(page));
    }
    return pages;
}

CAccountQueryWnd::CAccountQueryWnd() = default;

CAccountQueryWnd::~CAccountQueryWnd() {
    Destroy();
}

int CAccountQueryWnd::OnInitDialog() {
    if (!CQueryTabBaseWnd::OnInitDialog())
        return 0;
    SetBackground(kBackground);
    // Until a reply names the currencies: yuan shown, the others hidden.
    GetTabBar().RemoveAllTabs();
    GetTabBar().AddTab(u"人民币", true, false);
    GetTabBar().AddTab(u"美元", false, false);
    GetTabBar().AddTab(u"港元", false, false);
    return 1;
}

void CAccountQueryWnd::OnRequestNotSent(NotSent why) {
    if (why == NotSent::NothingToSend || why == NotSent::NotArmed)
        return;
    if (CAppData* app = CAppData::Instance())
        app->ShowInfoMessage(kQueryNotSentText, this);
}

void CAccountQueryWnd::OnNetData(const std::uint8_t* data, int length, bool networkFailure) {
    CAppData* app = CAppData::Instance();
    if (networkFailure) {
        // The pages of the last answer stay; the user is told it failed.
        if (app)
            app->ShowInfoMessage(QueryFailureText(data, length).c_str(), this);
        return;
    }
    if (!data || length <= 0)
        return;
    CDataSetList list(data, length);
    if (list.IsError()) {
        if (app)
            app->ShowInfoMessage(list.GetErrorText().c_str(), this);
        return;
    }
    CDataSet* set = *list.GetAt(0);
    const std::vector<FundsPageText> texts = set ? ReadFundsPages(*set, GetPagingKey().view()) : std::vector<FundsPageText>();
    ClearPages();
    if (texts.empty()) {
        GetTabBar().ShowWindow(false);
        Invalidate();
        UiMessageBox(this, u"没有相关记录！", u"提示", MB_OK);
        return;
    }
    SetPageCount(static_cast<int>(texts.size()));
    for (size_t i = 0; i < texts.size(); ++i) {
        CQueryTabPage* page = GetPage(static_cast<int>(i));
        page->SetCaption(texts[i].caption);
        for (const auto& [label, value] : texts[i].lines) {
            page->AddLabel(label);
            page->AddValue(value);
        }
    }
    GetTabBar().ShowWindow(true);
    LayoutPages();
    SelectPage(0);
    Invalidate();
}
