// The progress bar: a track filled in proportion to a position in a range.
#pragma once

#include "platform/win/UiWin.h"

class UiProgressBar : public UiWin {
public:
    UiProgressBar();
    ~UiProgressBar() override;
    const char* GetClassName() const override { return "UiProgressBar"; }

    void SetRange(int min, int max); // swapped when min > max
    void SetPos(int pos);            // clamped into the range
    int GetPos() const { return m_pos; }
    // Advances by step, wrapping to the start past the end (the logon's
    // endless progress line).
    void StepIt(int step = 1);

    void OnPaint(CDC& dc) override;

private:
    int m_min = 0;
    int m_max = 100;
    int m_pos = 0;
};
