// The K-line chooser ("设置技术指标周期"): the user picks the indicator
// (the option group "tech") and the bar period (a fixed list of seven).
//
// "确定" posts WND_MSG_PARAMS_CHOSEN (wParam 0, lParam a new CKXParamChoice)
// to the owner with PostOwned, so the loop frees the choice when the owner
// is gone, and closes with code 1; "返回" closes with code 2 and posts
// nothing. A choice not posted is freed with the form. With nothing
// selected in a list the choice keeps the value the form was given.
#pragma once

#include "framework/ui/CNetWnd.h"
#include "framework/ui/widgets/CCheckList.h"
#include "platform/ui/UiStatic.h"

#include <cstdint>
#include <memory>
#include <string>

struct CKXParamChoice {
    // Longest indicator name carried, in bytes: the server's names fit a
    // 12-byte field with its terminator.
    static constexpr size_t kMaxTechLength = 11;

    std::string tech;      // indicator name as the "tech" group names it
    int32_t period = 513;  // period code
};

inline void FreeKXParamChoice(LPARAM lParam) { delete reinterpret_cast<CKXParamChoice*>(lParam); }

class CKXParamWnd : public CNetWnd {
public:
    enum : int { kTechLabelId = 302, kTechListId = 184, kPeriodListId = 185 };
    static constexpr int kPeriodCount = 7;
    struct Period {
        const char16_t* text;
        int code;
    };
    static constexpr Period kPeriods[kPeriodCount] = {
        {u"5分钟", 257}, {u"15分钟", 259}, {u"30分钟", 262}, {u"60分钟", 268},
        {u"日", 513},    {u"周", 769},     {u"月", 1025},
    };

    // owner: the window the choice is posted to (not owned).
    CKXParamWnd(std::u16string_view caption, UiWin* owner);
    ~CKXParamWnd() override;
    const char* GetClassName() const override { return "CKXParamWnd"; }

    void SetParams(const char* tech, int period);
    // The index of code in the period list; 4 (the day) when absent.
    static int FindPeriodIndex(int code);
    // Copies the selected items into the choice.
    void CollectParams();
    const CKXParamChoice* GetChoice() const { return m_choice.get(); }
    CCheckList& GetTechList() { return m_techList; }
    CCheckList& GetPeriodList() { return m_periodList; }
    int GetTechCount() const { return m_techCount; }

    void OnPaint(CDC& dc) override; // the boxes behind the lists
    void OnToolbarCommand(int index) override;
    int OnInitDialog() override;
    void OnLayout() override;

private:
    void FillLists();
    void PlaceControls();

    std::unique_ptr<CKXParamChoice> m_choice;
    HWND m_owner = nullptr;
    CCheckList m_techList, m_periodList;
    UiStatic m_techLabel, m_periodLabel;
    int m_techCount = 0; // entries of the "tech" group
};
