// The domestic index table (keyword "zgzs"): twelve fixed columns of the
// indices the menu node's request names. A tap on a row opens the index's
// minute chart; the bottom bar offers the option menu ("加入自选"), the stock
// search, a refresh, the selected row's K-line chart and "返回".
#pragma once

#include "framework/ui/CTableWnd.h"

#include <string>

class CChinaIndexWnd : public CTableWnd {
public:
    static constexpr int kBarImages[5] = {126, 118, 115, 114, 116};
    enum : int { kBarOptions = 0, kBarSearch = 1, kBarRefresh = 2, kBarKLine = 3, kBarBack = 4 };
    enum : int { kMenuAddToMyStocks = 126, kMenuHome = 120, kMenuCancel = 121 };

    CChinaIndexWnd();
    ~CChinaIndexWnd() override;
    const char* GetClassName() const override { return "CChinaIndexWnd"; }

    // The columns holding the code and the market: −1 until the headers
    // are set, then 10 and 11.
    int GetCodeColumn() const { return m_codeColumn; }
    int GetMarketColumn() const { return m_marketColumn; }
    // The stock key of a row ("000001.02"), empty when a cell is missing or
    // the key may not travel.
    std::string RowKey(int row) const;

    void OnToolbarCommand(int index) override;
    int OnInitDialog() override;
    // ChinaIndexRequest of the preset; 0 without one.
    int BuildRequest(CAString& out) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The row's minute chart: 1 when a window ran, 0 when none, −1 when the
    // row has no key.
    int OpenMenuChild(int row) override;
    // The option menu's choice.
    virtual void OnMenuCommand(int id);

private:
    // The twelve headers, once; the code and market columns follow them.
    void SetHeaders();
    void OpenKLine();
    void Tell(const char16_t* text);

    int m_codeColumn = -1;
    int m_marketColumn = -1;
};
