// Where the trade login form puts its rows and controls, without a window:
// eight rows below the caption bar (the token's row and the note's last
// row show only in token mode), each control at a fixed place in its row.
#pragma once

#include "platform/Geometry.h"

#include <array>

struct CTradeLoginLayout {
    static constexpr int kRows = 8;
    static constexpr int kLabels = 7;
    static constexpr int kRowTop = 30;    // pixels below the caption bar
    static constexpr int kRowPitch = 70;  // pixels, where the screen holds the eight rows
    static constexpr int kMinRowPitch = 62;
    static constexpr int kRowGap = 12;    // pixels kept below the last row
    static constexpr int kRowLeft = 30;   // pixels

    std::array<CRect, kRows> rows;
    std::array<CRect, kLabels> labels;
    CRect deptText, deptArrow, typeText, typeArrow;
    CRect account, history, token, save, password, passPhrase, code;
    CRect note;
    CRect frame; // the rounded box drawn behind the shown rows
};

// kRowPitch, or less (down to kMinRowPitch) on a body too short for eight
// such rows.
int TradeLoginRowPitch(int bodyHeight);

// The form's places for a client area width wide, a body bodyHeight high
// below a caption captionHeight high; the note and the frame end at the
// token row in token mode.
CTradeLoginLayout LayOutTradeLogin(int width, int bodyHeight, int captionHeight, bool tokenMode);
