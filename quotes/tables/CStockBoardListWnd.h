// The board list (keyword "bkhqlist"): the sectors of one kind as large
// buttons, two to a line; a press opens the sector's stock table ("bkph").
// The menu node's request asks for the list and names the kind in its
// "sector" parameter. The list is asked for until it arrives, then never
// again: a refresh sends nothing and a late reply is ignored.
#pragma once

#include "framework/ui/CNetWnd.h"
#include "platform/ui/UiButton.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The button of sector index for a window width: margin m = width × 0.03,
// button width b = width × 0.44 (each truncated), two to a line, 90 high,
// lines 90 apart from y 20.
CRect BoardButtonRect(int index, int width);

// "tc_mfuncno=100&tc_sfuncno=31&sector=" kind "&sectorcode=" code; empty
// when either may not travel in a request.
std::string BoardStocksRequest(std::string_view kind, std::string_view code);

class CStockBoardListWnd : public CNetWnd {
public:
    static constexpr int kFirstButtonId = 600;
    static constexpr int kButtonHeight = 90; // pixels

    struct Sector {
        CWString name;
        CWString code;
    };

    CStockBoardListWnd();
    ~CStockBoardListWnd() override;
    const char* GetClassName() const override { return "CStockBoardListWnd"; }

    const std::string& GetSectorKind() const { return m_kind; }
    const std::vector<Sector>& GetSectors() const { return m_sectors; }
    // The sector buttons in record order.
    int GetButtonCount() const { return static_cast<int>(m_buttons.size()); }
    const UiButton* GetButton(int index) const;

    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    // Takes a non-empty "sector" of the request as the kind, then keeps
    // the texts.
    void SetMenuParams(int menuId, const char* param, const char* request) override;
    void OnLayout() override;
    void OnToolbarCommand(int index) override;
    // 0 once the list is filled; else the preset request.
    int BuildRequest(CAString& out) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;

private:
    void CreateButtons();
    void PlaceButtons();
    // Opens the stock table of sector index; nothing for a code that may
    // not travel.
    void OpenSector(int index);

    std::vector<Sector> m_sectors;
    std::vector<std::unique_ptr<UiButton>> m_buttons;
    std::string m_kind; // the "sector" value the menu node gave
};
