// The picker's list, its scripted answer and the result message.
#include "framework/ui/CMakeChoiceWnd.h"

#include "framework/ui/WndMessages.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/UiDefs.h"
#include "platform/win/UiMessageLoop.h"

CMakeChoiceWnd::CMakeChoiceWnd(std::u16string_view title, UiWin* owner, int callerId)
    : m_owner(owner ? owner->GetHandle() : nullptr), m_callerId(callerId) {
    m_title.Assign(title);
}

CMakeChoiceWnd::~CMakeChoiceWnd() {
    Destroy();
}

void CMakeChoiceWnd::SetItems(const CChoiceItem* items, int count) {
    m_items.clear();
    m_selected = -1;
    for (int i = 0; items && i < count; ++i) {
        m_items.push_back(items[i]);
        if (m_selected < 0 && items[i].checked)
            m_selected = i;
    }
    if (m_list.IsCreated()) {
        m_list.RemoveAll();
        for (const CChoiceItem& item : m_items)
            m_list.AddItem(item.text.view());
        m_list.SetCurSel(m_selected);
    }
}

void CMakeChoiceWnd::PostChoice(int index) {
    UiMessageLoop* loop = UiMessageLoop::Current();
    if (index < 0 || !loop)
        return;
    int* chosen = new int[2]{index, -1};
    // The loop frees the array when the owner is gone.
    loop->PostOwned(m_owner, WND_MSG_PICKER_RESULT, static_cast<WPARAM>(m_callerId), reinterpret_cast<LPARAM>(chosen),
                    &FreeChoiceIndices);
}

int CMakeChoiceWnd::Choose() {
    CShownModal shown;
    shown.kind = ModalKind::Picker;
    shown.caption = m_title.str();
    for (const CChoiceItem& item : m_items)
        shown.items.push_back(item.text.str());
    if (std::optional<int> answer = CModalScript::Instance().TakeFor(shown)) {
        const int index = *answer >= 0 && *answer < static_cast<int>(m_items.size()) ? *answer : -1;
        PostChoice(index);
        return index;
    }
    m_chosen = -1;
    if (!IsCreated() && !CreateOver(UiWin::FromHandle(m_owner)))
        return -1;
    ShowModal(-1, nullptr, nullptr, ANIM_SLIDE_UP);
    return m_chosen;
}

int CMakeChoiceWnd::OnInitDialog() {
    if (!CBaseWnd::OnInitDialog())
        return 0;
    RemoveClientArea();
    UseTextToolbar(u"取消", u"确定", u"返回");
    m_list.SetItemHeight(60);
    if (!m_list.Create(this, GetBodyRect(), kListId, true))
        return 0;
    SetItems(m_items.empty() ? nullptr : std::vector<CChoiceItem>(m_items).data(), static_cast<int>(m_items.size()));
    return 1;
}

void CMakeChoiceWnd::OnLayout() {
    CBaseWnd::OnLayout();
    if (m_list.IsCreated())
        m_list.MoveWindow(GetBodyRect());
}

bool CMakeChoiceWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LowWord(wParam) == kListId && HighWord(wParam) == UI_LIST_CHOSEN) {
        m_selected = static_cast<int>(lParam);
        return true;
    }
    return CBaseWnd::OnCommand(wParam, lParam);
}

void CMakeChoiceWnd::OnToolbarCommand(int index) {
    if (index == kToolbarMiddle) {
        if (m_selected < 0)
            return;
        m_chosen = m_selected;
        PostChoice(m_chosen);
        EndWindow(kCodeChosen);
        return;
    }
    EndWindow(kCodeCancelled);
}
