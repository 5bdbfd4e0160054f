// The scrolling text page: a wrapped text on the client page, showing
// "正在获取内容，请稍后..." until the window sets its text, with the toolbar
// "首页" / "刷新" / "返回".
#pragma once

#include "framework/ui/CNetWnd.h"
#include "framework/ui/widgets/CTextCtrl.h"

class CTextWnd : public CNetWnd {
public:
    static constexpr int kTextId = 180;
    static constexpr const char16_t* kWaitText = u"正在获取内容，请稍后...";

    CTextWnd();
    ~CTextWnd() override;
    const char* GetClassName() const override { return "CTextWnd"; }

    // Replaces the shown text.
    void SetText(std::u16string_view text);
    std::u16string GetShownText() const { return m_text.GetText(); }
    // Places the text view for the window's size and the text's height.
    void LayoutContent();

    int OnInitDialog() override;
    void OnLayout() override;
    // 0 closes with code 0, 1 sends the request again, 2 closes with code 1.
    void OnToolbarCommand(int index) override;

private:
    CTextCtrl m_text;
};
