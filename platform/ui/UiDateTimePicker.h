// The date picker in year-month-day mode: three columns titled "年", "月",
// "日" (140 pixels each) listing the years of a range, the months 1 to 12
// and the days of the chosen month (refilled when year or month change),
// with "确定" and "取消". DoModal returns IDOK (1) with the chosen date
// readable afterwards, or IDCANCEL.
//
// DoModal asks CModalScript (kind DatePicker) first: a scripted yyyymmdd
// becomes the date and answers IDOK at once (0 answers IDCANCEL); the
// picker is recorded with the date it returned (0 when cancelled).
#pragma once

#include "platform/ui/CUiWnd.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiChoiceList.h"

class UiDateTimePicker : public CUiWnd {
public:
    static constexpr int kColumnWidth = 140; // pixels
    static constexpr int kTitleHeight = 50;  // pixels
    static constexpr int kRowHeight = 50;    // pixels
    // Control ids of the three columns (the buttons are IDOK and IDCANCEL).
    enum : int { kYearList = 11, kMonthList = 12, kDayList = 13 };

    UiDateTimePicker();
    ~UiDateTimePicker() override;
    const char* GetClassName() const override { return "UiDateTimePicker"; }

    // The years offered (default 1923 to the current year of the program
    // clock); the date is clamped into them.
    void SetYearRange(int first, int last);
    // Sets the date; a day past the month's end becomes its last day, and
    // out-of-range values are clamped.
    void SetDate(int year, int month, int day);
    // Sets the date from yyyymmdd; false (nothing changed) for a value that
    // is not a date.
    bool SetDateValue(int yyyymmdd);
    int GetYear() const { return m_year; }
    int GetMonth() const { return m_month; }
    int GetDay() const { return m_day; }
    int GetDateValue() const { return m_year * 10000 + m_month * 100 + m_day; }

    static int DaysInMonth(int year, int month);

    // Runs the picker over the work area with owner; IDOK or IDCANCEL.
    // Hides CUiWnd::DoModal so the script is always consulted.
    int DoModal(UiWin* owner, int animation = ANIM_NONE);

    UiChoiceList* GetColumn(int which);

    int OnCreate() override;
    void OnPaint(CDC& dc) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void FillDays();
    CRect ColumnRect(int column) const;

    int m_firstYear = 1923;
    int m_lastYear;
    int m_year;
    int m_month;
    int m_day;
    UiChoiceList m_years;
    UiChoiceList m_months;
    UiChoiceList m_days;
    UiButton m_ok;
    UiButton m_cancel;
};
