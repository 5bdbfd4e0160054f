// The year-month-day picker.
#include "platform/ui/UiDateTimePicker.h"

#include "platform/Clock.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/UiTheme.h"
#include "platform/win/UiMessageLoop.h"

#include <algorithm>
#include <string>

namespace {
std::u16string Number(int value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}
} // namespace

UiDateTimePicker::UiDateTimePicker() {
    const CLocalTime now = CClock::Instance().LocalNow();
    m_lastYear = std::max(m_firstYear, now.year);
    m_year = now.year;
    m_month = now.month;
    m_day = now.day;
}

UiDateTimePicker::~UiDateTimePicker() {
    m_years.Destroy();
    m_months.Destroy();
    m_days.Destroy();
    m_ok.Destroy();
    m_cancel.Destroy();
}

int UiDateTimePicker::DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 31;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

void UiDateTimePicker::SetYearRange(int first, int last) {
    if (first > last)
        std::swap(first, last);
    m_firstYear = first;
    m_lastYear = last;
    SetDate(m_year, m_month, m_day);
}

void UiDateTimePicker::SetDate(int year, int month, int day) {
    m_year = std::clamp(year, m_firstYear, m_lastYear);
    m_month = std::clamp(month, 1, 12);
    m_day = std::clamp(day, 1, DaysInMonth(m_year, m_month));
    if (m_years.IsCreated()) {
        m_years.SetCurSel(m_year - m_firstYear);
        m_months.SetCurSel(m_month - 1);
        FillDays();
    }
}

bool UiDateTimePicker::SetDateValue(int yyyymmdd) {
    const int year = yyyymmdd / 10000;
    const int month = yyyymmdd / 100 % 100;
    const int day = yyyymmdd % 100;
    if (yyyymmdd <= 0 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    SetDate(year, month, day);
    return true;
}

UiChoiceList* UiDateTimePicker::GetColumn(int which) {
    switch (which) {
    case kYearList:
        return &m_years;
    case kMonthList:
        return &m_months;
    case kDayList:
        return &m_days;
    default:
        return nullptr;
    }
}

int UiDateTimePicker::DoModal(UiWin* owner, int animation) {
    CShownModal shown;
    shown.kind = ModalKind::DatePicker;
    shown.items = {u"年", u"月", u"日"};
    CModalScript& script = CModalScript::Instance();
    int result = IDCANCEL;
    if (std::optional<int> answer = script.Take(ModalKind::DatePicker)) {
        if (*answer != 0 && SetDateValue(*answer))
            result = IDOK;
    } else if (UiMessageLoop* loop = UiMessageLoop::Current(); loop && !IsCreated()) {
        if (CreateForm(owner, loop->GetWorkRect())) {
            result = CUiWnd::DoModal(animation) == IDOK ? IDOK : IDCANCEL;
            ShowWindow(false, animation);
            m_years.Destroy();
            m_months.Destroy();
            m_days.Destroy();
            m_ok.Destroy();
            m_cancel.Destroy();
            Destroy();
        }
    }
    shown.answer = result == IDOK ? GetDateValue() : 0;
    script.Record(shown);
    return result;
}

CRect UiDateTimePicker::ColumnRect(int column) const {
    const CRect client = GetClientRect();
    const int left = (client.Width() - 3 * kColumnWidth) / 2 + column * kColumnWidth;
    return {left, kTitleHeight * 2, left + kColumnWidth, client.Height() - 90};
}

void UiDateTimePicker::FillDays() {
    const int days = DaysInMonth(m_year, m_month);
    m_day = std::min(m_day, days);
    if (m_days.GetCount() != days) {
        m_days.RemoveAll();
        for (int d = 1; d <= days; ++d)
            m_days.AddItem(Number(d));
    }
    m_days.SetCurSel(m_day - 1);
    m_days.EnsureItemVisible(m_day - 1);
}

int UiDateTimePicker::OnCreate() {
    SetBkColor(UiTheme::kPanel);
    UiChoiceList* columns[3] = {&m_years, &m_months, &m_days};
    for (int i = 0; i < 3; ++i) {
        columns[i]->SetItemHeight(kRowHeight);
        columns[i]->SetTextAlign(DT_CENTER);
        columns[i]->SetBkColor(UiTheme::kEditBack);
        columns[i]->ShowScrollBar(true);
        if (!columns[i]->Create(this, ColumnRect(i), kYearList + i))
            return -1;
    }
    for (int y = m_firstYear; y <= m_lastYear; ++y)
        m_years.AddItem(Number(y));
    for (int m = 1; m <= 12; ++m)
        m_months.AddItem(Number(m));
    m_years.SetCurSel(m_year - m_firstYear);
    m_years.EnsureItemVisible(m_year - m_firstYear);
    m_months.SetCurSel(m_month - 1);
    m_months.EnsureItemVisible(m_month - 1);
    FillDays();

    const CRect client = GetClientRect();
    const int top = client.Height() - 80;
    const int w = client.Width() / 2 - 30;
    m_ok.SetStyle(UI_BTN_ROUND);
    m_ok.SetText(u"确定");
    m_cancel.SetStyle(UI_BTN_ROUND);
    m_cancel.SetText(u"取消");
    if (!m_ok.Create(this, CRect::FromSize(20, top, w, 60), IDOK) ||
        !m_cancel.Create(this, CRect::FromSize(client.Width() / 2 + 10, top, w, 60), IDCANCEL))
        return -1;
    return CUiWnd::OnCreate();
}

void UiDateTimePicker::OnPaint(CDC& dc) {
    CUiWnd::OnPaint(dc);
    const CRect client = GetClientRect();
    const CRect title{0, 0, client.Width(), kTitleHeight};
    dc.FillRect(title, UiTheme::kPanelTitle);
    const std::u16string shown = Number(m_year) + u"-" + Number(m_month) + u"-" + Number(m_day);
    UiTheme::DrawCentredText(dc, shown, title, UiTheme::kBarText, 24, true);
    static const char16_t* const kHeads[3] = {u"年", u"月", u"日"};
    for (int i = 0; i < 3; ++i) {
        const CRect col = ColumnRect(i);
        UiTheme::DrawCentredText(dc, kHeads[i], {col.left, kTitleHeight, col.right, kTitleHeight * 2}, UiTheme::kText);
    }
}

bool UiDateTimePicker::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LowWord(wParam);
    const int code = HighWord(wParam);
    const int index = static_cast<int>(lParam);
    if (code == UI_LIST_CHOSEN) {
        if (id == kYearList)
            SetDate(m_firstYear + index, m_month, m_day);
        else if (id == kMonthList)
            SetDate(m_year, index + 1, m_day);
        else if (id == kDayList)
            SetDate(m_year, m_month, index + 1);
        else
            return false;
        Invalidate();
        return true;
    }
    if (code == BN_CLICKED && (id == IDOK || id == IDCANCEL)) {
        EndModal(id);
        return true;
    }
    return false;
}
