// The cancel window: the same-day table whose rows open the cancel.
#include "trade/queries/CTradeCancelWnd.h"

CTradeCancelWnd::CTradeCancelWnd() = default;

CTradeCancelWnd::~CTradeCancelWnd() {
    Destroy();
}

void CTradeCancelWnd::ApplyToolbar() {
    auto texts = TradeQueryToolbar(GetVariant());
    texts[1] = u"撤单";
    UseTextToolbar(texts[0], texts[1], texts[2]);
    LayoutGrid();
}

int CTradeCancelWnd::OpenMenuChild(int row) {
    if (row < 0) {
        TellNoRow();
        return -1;
    }
    return ConfirmCancel(row);
}

void CTradeCancelWnd::OnRowTapped(int row) {
    OpenMenuChild(row);
}
