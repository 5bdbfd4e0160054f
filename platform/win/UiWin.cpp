// The window object: tree, geometry, state, focus, capture, timers and the
// default window procedure. Messages and painting of the whole screen are
// the loop's (UiMessageLoop.cpp); the process-wide registry is
// UiWindowTable's.
#include "platform/win/UiWin.h"

#include "platform/gdi/CDC.h"
#include "platform/win/UiGesture.h"
#include "platform/win/UiMessageLoop.h"
#include "platform/win/UiWindowTable.h"

#include <algorithm>

namespace {
UiWindowTable& Table() { return UiWindowTable::Instance(); }
} // namespace

UiWin::UiWin() = default;

UiWin::~UiWin() { Destroy(); }

bool UiWin::Create(UiWin* parent, const CRect& rect, int id, bool visible) {
    if (m_handle)
        return false;
    if (parent && !parent->IsCreated())
        return false;
    m_handle = Table().Register(this);
    m_parent = parent;
    m_rect = rect;
    m_id = id;
    m_visible = visible;
    if (parent)
        parent->m_children.push_back(this);
    else
        Table().TopLevels().push_back(this);
    if (WndProc(WM_CREATE, 0, 0) == -1) {
        Destroy();
        return false;
    }
    Invalidate();
    return true;
}

void UiWin::Destroy() {
    // A handler that destroys the window again while it is being destroyed
    // (its own WM_DESTROY, a child's) finds the work under way.
    if (!m_handle || m_destroying)
        return;
    m_destroying = true;
    if (IsShownOnScreen())
        Table().MarkDirty(GetScreenRect());
    // Children first; each removes itself from m_children.
    while (!m_children.empty()) {
        UiWin* child = m_children.back();
        child->Destroy();
        if (!m_children.empty() && m_children.back() == child)
            m_children.pop_back(); // a child that could not unlink itself
    }
    WndProc(WM_DESTROY, 0, 0);
    HWND handle = m_handle;
    UiWindowTable& table = Table();
    table.Unregister(handle);
    m_handle = nullptr;
    table.KillTimers(handle);
    UiGesture::ReleaseGestures(handle);
    if (table.capture == handle)
        table.capture = nullptr;
    if (table.focus == handle)
        table.focus = nullptr;
    if (m_parent) {
        auto& siblings = m_parent->m_children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        m_parent = nullptr;
    } else {
        auto& tops = table.TopLevels();
        tops.erase(std::remove(tops.begin(), tops.end(), this), tops.end());
    }
    m_destroying = false;
}

UiWin* UiWin::FromHandle(HWND handle) { return Table().Resolve(handle); }

void UiWin::SetOwner(UiWin* owner) { m_owner = owner ? owner->GetHandle() : nullptr; }

UiWin* UiWin::GetOwner() const { return FromHandle(m_owner); }

UiWin* UiWin::FindChild(int id) const {
    for (UiWin* child : m_children) {
        if (child->m_id == id)
            return child;
        if (UiWin* found = child->FindChild(id))
            return found;
    }
    return nullptr;
}

CRect UiWin::GetScreenRect() const {
    CRect r = m_rect;
    for (const UiWin* p = m_parent; p; p = p->m_parent)
        r = r.Offset(p->m_rect.left, p->m_rect.top);
    return r;
}

CPoint UiWin::ScreenToClient(CPoint screen) const {
    CRect r = GetScreenRect();
    return {screen.x - r.left, screen.y - r.top};
}

void UiWin::MoveWindow(const CRect& rect, bool repaint) {
    CRect old = m_rect;
    const HWND self = m_handle;
    if (self && old != rect && IsShownOnScreen())
        Table().MarkDirty(GetScreenRect()); // what it leaves
    m_rect = rect;
    if (!self)
        return;
    // Each handler may destroy or delete this window: go on only while its
    // handle still resolves to it (handles are never reused).
    if (old.TopLeft() != rect.TopLeft())
        WndProc(WM_MOVE, 0, MakeLParam(rect.left, rect.top));
    if (FromHandle(self) != this)
        return;
    if (old.Width() != rect.Width() || old.Height() != rect.Height())
        WndProc(WM_SIZE, 0, MakeLParam(rect.Width(), rect.Height()));
    if (FromHandle(self) == this && (repaint || old != rect))
        Invalidate();
}

