// What the chart windows share for the life of the process: the cursor
// position the last chart left (so the next chart opened shows its cursor
// at the same record) and the minute chart's side-panel page. Both belong
// to no single window, so one object holds them. The frames reset them when a chart of
// another stock opens or a minute chart closes; the views read and write
// them as the user moves the cursor or turns the page.
//
// Touched on the UI thread only.
#pragma once

class CChartState {
public:
    // The minute chart's side-panel pages (kFSPanelPages).
    static constexpr int kPanelPages = 4;

    // The one object of the process.
    static CChartState& Shared();

    // The last cursor position, −1 when none is kept.
    int GetLastCursorPosition() const { return m_lastCursorPosition; }
    void SetLastCursorPosition(int position) { m_lastCursorPosition = position; }
    // The side panel's page, 0 .. kPanelPages − 1; another value sets 0.
    int GetPanelPage() const { return m_panelPage; }
    void SetPanelPage(int page) { m_panelPage = page >= 0 && page < kPanelPages ? page : 0; }

private:
    int m_lastCursorPosition = -1; // a record index; −1: none
    int m_panelPage = 0;
};
