// The trading main menu: a header with the current trade account and a
// switch (or login) button above the rows of its menu node. Opening a row
// first makes sure a trade account is logged in; after a login started by
// a row the login reports back and that row opens without a second tap.
// "tradeexit" logs every account out; fund account opening goes through
// its risk notice first.
//
// The header and the rows agree on what "logged in" means: a current
// account with holder records (what every trade request needs). A row
// index that no longer names a child (the menu changed while the login
// ran) opens nothing.
#pragma once

#include "framework/ui/COrbMenuWnd.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiStatic.h"

#include <cstdint>

struct CMenuNode;

class COrbTradeMenuWnd : public COrbMenuWnd {
public:
    static constexpr int kWindowKind = 22;
    // What a fund row says while this build has no fund screens.
    static constexpr char16_t kNoFundServices[] = u"基金业务暂未开通，请使用其他功能。";
    static constexpr int kLabelId = 302;
    static constexpr int kHeaderButtonId = 243;
    static constexpr int kHeaderHeight = 70; // pixels
    static constexpr std::uint32_t kHeaderBackground = 0x3C2A1E; // 0x00BBGGRR

    COrbTradeMenuWnd();
    ~COrbTradeMenuWnd() override;
    const char* GetClassName() const override { return "COrbTradeMenuWnd"; }

    // The index-th child of the window's menu node, or null.
    CMenuNode* GetMenuChild(int index) const;
    // Whether a trade account is logged in, as the header and rows see it.
    static bool IsLoggedIn();
    const UiStatic& GetAccountText() const { return m_accountText; }
    const UiButton& GetHeaderButton() const { return m_headerButton; }

    int OnInitDialog() override;
    void OnWindowShown() override;
    void OnLayout() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int OpenMenuChild(int index) override;

private:
    // Places the header and the list; left is 120 (110 once turned).
    void PlaceControls(int left);
    void RefreshHeader();
    void OnHeaderButton();

    UiStatic m_headerLabel;
    UiStatic m_accountText;
    UiButton m_headerButton;
    int m_left = 120;
};