void UiWin::ShowWindow(bool show, int animation) {
    if (show)
        m_lastShowAnimation = animation;
    else
        m_lastHideAnimation = animation;
    if (m_visible == show)
        return;
    m_visible = show;
    if (!m_handle)
        return;
    if (show && !m_parent)
        Table().RaiseToTop(this);
    // Shown or hidden, its place on the screen changes.
    Table().MarkDirty(GetScreenRect());
    WndProc(WM_SHOWWINDOW, show ? 1 : 0, 0);
}

bool UiWin::IsShownOnScreen() const {
    if (!m_handle)
        return false;
    for (const UiWin* w = this; w; w = w->m_parent)
        if (!w->m_visible)
            return false;
    return true;
}

void UiWin::EnableWindow(bool enable) {
    if (m_enabled == enable)
        return;
    m_enabled = enable;
    const HWND self = m_handle;
    if (!self)
        return;
    WndProc(WM_ENABLE, enable ? 1 : 0, 0);
    if (FromHandle(self) == this) // the handler may have deleted it
        Invalidate();
}

void UiWin::SetFocus() {
    const HWND self = m_handle;
    if (!self)
        return;
    UiWindowTable& table = Table();
    if (table.focus == self)
        return;
    HWND oldHandle = table.focus;
    table.focus = self;
    if (UiWin* old = FromHandle(oldHandle))
        old->WndProc(WM_KILLFOCUS, reinterpret_cast<WPARAM>(self), 0);
    // The old window's handler may have moved the focus elsewhere, or
    // destroyed (even deleted) this window, which clears the focus.
    if (table.focus == self)
        WndProc(WM_SETFOCUS, reinterpret_cast<WPARAM>(oldHandle), 0);
}

bool UiWin::HasFocus() const { return m_handle && Table().focus == m_handle; }

UiWin* UiWin::GetFocus() { return FromHandle(Table().focus); }

void UiWin::SetCapture() {
    if (!m_handle)
        return;
    UiWindowTable& table = Table();
    if (table.capture == m_handle)
        return;
    HWND old = table.capture;
    table.capture = m_handle;
    if (UiWin* w = FromHandle(old))
        w->WndProc(WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(m_handle));
}

void UiWin::ReleaseCapture() {
    UiWindowTable& table = Table();
    HWND old = table.capture;
    table.capture = nullptr;
    if (UiWin* w = FromHandle(old))
        w->WndProc(WM_CAPTURECHANGED, 0, 0);
}

UiWin* UiWin::GetCapture() { return FromHandle(Table().capture); }

void UiWin::SetText(std::u16string_view text) {
    if (m_text == text)
        return;
    m_text.assign(text);
    Invalidate();
}

void UiWin::Invalidate() {
    if (!m_handle)
        return;
    // The whole top-level window: what a window draws may depend on its
    // parents' state, which marked nothing when it changed.
    const UiWin* top = this;
    while (top->m_parent)
        top = top->m_parent;
    Table().MarkDirty(top->m_rect);
}

void UiWin::InvalidateRect(const CRect& clientRect) {
    if (!m_handle)
        return;
    const CRect screen = GetScreenRect();
    Table().MarkDirty(clientRect.Offset(screen.left, screen.top).Intersect(screen));
}

void UiWin::UpdateWindow() {
    UiMessageLoop* loop = UiMessageLoop::Current();
    if (loop && loop->IsGuiThread() && Table().dirty)
        loop->PaintNow();
}

void UiWin::SetTimer(UINT id, UINT intervalMs) {
    if (m_handle)
        Table().SetTimer(m_handle, id, intervalMs);
}

void UiWin::KillTimer(UINT id) {
    if (m_handle)
        Table().KillTimer(m_handle, id);
}

