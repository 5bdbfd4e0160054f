// The ranking sort form: four single-choice lists on a scrolling page.
#include "quotes/tables/CStockSortParamWnd.h"

#include "framework/ui/WndMessages.h"
#include "platform/gdi/CDC.h"
#include "platform/win/UiMessageLoop.h"
#include "quotes/ChoiceForm.h"
#include "quotes/tables/QuoteTableOptions.h"

namespace {
// One row of the form: a label above its list (page coordinates, pixels).
struct FormRow {
    const char16_t* label;
    int labelY;
    int listY;
    int listHeight;
};
constexpr FormRow kRows[4] = {
    {u"市场选择", 20, 60, 185},
    {u"分类选择", 260, 300, 365},
    {u"排序方式", 680, 720, 320},
    {u"排序方向", 1050, 1090, 95},
};
constexpr int kListIds[4] = {CStockSortParamWnd::kMarketListId, CStockSortParamWnd::kCategoryListId,
                             CStockSortParamWnd::kFieldListId, CStockSortParamWnd::kDirectionListId};
constexpr const char* kGroups[3] = {"market", "type", "sort"};
constexpr int kMargin = 40;       // pixels left and right of every control
constexpr int kLabelHeight = 30;  // pixels
constexpr int kPageBottom = 1205; // pixels: the direction list's bottom and a margin
} // namespace

CStockSortParamWnd::CStockSortParamWnd(std::u16string_view caption, UiWin* owner)
    : m_choice(std::make_unique<CSortChoice>()), m_owner(owner ? owner->GetHandle() : nullptr) {
    SetCaption(caption);
    // The form sends nothing, and must not disturb the table's request.
    SetFirstShow(false);
}

CStockSortParamWnd::~CStockSortParamWnd() {
    for (CCheckList& list : m_lists)
        list.RemoveAll();
    Destroy();
}

void CStockSortParamWnd::SetParams(const char* market, const char* category, const char* field, int direction) {
    if (!m_choice)
        return;
    m_choice->market = market ? market : "";
    m_choice->category = category ? category : "";
    m_choice->field = field ? field : "";
    m_choice->direction = direction;
}

int CStockSortParamWnd::OnInitDialog() {
    if (!CNetWnd::OnInitDialog())
        return 0;
    UseTextToolbar(u"确定", u"", u"返回");
    OnLayout(); // the page now reaches down to the toolbar
    CClientArea* page = GetClientArea();
    if (!page)
        return 0;
    for (int i = 0; i < 4; ++i) {
        if (!CreateChoiceLabel(m_labels[i], page, i == 0 ? kMarketLabelId : 0, kRows[i].label) ||
            !CreateChoiceList(m_lists[i], page, kListIds[i], 45))
            return 0;
    }
    PlaceControls();
    page->SetContentHeight(kPageBottom);
    for (int i = 0; i < 3; ++i)
        FillOptionList(kGroups[i], m_lists[i]);
    const int direction = m_choice ? m_choice->direction : 1;
    CCheckList& directions = GetDirectionList();
    AddOption(u"正序", "0", direction == 0, directions);
    AddOption(u"逆序", "1", direction != 0, directions);
    directions.SetCurSel(direction == 0 || direction == 1 ? direction : -1);
    return 1;
}

void CStockSortParamWnd::PlaceControls() {
    const int width = GetClientRect().Width() - 2 * kMargin;
    for (int i = 0; i < 4; ++i) {
        if (m_labels[i].IsCreated())
            m_labels[i].MoveWindow(CRect::FromSize(kMargin, kRows[i].labelY, width, kLabelHeight));
        if (m_lists[i].IsCreated())
            m_lists[i].MoveWindow(CRect::FromSize(kMargin, kRows[i].listY, width, kRows[i].listHeight));
    }
}

void CStockSortParamWnd::OnLayout() {
    CNetWnd::OnLayout();
    PlaceAtPageTop(GetClientArea(), [this] { PlaceControls(); });
}

void CStockSortParamWnd::FillOptionList(const char* group, CCheckList& list) {
    std::string current;
    if (m_choice) {
        const std::string_view name(group);
        current = name == "market" ? m_choice->market : name == "type" ? m_choice->category : m_choice->field;
    }
    const CNameValueList options = LoadQuoteOptionGroup(group);
    int selected = -1;
    for (int i = 0; i < options.GetCount(); ++i) {
        const std::string value = CWString(options.GetName(i)).ToAnsi();
        const bool checked = value == current;
        AddOption(options.GetValue(i), value.c_str(), checked, list);
        if (checked)
            selected = i;
    }
    list.SetCurSel(selected);
}

void CStockSortParamWnd::AddOption(std::u16string_view text, const char* value, bool checked, CCheckList& list) {
    list.AddCheckItem(text, value, checked);
}


void CStockSortParamWnd::CollectParams() {
    if (!m_choice)
        return;
    std::string* fields[3] = {&m_choice->market, &m_choice->category, &m_choice->field};
    for (int i = 0; i < 3; ++i) {
        std::string value = ChosenValue(m_lists[i]);
        // A value too long for the server's code field is not carried.
        if (value.size() > CSortChoice::kMaxCodeLength)
            value.clear();
        *fields[i] = value;
    }
    m_choice->direction = GetDirectionList().GetCurSel();
}

void CStockSortParamWnd::OnToolbarCommand(int index) {
    if (index == kToolbarLeft) {
        CollectParams();
        // The loop takes the choice over: the owner deletes it, or the loop
        // does when the owner is gone before the message reaches it.
        if (UiMessageLoop* loop = UiMessageLoop::Current(); loop && m_choice)
            loop->PostOwned(m_owner, WND_MSG_PARAMS_CHOSEN, 0, reinterpret_cast<LPARAM>(m_choice.release()),
                            &FreeSortChoice);
        EndWindow(1);
    } else if (index == kToolbarRight) {
        EndWindow(2);
    }
}

void CStockSortParamWnd::OnPaint(CDC& dc) {
    CNetWnd::OnPaint(dc);
    // A rounded box behind each list, in this window's coordinates.
    const CPoint origin = GetScreenRect().TopLeft();
    for (const CCheckList& list : m_lists)
        DrawChoiceListBox(dc, origin, list);
}
