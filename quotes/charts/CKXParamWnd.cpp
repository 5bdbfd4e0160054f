// The K-line chooser: the indicator and period lists on a scrolling page.
#include "quotes/charts/CKXParamWnd.h"

#include "core/StrUtil.h"
#include "framework/ui/WndMessages.h"
#include "platform/gdi/CDC.h"
#include "platform/win/UiMessageLoop.h"
#include "quotes/ChoiceForm.h"
#include "quotes/tables/QuoteTableOptions.h"

#include <cstdlib>

namespace {
constexpr int kMargin = 40;      // pixels left and right of every control
constexpr int kLabelHeight = 30; // pixels
constexpr int kRowHeight = 45;   // pixels of a list row
} // namespace

CKXParamWnd::CKXParamWnd(std::u16string_view caption, UiWin* owner)
    : m_choice(std::make_unique<CKXParamChoice>()), m_owner(owner ? owner->GetHandle() : nullptr) {
    SetCaption(caption);
    // The form sends nothing and must not disturb the chart's request.
    SetFirstShow(false);
    m_techCount = LoadQuoteOptionGroup("tech").GetCount();
}

CKXParamWnd::~CKXParamWnd() {
    m_techList.RemoveAll();
    m_periodList.RemoveAll();
    Destroy();
}

void CKXParamWnd::SetParams(const char* tech, int period) {
    if (!m_choice)
        return;
    const std::string name = tech ? tech : "";
    m_choice->tech = name.size() <= CKXParamChoice::kMaxTechLength ? name : std::string();
    m_choice->period = period;
}

int CKXParamWnd::FindPeriodIndex(int code) {
    for (int i = 0; i < kPeriodCount; ++i)
        if (kPeriods[i].code == code)
            return i;
    return 4;
}

int CKXParamWnd::OnInitDialog() {
    if (!CNetWnd::OnInitDialog())
        return 0;
    UseTextToolbar(u"确定", u"", u"返回");
    OnLayout();
    CClientArea* page = GetClientArea();
    if (!page)
        return 0;
    UiStatic* labels[2] = {&m_techLabel, &m_periodLabel};
    const char16_t* texts[2] = {u"指标选择:", u"周期选择:"};
    CCheckList* lists[2] = {&m_techList, &m_periodList};
    const int ids[2] = {kTechListId, kPeriodListId};
    for (int i = 0; i < 2; ++i) {
        if (!CreateChoiceLabel(*labels[i], page, i == 0 ? kTechLabelId : 0, texts[i]) ||
            !CreateChoiceList(*lists[i], page, ids[i], kRowHeight))
            return 0;
    }
    PlaceControls();
    FillLists();
    return 1;
}

void CKXParamWnd::PlaceControls() {
    const int width = GetClientRect().Width() - 2 * kMargin;
    const int t = m_techCount * kRowHeight;
    if (m_techLabel.IsCreated())
        m_techLabel.MoveWindow(CRect::FromSize(kMargin, 20, width, kLabelHeight));
    if (m_techList.IsCreated())
        m_techList.MoveWindow(CRect::FromSize(kMargin, 60, width, t + 10));
    if (m_periodLabel.IsCreated())
        m_periodLabel.MoveWindow(CRect::FromSize(kMargin, t + 80, width, kLabelHeight));
    if (m_periodList.IsCreated())
        m_periodList.MoveWindow(CRect::FromSize(kMargin, t + 120, width, kPeriodCount * kRowHeight + 10));
    if (CClientArea* page = GetClientArea())
        page->SetContentHeight(t + 120 + kPeriodCount * kRowHeight + 10 + 20);
}

void CKXParamWnd::OnLayout() {
    CNetWnd::OnLayout();
    PlaceAtPageTop(GetClientArea(), [this] { PlaceControls(); });
}

void CKXParamWnd::FillLists() {
    const std::string current = m_choice ? m_choice->tech : std::string();
    const int period = m_choice ? m_choice->period : 0;
    const CNameValueList options = LoadQuoteOptionGroup("tech");
    int selected = -1;
    for (int i = 0; i < options.GetCount(); ++i) {
        const std::string value = CWString(options.GetName(i)).ToAnsi();
        const bool checked = !current.empty() && StrEqualNoCase(value.c_str(), current.c_str()) == 0;
        m_techList.AddCheckItem(options.GetValue(i), value.c_str(), checked);
        if (checked)
            selected = i;
    }
    m_techList.SetCurSel(selected);
    for (const Period& p : kPeriods)
        m_periodList.AddCheckItem(p.text, std::to_string(p.code).c_str(), p.code == period);
    m_periodList.SetCurSel(FindPeriodIndex(period));
}

void CKXParamWnd::CollectParams() {
    if (!m_choice)
        return;
    // A name too long for the server's field is never carried; nothing
    // selected keeps what the form was given.
    const std::string tech = ChosenValue(m_techList);
    if (!tech.empty() && tech.size() <= CKXParamChoice::kMaxTechLength)
        m_choice->tech = tech;
    const std::string period = ChosenValue(m_periodList);
    if (!period.empty())
        m_choice->period = static_cast<int32_t>(std::strtol(period.c_str(), nullptr, 10));
}

void CKXParamWnd::OnToolbarCommand(int index) {
    if (index == kToolbarLeft) {
        CollectParams();
        if (UiMessageLoop* loop = UiMessageLoop::Current(); loop && m_choice)
            loop->PostOwned(m_owner, WND_MSG_PARAMS_CHOSEN, 0, reinterpret_cast<LPARAM>(m_choice.release()),
                            &FreeKXParamChoice);
        EndWindow(1);
    } else if (index == kToolbarRight) {
        EndWindow(2);
    }
}

void CKXParamWnd::OnPaint(CDC& dc) {
    CNetWnd::OnPaint(dc);
    const CPoint origin = GetScreenRect().TopLeft();
    DrawChoiceListBox(dc, origin, m_techList);
    DrawChoiceListBox(dc, origin, m_periodList);
}
