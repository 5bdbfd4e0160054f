// The funds of the logged-in trade account, one tabbed page per currency:
// each row of the reply is a currency, its fields shown as label and value
// lines, its tab named by the row's "~moneytype". The tab bar has one tab
// per row; a reply without rows (or without a set) says "没有相关记录！"
// and takes the tab bar off, and a later reply with rows brings it back.
// An error reply, and a failed exchange (its failure text), is shown and
// leaves the pages as they were.
#pragma once

#include "core/CDataSet.h"
#include "framework/ui/CQueryTabBaseWnd.h"

#include <string>
#include <string_view>
#include <vector>

// One currency's page: its caption and its label and value lines.
struct FundsPageText {
    std::u16string caption;
    std::vector<std::pair<std::u16string, std::u16string>> lines;
};
// The pages of a funds reply set: one per row, every column but the first
// named positionKey (ignoring ASCII case), labelled by the column's label
// (its name when it has none).
std::vector<FundsPageText> ReadFundsPages(CDataSet& set, std::string_view positionKey);

class CAccountQueryWnd : public CQueryTabBaseWnd {
public:
    static constexpr std::uint32_t kBackground = 0xECECEC;

    CAccountQueryWnd();
    ~CAccountQueryWnd() override;
    const char* GetClassName() const override { return "CAccountQueryWnd"; }

    int OnInitDialog() override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;
    // A query that could not go or was abandoned is told; the pages stay.
    void OnRequestNotSent(NotSent why) override;
    // Whether the tab bar is on the window.
    bool HasTabBar() { return GetTabBar().IsCreated() && GetTabBar().IsVisible(); }
};
