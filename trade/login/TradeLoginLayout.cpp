// The trade login form's places; see the header.
#include "trade/login/TradeLoginLayout.h"

#include <algorithm>

int TradeLoginRowPitch(int bodyHeight) {
    using L = CTradeLoginLayout;
    const int fit = (bodyHeight - L::kRowTop - L::kRowGap) / L::kRows;
    return std::clamp(fit, L::kMinRowPitch, L::kRowPitch);
}

CTradeLoginLayout LayOutTradeLogin(int width, int bodyHeight, int captionHeight, bool tokenMode) {
    using L = CTradeLoginLayout;
    CTradeLoginLayout out;
    const int pitch = TradeLoginRowPitch(bodyHeight);
    const int top = captionHeight + L::kRowTop;
    for (int i = 0; i < L::kRows; ++i)
        out.rows[i] = CRect::FromSize(L::kRowLeft, top + pitch * i, width - 2 * L::kRowLeft, pitch);
    for (int i = 0; i < L::kLabels; ++i)
        out.labels[i] = CRect::FromSize(out.rows[i].left + 10, out.rows[i].top, 120, pitch);
    const auto y = [&](int row) { return out.rows[row].top; };
    const int w = width;
    out.deptText = CRect::FromSize(w - 340, y(0), 270, pitch);
    out.deptArrow = CRect::FromSize(w - 70, y(0) + (pitch - 30) / 2, 30, 30);
    out.typeText = CRect::FromSize(w - 340, y(1), 270, pitch);
    out.typeArrow = CRect::FromSize(w - 70, y(1) + (pitch - 30) / 2, 30, 30);
    const int box = pitch - 10; // the boxes' height, 60 in a 70-pixel row
    out.account = CRect::FromSize(w - 300, y(2) + 5, 220, box);
    out.history = CRect::FromSize(w - 300 + 220 - 50, y(2) + 5, 50, box);
    out.token = CRect::FromSize(w - 300 + 220 + 6, y(2) + 10, 40, box - 10);
    out.save = CRect::FromSize(w - 150, y(3) + 5, 120, box);
    out.password = CRect::FromSize(w - 300, y(4) + 5, 260, box);
    out.passPhrase = CRect::FromSize(w - 300, y(5) + 5, 260, box);
    out.code = CRect::FromSize(w - 300, y(6) + 5, 260, box);
    const CRect& last = out.rows[tokenMode ? 7 : 6];
    out.note = CRect::FromSize(last.left + 10, last.top, 420, pitch);
    const CRect& first = out.rows[0];
    out.frame = CRect{first.left, first.top - 3, first.right, last.bottom};
    return out;
}
