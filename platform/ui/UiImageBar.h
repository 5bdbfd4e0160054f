// The image bar at the bottom of a window: up to ten image buttons loaded
// by resource id, optionally one shown as selected. Taps report as
// WM_COMMAND with control id 101 and the button index (see UiButtonBar).
#pragma once

#include "platform/ui/UiButtonBar.h"

#include <vector>

class UiImageBar : public UiButtonBar {
public:
    static constexpr int kMaxButtons = 10;

    UiImageBar();
    ~UiImageBar() override;
    const char* GetClassName() const override { return "UiImageBar"; }

    // Replaces the buttons by one per resource id (at most ten; the rest are
    // ignored). An id whose image is missing still makes a button, drawn
    // with its id as text. Returns the number of buttons.
    int SetImages(const std::vector<int>& resourceIds);
    int GetImageId(int index) const;
    // The button drawn as selected, −1 for none (the default).
    void SetSelected(int index);
    int GetSelected() const { return m_selected; }

protected:
    void DrawButton(CDC& dc, int index, const CRect& r) override;

private:
    std::vector<int> m_ids;
    int m_selected = -1;
};
