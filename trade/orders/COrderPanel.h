// The order form's five-level quote panel: ten rows (asks five to one,
// then bids one to five) of the level, its price and its volume in lots,
// with a line between the asks and the bids. A tapped row's price is what
// the form takes into its price field.
#pragma once

#include "framework/ui/widgets/CGridCtrl.h"
#include "trade/orders/OrderForm.h"

#include <optional>
#include <string>
#include <vector>

class COrderPanel : public CGridCtrl {
public:
    static constexpr int kFontSize = 21; // pixels

    // The panel's table and look; once, after Create.
    void SetUp();
    // Replaces the rows (PanelRowsFrom, EmptyPanelRows), none selected.
    void SetRows(const std::vector<PanelRow>& rows);
    // The price a tap on row hands the form, selecting the row: its price
    // cell, "0.0" for a level without one ("-"); nullopt for a row the
    // panel does not have or an empty cell.
    std::optional<std::u16string> TakePrice(int row);

    void OnPaint(CDC& dc) override;
};
