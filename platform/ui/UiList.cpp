// The owner-drawn list: items, selection, scrolling and finger tracking.
#include "platform/ui/UiList.h"

#include "platform/Clock.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/UiTheme.h"

#include <algorithm>

UiList::UiList() : m_scroller([this] { return GetMaxScroll(); }, [this](int, int) { Invalidate(); }) {}

UiList::~UiList() = default;

int UiList::AddItem(std::u16string_view text, std::uintptr_t data) {
    m_items.push_back({std::u16string(text), data});
    Invalidate();
    return GetCount() - 1;
}

int UiList::InsertItem(int index, std::u16string_view text, std::uintptr_t data) {
    index = std::clamp(index, 0, GetCount());
    m_items.insert(m_items.begin() + index, {std::u16string(text), data});
    if (m_curSel >= index)
        ++m_curSel;
    Invalidate();
    return index;
}

bool UiList::RemoveItem(int index) {
    if (index < 0 || index >= GetCount())
        return false;
    const std::uintptr_t data = m_items[index].data;
    m_items.erase(m_items.begin() + index);
    if (m_curSel == index)
        m_curSel = -1;
    else if (m_curSel > index)
        --m_curSel;
    SetScrollPos(GetScrollPos());
    Invalidate();
    OnRemoveItem(index, data);
    return true;
}

void UiList::RemoveAll() {
    std::vector<UiListItem> gone;
    gone.swap(m_items);
    m_curSel = -1;
    m_scroller.Reset();
    if (IsCreated())
        KillTimer(kMomentumTimer);
    Invalidate();
    for (size_t i = 0; i < gone.size(); ++i)
        OnRemoveItem(static_cast<int>(i), gone[i].data);
}

std::u16string UiList::GetItemText(int index) const {
    if (index < 0 || index >= GetCount())
        return {};
    return m_items[index].text;
}

void UiList::SetItemText(int index, std::u16string_view text) {
    if (index < 0 || index >= GetCount())
        return;
    m_items[index].text = text;
    RedrawItem(index);
}

std::uintptr_t UiList::GetItemData(int index) const {
    if (index < 0 || index >= GetCount())
        return 0;
    return m_items[index].data;
}

void UiList::SetItemData(int index, std::uintptr_t data) {
    if (index < 0 || index >= GetCount())
        return;
    m_items[index].data = data;
}

void UiList::SortItems(const UiListLess& less, int first, int count) {
    if (!less || first < 0 || first >= GetCount())
        return;
    const int last = count < 0 ? GetCount() : std::min(GetCount(), first + count);
    // Sort (position, item) pairs so the selection can follow its item.
    std::vector<std::pair<int, UiListItem>> span;
    span.reserve(last - first);
    for (int i = first; i < last; ++i)
        span.emplace_back(i, std::move(m_items[i]));
    std::stable_sort(span.begin(), span.end(),
                     [&less](const auto& a, const auto& b) { return less(a.second, b.second); });
    int newSel = m_curSel;
    for (int i = first; i < last; ++i) {
        auto& entry = span[i - first];
        if (entry.first == m_curSel)
            newSel = i;
        m_items[i] = std::move(entry.second);
    }
    m_curSel = newSel;
    Invalidate();
}

void UiList::SetItemHeight(int pixels) {
    m_itemHeight = std::max(1, pixels);
    SetScrollPos(GetScrollPos());
    Invalidate();
}

void UiList::SetSeparators(bool on, bool belowLast) {
    m_separators = on;
    m_separatorBelowLast = belowLast;
    Invalidate();
}

void UiList::SetSlideMode(int mode) {
    m_slideMode = mode;
    if (mode == UI_SLIDE_NONE)
        StopScrolling();
}

void UiList::ShowScrollBar(bool show) {
    m_scrollBar = show;
    Invalidate();
}

void UiList::SetCurSel(int index) {
    if (index < 0 || index >= GetCount())
        index = -1;
    const int old = m_curSel;
    m_curSel = index;
    RedrawItem(old);
    RedrawItem(index);
}

void UiList::RedrawItem(int index) {
    if (index >= 0 && index < GetCount())
        Invalidate();
}

CRect UiList::GetItemRect(int index) const {
    const int top = index * m_itemHeight - GetScrollPos();
    return {0, top, GetClientRect().Width(), top + m_itemHeight};
}

int UiList::HitTest(CPoint pt) const {
    if (!GetClientRect().Contains(pt))
        return -1;
    const int y = pt.y + GetScrollPos();
    if (y < 0)
        return -1;
    const int index = y / m_itemHeight;
    return index < GetCount() ? index : -1;
}

