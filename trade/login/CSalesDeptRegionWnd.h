// The broker's branch network by region: the provinces grouped under
// their regions as a flow of links; a tap on a province opens its
// departments (CSalesDeptInfoWnd). The list is asked for until it
// arrives and then kept: later refreshes send nothing.
#pragma once

#include "core/CDataSet.h"
#include "framework/ui/CNetWnd.h"
#include "framework/ui/widgets/CTextCtrl.h"
#include "trade/login/BranchDirectory.h"

#include <memory>
#include <string>
#include <vector>

class CSalesDeptRegionWnd : public CNetWnd {
public:
    static constexpr int kTextId = 160;
    static constexpr int kFontSize = 22; // pixels
    static constexpr int kWindowKind = 7;
    // WND_MSG_OPEN_MENU_CHILD's wParam of a province pick.
    static constexpr WPARAM kOpenInfo = 8;

    CSalesDeptRegionWnd();
    ~CSalesDeptRegionWnd() override;
    const char* GetClassName() const override { return "CSalesDeptRegionWnd"; }

    // The placed texts, headers and links, in flow order.
    const std::vector<BranchRegionLabel>& GetLabels() const { return m_labels; }
    const CTextCtrl* GetText(int index) const;
    // Takes a tap on one of the page's texts (null: none was given).
    void PickText(const UiWin* text);

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    void OnToolbarCommand(int index) override;
    // 0 once the list is held; else the preset request.
    int BuildRequest(CAString& out) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;

private:
    void BuildTexts();
    void OpenInfoPage();

    std::unique_ptr<CDataSet> m_set;        // the kept reply set
    std::vector<BranchRegionRow> m_rows;    // its usable rows
    std::vector<BranchRegionLabel> m_labels;
    std::vector<std::unique_ptr<CTextCtrl>> m_texts; // one per label
    std::u16string m_pendingTitle;
    std::string m_pendingRequest;
};
