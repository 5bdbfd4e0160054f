// A form for control tests: it records every report its controls send
// (WM_COMMAND and the edit message) and can run a modal choice from inside
// its own window procedure, the way a screen does, so a test can answer the
// choice with the driver while it runs.
#pragma once

#include "platform/ui/CUiWnd.h"
#include "platform/ui/UiDefs.h"

#include <climits>
#include <functional>
#include <vector>

struct CReport {
    UINT msg = 0;
    int id = 0;    // control id (low word of wParam)
    int code = 0;  // notification code (high word of wParam)
    LPARAM value = 0;
};

class CTestForm : public CUiWnd {
public:
    static constexpr UINT kRunModal = WM_USER + 1;

    ~CTestForm() override { Destroy(); }

    std::vector<CReport> reports;
    std::function<int()> modalAction; // run on kRunModal
    int modalResult = INT_MIN;        // INT_MIN until the action returned

    std::vector<CReport> CommandsFrom(int id) const {
        std::vector<CReport> out;
        for (const CReport& r : reports)
            if (r.msg == WM_COMMAND && r.id == id)
                out.push_back(r);
        return out;
    }

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_COMMAND || msg == UIM_EDIT_NOTIFY)
            reports.push_back({msg, LowWord(wParam), HighWord(wParam), lParam});
        if (msg == kRunModal && modalAction) {
            modalResult = modalAction();
            return 0;
        }
        return CUiWnd::WndProc(msg, wParam, lParam);
    }
};
