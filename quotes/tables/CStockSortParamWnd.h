// The ranking sort form ("全部排序"): the user picks the market, the
// category, the ranking field and the direction of the ranking table. The
// choice lists come from the option groups "market", "type" and "sort";
// the direction list is fixed ("正序" 0, "逆序" 1).
//
// "确定" posts WND_MSG_PARAMS_CHOSEN (wParam 0, lParam a new CSortChoice the
// owner deletes) to the owner and closes with code 1; "返回" closes with
// code 2 and posts nothing. The form owns the choice until it is posted;
// the post hands it to the loop, which frees it when the owner is gone. A group value longer than CSortChoice::kMaxCodeLength
// is listed but never carried: choosing it carries an empty code, with
// which the table keeps its current one.
#pragma once

#include "framework/ui/CNetWnd.h"
#include "framework/ui/widgets/CCheckList.h"
#include "platform/ui/UiStatic.h"
#include "quotes/tables/CSortChoice.h"

#include <memory>

class CStockSortParamWnd : public CNetWnd {
public:
    enum : int {
        kMarketLabelId = 302,
        kMarketListId = 184,
        kCategoryListId = 185,
        kFieldListId = 186,
        kDirectionListId = 187, // apart from the field list's id
    };

    // owner: the window the choice is posted to (not owned).
    CStockSortParamWnd(std::u16string_view caption, UiWin* owner);
    ~CStockSortParamWnd() override;
    const char* GetClassName() const override { return "CStockSortParamWnd"; }

    // The current choice the lists start from.
    void SetParams(const char* market, const char* category, const char* field, int direction);
    // The choice as it stands (null once posted).
    const CSortChoice* GetChoice() const { return m_choice.get(); }
    // Copies the selected values of the four lists into the choice.
    void CollectParams();

    CCheckList& GetMarketList() { return m_lists[0]; }
    CCheckList& GetCategoryList() { return m_lists[1]; }
    CCheckList& GetFieldList() { return m_lists[2]; }
    CCheckList& GetDirectionList() { return m_lists[3]; }

    // ---- Virtual operations ----
    void OnPaint(CDC& dc) override; // UpdateControls: the boxes behind the lists
    void OnToolbarCommand(int index) override;
    int OnInitDialog() override;
    void OnLayout() override;

private:
    void FillOptionList(const char* group, CCheckList& list);
    static void AddOption(std::u16string_view text, const char* value, bool checked, CCheckList& list);
    void PlaceControls();

    std::unique_ptr<CSortChoice> m_choice;
    HWND m_owner = nullptr;
    CCheckList m_lists[4];  // market, category, field, direction
    UiStatic m_labels[4];
};