void UiWin::KillAllTimers() {
    if (m_handle)
        Table().KillTimers(m_handle);
}

LRESULT UiWin::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessage(m_handle, msg, wParam, lParam);
}

bool UiWin::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::PostMessage(m_handle, msg, wParam, lParam);
}

LRESULT UiWin::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
        OnSize(LowWord(static_cast<std::uintptr_t>(lParam)), HighWord(static_cast<std::uintptr_t>(lParam)));
        return 0;
    case WM_SHOWWINDOW:
        OnShowWindow(wParam != 0);
        return 0;
    case WM_SETFOCUS:
        OnSetFocus();
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus();
        return 0;
    case WM_TIMER:
        OnTimer(static_cast<UINT>(wParam));
        return 0;
    case WM_COMMAND:
        return OnCommand(wParam, lParam) ? 1 : 0;
    case WM_CHAR:
        OnChar(static_cast<char16_t>(wParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<int>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), {SignedLow(lParam), SignedHigh(lParam)});
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), {SignedLow(lParam), SignedHigh(lParam)});
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), {SignedLow(lParam), SignedHigh(lParam)});
        return 0;
    default:
        return 0;
    }
}

void UiWin::OnPaint(CDC&) {}
void UiWin::OnLButtonDown(UINT, CPoint) {}
void UiWin::OnLButtonUp(UINT, CPoint) {}
void UiWin::OnMouseMove(UINT, CPoint) {}
void UiWin::OnTimer(UINT) {}
bool UiWin::OnCommand(WPARAM, LPARAM) { return false; }
void UiWin::OnChar(char16_t) {}
void UiWin::OnKeyDown(int) {}
void UiWin::OnSize(int, int) {}
void UiWin::OnShowWindow(bool) {}
void UiWin::OnSetFocus() {}
void UiWin::OnKillFocus() {}
int UiWin::OnCreate() { return 0; }
void UiWin::OnDestroy() {}

void UiWin::NotifyParent(int code, LPARAM value) {
    UiWin* target = m_parent ? m_parent : GetOwner();
    if (target)
        target->PostMessage(WM_COMMAND, MakeWParam(m_id, code), value);
}

UiWin* UiWin::ChildFromPoint(CPoint pt) {
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it) {
        UiWin* child = *it;
        if (child->m_visible && child->m_enabled && child->m_rect.Contains(pt))
            return child->ChildFromPoint({pt.x - child->m_rect.left, pt.y - child->m_rect.top});
    }
    return this;
}

void UiWin::PaintTree(CDC& dc) {
    CPoint origin = dc.GetOrigin();
    CRect clip = dc.GetClipRect().Offset(origin.x, origin.y).Intersect(GetClientRect().Offset(origin.x, origin.y));
    if (clip.IsEmpty())
        return;
    {
        CDC own(dc.GetSurface(), origin, clip);
        // A pass that logs no texts and draws nowhere here (a partial
        // repaint elsewhere) has nothing to do in this window or below.
        if (own.GetSurface() && !own.GetSurface()->LogsTexts() && own.GetDrawRect().IsEmpty())
            return;
        if (m_hasBk && !CoversClient()) {
            // What an opaque child fills again is not filled here first.
            std::vector<CRect> covered;
            for (UiWin* child : m_children)
                if (child->m_visible && child->m_hasBk)
                    covered.push_back(child->m_rect);
            for (const CRect& part : SubtractRects(GetClientRect(), covered))
                own.FillRect(part, m_bkColor);
        }
        OnPaint(own);
    }
    // OnPaint may destroy or add children; walk a copy and skip the gone.
    std::vector<HWND> children;
    for (UiWin* child : m_children)
        children.push_back(child->m_handle);
    for (HWND handle : children) {
        UiWin* child = FromHandle(handle);
        if (!child || child->m_parent != this || !child->m_visible)
            continue;
        CDC childDc(dc.GetSurface(), {origin.x + child->m_rect.left, origin.y + child->m_rect.top}, clip);
        child->PaintTree(childDc);
    }
}
