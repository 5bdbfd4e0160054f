// The sales-department window ("营业部设置", keyword "yybsz"): the user's
// own list of departments (SalesDeptStore.h), at most kMaxSalesDepts.
// The first show asks the server for the broker's list (501/17) into the
// combo box; the user picks a department there or types its 4-character
// code, adds it ("添加") to the personal list below, deletes checked ones
// ("删除"), and "确定" writes the list back in one transaction and closes
// with code 1. Nothing reaches the database or the settings before "确定":
// leaving any other way discards the edits, and deleting the department of
// the last login ("Trade_SCCode") resets that setting only when the save
// succeeds.
//
// The personal list loads when the server's list arrives, also when that
// list is empty or the request failed, so a broker that names no
// department still shows the user's own.
#pragma once

#include "framework/ui/CComboBoxWnd.h"
#include "framework/ui/CNetWnd.h"
#include "framework/ui/widgets/CCheckList.h"
#include "framework/ui/widgets/CNotifyEdit.h"
#include "platform/ui/UiStatic.h"
#include "trade/login/SalesDeptStore.h"

#include <vector>

class CSalesDeptSetWnd : public CNetWnd {
public:
    enum : int {
        kCodeBoxId = 178,
        kComboId = 179,
        kLabelId = 302,
        kListId = 301,
    };
    // The bottom bar's buttons.
    enum : int { kBarSave = 0, kBarAdd = 1, kBarDelete = 2 };
    static constexpr int kCodeLength = 4; // characters of a typed code

    CSalesDeptSetWnd();
    ~CSalesDeptSetWnd() override;
    const char* GetClassName() const override { return "CSalesDeptSetWnd"; }

    // True when the stored list holds at least one department.
    static bool IsSalesDeptConfiged();

    // "添加": the combo box's selected department joins the personal list.
    void AddDept();
    // "删除": asks, then removes the checked departments.
    void DeleteChecked();
    // "确定": writes the list when it changed; 1 to close, 0 to stay.
    int SaveData();
    // Loads the stored list into the personal list, named from the server's.
    void AddToDisplay();
    // 1 when code is empty or already in the personal list, else 0.
    int IsDeptAdded(const char* code) const;

    // The departments of the personal list as they stand, in order.
    std::vector<SalesDept> GetListedDepts() const;
    bool IsModified() const { return m_modified; }
    CComboBoxWnd& GetCombo() { return m_combo; }
    CCheckList& GetList() { return m_list; }
    CNotifyEdit& GetCodeBox() { return m_codeBox; }

    // ---- Virtual operations ----
    int OnInitDialog() override;
    void OnLayout() override;
    void OnPaint(CDC& dc) override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;
    void OnToolbarCommand(int index) override;
    int BuildRequest(CAString& out) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;
    // No reply will come: the user's own list loads all the same.
    void OnRequestNotSent(NotSent why) override;

private:
    void PlaceControls();
    // The combo box's selected code in the code box.
    void ShowSelectedCode();
    void AppendDept(const SalesDept& dept);

    CNotifyEdit m_codeBox;
    CComboBoxWnd m_combo;
    UiStatic m_label;
    CCheckList m_list;
    std::vector<SalesDept> m_server; // the broker's list as the last reply gave it
    bool m_modified = false;         // the personal list differs from the table
    bool m_resetLoginDept = false;   // "Trade_SCCode" goes back to "0001" on save
};
