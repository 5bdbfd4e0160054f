// The warrant exercise form ("qzxq"): the shareholder account, the six-
// character exercise code, the pre-check's stock name, exercise price,
// available funds and quantity (100/28), and the quantity to exercise. "行权"
// hands the exercise (100/29) to the confirmation page, which alone sends it.
//
// The pre-check answers for the code it was sent for: a reply for another
// code is dropped, and a change of the code clears its fields and offers
// every holder again. Its market narrows the holders to that market; the
// form refuses to hand over without a holder there, or without a positive
// whole quantity. A change of the current trade account rebuilds the holders.
#pragma once

#include "core/CChoiceItem.h"
#include "framework/ui/CLayoutBaseWnd.h"
#include "framework/ui/widgets/CNotifyEdit.h"
#include "trade/queries/CHolderField.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiEdit.h"
#include "platform/ui/UiStatic.h"

#include <string>
#include <vector>

class CWarrantWnd : public CLayoutBaseWnd {
public:
    enum : int {
        kHolderId = 300, kDropId = 215, kCodeId = 216, kNameId = 212, kPriceId = 213, kFundsId = 300,
        kAvailableId = 300, kAllId = 217, kQuantityId = 214, kLabelId = 302,
    };
    static constexpr std::u16string_view kShortCode = u"请输入6位行权代码！";
    static constexpr std::u16string_view kNoQuantity = u"请输入行权数量！";
    static constexpr std::u16string_view kBadQuantity = u"行权数量必须为正整数！";
    static constexpr std::u16string_view kNoHolder = u"没有该权证市场的股东代码，无法行权！";

    CWarrantWnd();
    ~CWarrantWnd() override;
    const char* GetClassName() const override { return "CWarrantWnd"; }

    const std::vector<CChoiceItem>& GetHolderItems() const { return m_items; }
    int GetSelectedHolder() const { return m_selected; }
    UiEdit& HolderField() { return m_holder; }
    CNotifyEdit& CodeField() { return m_code; }
    UiEdit& NameField() { return m_name; }
    UiEdit& PriceField() { return m_price; }
    UiEdit& FundsField() { return m_funds; }
    UiEdit& AvailableField() { return m_available; }
    UiEdit& QuantityField() { return m_quantity; }
    const std::string& GetPrecheckCode() const { return m_precheckCode; }

    void OnHolderChosen(int index);
    // The checks, then the confirmation page.
    int OpenMenuChild(int index) override;

    // ---- Virtual operations ----
    void BuildForm() override;
    void OnOk() override;
    CRect GetFormRect() const override;
    void OnLayout() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    // The pre-check of the code typed; nothing for a code not of six characters.
    int BuildRequest(CAString& out) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnWindowShown() override;

private:
    // The holders of the current account, all or of one market only.
    void BuildHolders(const char* market);
    void ClearPrecheck();
    void CheckAccount();
    void PlaceControls();
    void ChooseHolder();
    std::string CodeText() const;

    UiStatic m_labels[9];
    CHolderField m_holder{*this, kDropId};
    UiButton m_drop;
    CNotifyEdit m_code;
    UiEdit m_name;
    UiEdit m_price;
    UiEdit m_funds;
    UiEdit m_available;
    UiButton m_all;
    UiEdit m_quantity;
    std::vector<CChoiceItem> m_items;
    int m_selected = -1;
    std::string m_precheckCode;  // the code of the pre-check out or answered
    std::string m_market;        // the warrant's market from the pre-check
    CAString m_account;          // the account the holders are of
};
