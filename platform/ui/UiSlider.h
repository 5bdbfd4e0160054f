// The horizontal slider: a value in a range [min, max] chosen by dragging
// a thumb along a track (a tap on the track jumps there). When the finger
// leaves, it posts WM_COMMAND (id, UI_SLIDER_RELEASED) with lParam = the
// value. A disabled slider ignores the finger.
#pragma once

#include "platform/win/UiWin.h"

class UiSlider : public UiWin {
public:
    static constexpr int kThumbWidth = 24; // pixels

    UiSlider();
    ~UiSlider() override;
    const char* GetClassName() const override { return "UiSlider"; }

    // Sets the range (swapped when min > max) and clamps the value into it.
    void SetRange(int min, int max);
    int GetRangeMin() const { return m_min; }
    int GetRangeMax() const { return m_max; }
    void SetPos(int value); // clamped; posts nothing
    int GetPos() const { return m_value; }
    // The value at x (client pixels) and the thumb's centre for a value
    // (clamped into the range).
    int ValueFromX(int x) const;
    int XFromValue(int value) const;

    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, CPoint pt) override;
    void OnMouseMove(UINT flags, CPoint pt) override;
    void OnLButtonUp(UINT flags, CPoint pt) override;

private:
    int m_min = 0;
    int m_max = 100;
    int m_value = 0;
    bool m_dragging = false;
};