int UiList::GetMaxScroll() const {
    return std::max(0, GetCount() * m_itemHeight - GetClientRect().Height());
}

void UiList::SetScrollPos(int pixels) { m_scroller.ScrollTo(pixels); }

void UiList::EnsureItemVisible(int index) {
    if (index < 0 || index >= GetCount())
        return;
    const int top = index * m_itemHeight;
    const int height = GetClientRect().Height();
    if (top < GetScrollPos())
        SetScrollPos(top);
    else if (top + m_itemHeight > GetScrollPos() + height)
        SetScrollPos(top + m_itemHeight - height);
}

void UiList::StopScrolling() {
    m_scroller.Stop();
    if (IsCreated())
        KillTimer(kMomentumTimer);
}

void UiList::DrawItem(CDC& dc, int index, const CRect& rect, bool selected) {
    if (selected)
        dc.DrawSelectionBand(rect);
    const CDCStateSaver saved(dc);
    dc.SelectFont({m_fontSize, 400});
    // Dark text on the light selection band, the control's colour elsewhere.
    dc.SetTextColor(selected ? UiTheme::kText : GetTextColor());
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(m_items[index].text, rect.Deflate(10, 0), DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void UiList::OnRemoveItem(int, std::uintptr_t) {}

void UiList::OnPaint(CDC& dc) {
    UiWin::OnPaint(dc);
    const CRect client = GetClientRect();
    if (m_itemHeight <= 0 || m_items.empty())
        return;
    const int first = std::max(0, GetScrollPos() / m_itemHeight);
    const int last = std::min(GetCount() - 1, (GetScrollPos() + client.Height()) / m_itemHeight);
    for (int i = first; i <= last; ++i) {
        const CRect r = GetItemRect(i);
        DrawItem(dc, i, r, i == m_curSel);
        if (m_separators && (i + 1 < GetCount() || m_separatorBelowLast)) {
            const CDCStateSaver saved(dc);
            dc.SelectPen({PS_SOLID, 1, UiTheme::kSeparator});
            dc.MoveTo(r.left, r.bottom - 1);
            dc.LineTo(r.right, r.bottom - 1);
        }
    }
    if (m_scrollBar)
        UiTheme::DrawScrollThumb(dc, client, GetCount() * m_itemHeight, GetScrollPos());
}

void UiList::OnLButtonDown(UINT flags, CPoint pt) {
    if (m_scroller.Press(pt, CClock::Instance().TickCount()))
        KillTimer(kMomentumTimer);
    // A list that never slides lets the page under it scroll instead; it
    // keeps the capture so that its own release still comes to it.
    if (m_slideMode == UI_SLIDE_NONE)
        ForwardMouseToParent(this, WM_LBUTTONDOWN, flags, pt);
    SetCapture();
}

void UiList::OnMouseMove(UINT flags, CPoint pt) {
    if (!Tracker().IsPressed())
        return;
    if (m_slideMode != UI_SLIDE_NONE) {
        m_scroller.Drag(pt, CClock::Instance().TickCount());
    } else {
        m_scroller.Track(pt, CClock::Instance().TickCount());
        ForwardMouseToParent(this, WM_MOUSEMOVE, flags, pt);
    }
}

void UiList::OnLButtonUp(UINT flags, CPoint pt) {
    if (GetCapture() == this)
        ReleaseCapture();
    if (!Tracker().IsPressed())
        return;
    if (m_slideMode == UI_SLIDE_NONE)
        ForwardMouseToParent(this, WM_LBUTTONUP, flags, pt);
    const std::uint64_t now = CClock::Instance().TickCount();
    if (m_slideMode == UI_SLIDE_NONE || GetMaxScroll() == 0)
        m_scroller.Lift(pt, now);
    else if (m_scroller.Release(pt, now))
        SetTimer(kMomentumTimer, CMouseTracker::kStepIntervalMs);
}

int UiList::ReleaseAndHitTap(UINT flags, CPoint pt) {
    const bool wasPressed = Tracker().IsPressed();
    UiList::OnLButtonUp(flags, pt);
    if (!wasPressed || !IsTap())
        return -1;
    return HitTest(pt);
}

void UiList::OnTimer(UINT id) {
    if (id != kMomentumTimer) {
        UiWin::OnTimer(id);
        return;
    }
    if (!m_scroller.Tick(CClock::Instance().TickCount()))
        KillTimer(kMomentumTimer);
}

void UiList::OnSize(int, int) { SetScrollPos(GetScrollPos()); }

void UiList::OnDestroy() {
    RemoveAll();
    UiWin::OnDestroy();
}
