// The world index table (keyword "sjzs"): its columns and headers are the
// reply's own, set by the first reply and kept. Rows do not react to
// presses; the bottom bar offers home, the stock search, a refresh and
// "返回".
#pragma once

#include "framework/ui/CTableWnd.h"

class CGlobalIndexWnd : public CTableWnd {
public:
    static constexpr int kBarImages[4] = {113, 118, 115, 116};
    enum : int { kBarHome = 0, kBarSearch = 1, kBarRefresh = 2, kBarBack = 3 };

    CGlobalIndexWnd();
    ~CGlobalIndexWnd() override;
    const char* GetClassName() const override { return "CGlobalIndexWnd"; }

    void OnToolbarCommand(int index) override;
    int OnInitDialog() override;
    // The preset request unchanged; 0 without one.
    int BuildRequest(CAString& out) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;

private:
    bool m_headersSet = false;
};
