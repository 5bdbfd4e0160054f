// The pop-up option menu.
#include "framework/ui/widgets/CPopMenuWnd.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/UiTheme.h"
#include "platform/win/UiMessageLoop.h"

#include <algorithm>
#include <climits>
#include <utility>

CPopMenuWnd::CPopMenuWnd() = default;

CPopMenuWnd::~CPopMenuWnd() {
    DestroyButtons();
    m_page.Destroy();
    Destroy();
}

void CPopMenuWnd::AddItem(const CWString& text, int buttonStyle, int commandId) {
    m_items.push_back({text, buttonStyle, commandId});
}

int CPopMenuWnd::GetItemCommand(int index) const {
    if (index < 0 || index >= GetItemCount())
        return 0;
    return m_items[static_cast<size_t>(index)].command;
}

CWString CPopMenuWnd::GetItemText(int index) const {
    if (index < 0 || index >= GetItemCount())
        return {};
    return m_items[static_cast<size_t>(index)].text;
}

int CPopMenuWnd::HeightFor(int itemCount, int workHeight) {
    const long long wanted = static_cast<long long>(std::max(0, itemCount)) * kItemPitch + kPadding;
    return static_cast<int>(std::min<long long>(wanted, std::max(0, workHeight)));
}

int CPopMenuWnd::GetHeight() const {
    const UiMessageLoop* loop = UiMessageLoop::Current();
    return HeightFor(GetItemCount(), loop ? loop->GetWorkRect().Height() : INT_MAX);
}

int CPopMenuWnd::Run(UiWin* parent, const std::vector<CPopMenuItem>& items) {
    CPopMenuWnd menu;
    for (const CPopMenuItem& item : items)
        menu.AddItem(CWString(item.text), UI_BTN_PUSH, item.id);
    const int id = menu.TrackMenu(parent, ANIM_SLIDE_UP, ANIM_SLIDE_DOWN);
    menu.Destroy();
    return id;
}

int CPopMenuWnd::TrackMenu(UiWin* parent, int showAnimation, int hideAnimation) {
    CShownModal shown;
    shown.kind = ModalKind::PopupMenu;
    for (const Item& item : m_items)
        shown.items.push_back(item.text.str());
    return RunModalChoice(std::move(shown), 0, [&](const CRect& workRect) {
        if (m_items.empty() || IsCreated() || !CreateForm(parent, workRect))
            return 0;
        const int chosen = std::max(0, DoModal(showAnimation));
        ShowWindow(false, hideAnimation);
        DestroyButtons();
        m_page.Destroy();
        Destroy();
        return chosen;
    });
}

void CPopMenuWnd::DestroyButtons() {
    for (auto& button : m_buttons)
        button->Destroy();
    m_buttons.clear();
}

int CPopMenuWnd::OnCreate() {
    const CRect client = GetClientRect();
    const int height = HeightFor(GetItemCount(), client.Height());
    m_panel = {0, client.Height() - height, client.Width(), client.Height()};
    if (!m_page.Create(this, m_panel, 1))
        return -1;
    m_page.SetContentHeight(GetItemCount() * kItemPitch + kPadding);
    const int buttonHeight = kItemPitch - 16;
    for (int i = 0; i < GetItemCount(); ++i) {
        const Item& item = m_items[static_cast<size_t>(i)];
        auto button = std::make_unique<UiButton>();
        button->SetStyle(item.style);
        button->SetFontSize(24);
        button->SetText(item.text.view());
        const int top = kPadding / 2 + i * kItemPitch + 8;
        if (!button->Create(&m_page, {kSideMargin, top, client.Width() - kSideMargin, top + buttonHeight},
                            kFirstButtonId + i))
            return -1;
        m_buttons.push_back(std::move(button));
    }
    return CUiWnd::OnCreate();
}

bool CPopMenuWnd::OnCommand(WPARAM wParam, LPARAM) {
    const int index = LowWord(wParam) - kFirstButtonId;
    if (HighWord(wParam) != BN_CLICKED || index < 0 || index >= GetItemCount())
        return false;
    EndModal(GetItemCommand(index));
    return true;
}

void CPopMenuWnd::OnPaint(CDC& dc) {
    // Only the panel is painted: the screen below stays in sight above it.
    dc.FillRect(m_panel, UiTheme::kPanel);
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, 1, UiTheme::kBorder});
    dc.MoveTo(m_panel.left, m_panel.top);
    dc.LineTo(m_panel.right, m_panel.top);
}

void CPopMenuWnd::OnLButtonDown(UINT, CPoint pt) { m_outsidePress = !m_panel.Contains(pt); }

void CPopMenuWnd::OnLButtonUp(UINT, CPoint pt) {
    // A tap above the panel dismisses the menu.
    if (m_outsidePress && !m_panel.Contains(pt))
        EndModal(0);
    m_outsidePress = false;
}

void CPopMenuWnd::OnKeyDown(int key) {
    if (key == VK_ESCAPE)
        EndModal(0);
}
