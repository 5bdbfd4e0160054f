// The detail quote page of one stock or index (keyword "xxhq"): sixteen rows
// of four cells, the quote's figures then the five ask and five bid levels
// (six rows for an index), refreshed on every show and on the refresh
// timer. Its bar opens the option menu, the stock search, the minute and
// K-line charts, refreshes and closes; the option menu goes home, to the
// stock's information menu, the order form and the watch list.
//
// The page's texts: parameter text "code=" and the stock key; its preset
// request (normally "tc_mfuncno=31000&tc_sfuncno=4") gets that code and the
// field list (StockDetail.h). The rows come from the reply's first set.
#pragma once

#include "framework/ui/CTableWnd.h"
#include "platform/ui/UiStatic.h"
#include "quotes/info/StockDetail.h"

#include <optional>
#include <string>
#include <vector>

class CStockDetaiPriceWnd : public CTableWnd {
public:
    static constexpr int kCaptionLabelId = 303;
    static constexpr int kGridTop = 102;  // pixels
    static constexpr int kRowHeight = 48; // pixels
    static constexpr int kRows = 16;
    // Option-menu command ids.
    enum : int { kMenuHome = 120, kMenuCancel = 121, kMenuSell = 122, kMenuBuy = 123, kMenuAddToMyStocks = 126,
                 kMenuStockInfo = 133 };
    // The bar's images, by button index: menu, search, minute chart,
    // K-line chart, refresh, back.
    static const std::vector<int>& BarImages();

    CStockDetaiPriceWnd();
    ~CStockDetaiPriceWnd() override;
    const char* GetClassName() const override { return "CStockDetaiPriceWnd"; }

    // Replaces the code when it differs ignoring case; null is ignored.
    void SetStockCode(const char16_t* code);
    const std::u16string& GetStockCode() const { return m_code; }
    // The quote shown last; nullopt before the first one.
    const std::optional<DetailQuote>& GetQuote() const { return m_quote; }
    // Fills the grid from the set's first row; nothing for a set without one.
    void FillQuote(CDataSet& set);
    // An option-menu command.
    void OnMenuCommand(int id);

    // ---- Virtual operations ----
    int OnInitDialog() override;
    // Reads "code" of the parameter text: a new code makes the next show a
    // first show (a request still running is abandoned before the new one).
    void SetMenuParams(int menuId, const char* param, const char* request) override;
    void OnLayout() override;
    int BuildRequest(CAString& out) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;
    void OnToolbarCommand(int index) override;

private:
    CRect GridRect() const;
    // The code as 8-bit text, for the windows the page opens.
    std::string CodeText() const;
    void ShowOptionMenu();
    void OpenOrder(bool sell);
    void OpenStockInfo();
    void Tell(std::u16string_view text);
    DetailPalette Palette() const;

    std::u16string m_code{kDetailInitialCode};
    std::u16string m_name;
    std::optional<DetailQuote> m_quote; // the security type is unknown until one came
    UiStatic m_captionLabel;
};
