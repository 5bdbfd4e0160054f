// The sales departments of one province: a list of the departments with
// their details (name and address, then the telephone and the rest), asked
// for by the request the region page opens it with. Read only.
#pragma once

#include "framework/ui/CNetWnd.h"
#include "framework/ui/widgets/CMenuListCtrl.h"

class CSalesDeptInfoWnd : public CNetWnd {
public:
    static constexpr int kListId = 165;
    static constexpr int kItemHeight = 100; // pixels
    static constexpr int kWindowKind = 8;

    CSalesDeptInfoWnd();
    ~CSalesDeptInfoWnd() override;
    const char* GetClassName() const override { return "CSalesDeptInfoWnd"; }

    CMenuListCtrl& GetList() { return m_list; }

    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    void OnLayout() override;
    void OnToolbarCommand(int index) override;
    // The rows of the reply, in place of any shown before.
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;

private:
    CMenuListCtrl m_list;
};
