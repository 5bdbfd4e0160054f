// The form window and its modal run.
#include "platform/ui/CUiWnd.h"

#include "platform/win/UiMessageLoop.h"

#include <vector>

CUiWnd::CUiWnd() = default;

namespace {
// The forms running modally, innermost last.
std::vector<CUiWnd*> g_modalForms;
} // namespace

CUiWnd::~CUiWnd() {
    std::erase(g_modalForms, this);
}

bool CUiWnd::CreateForm(UiWin* owner, const CRect& rect, bool visible) {
    if (!Create(nullptr, rect, 0, visible))
        return false;
    if (owner)
        SetOwner(owner);
    return true;
}

int CUiWnd::DoModal(int animation) {
    UiMessageLoop* loop = UiMessageLoop::Current();
    if (!loop || m_modalDepth > 0)
        return -1;
    ShowWindow(true, animation);
    m_endPending = false;
    m_result = 0;
    m_modalDepth = loop->ModalDepth() + 1;
    g_modalForms.push_back(this);
    int code = 0;
    // Only EndModal of this window ends this run; a stray loop end (someone
    // ending the innermost loop for another window) runs the loop again.
    for (;;) {
        code = loop->RunModal();
        if (m_endPending || loop->IsQuitting())
            break;
    }
    m_modalDepth = 0;
    std::erase(g_modalForms, this);
    // A form below that was ended while this one ran is due to end now.
    if (!g_modalForms.empty() && g_modalForms.back()->m_endPending &&
        loop->ModalDepth() == g_modalForms.back()->m_modalDepth)
        loop->EndModal(g_modalForms.back()->m_result);
    return m_endPending ? m_result : code;
}

void CUiWnd::EndModal(int code) {
    UiMessageLoop* loop = UiMessageLoop::Current();
    if (m_modalDepth == 0 || m_endPending || !loop)
        return;
    m_result = code;
    m_endPending = true;
    // Only the innermost run can be ended now; when a box runs above this
    // window, it ends first and the loop above in DoModal sees the flag.
    if (loop->ModalDepth() == m_modalDepth)
        loop->EndModal(code);
}

bool CUiWnd::HasModalAbove() const {
    const UiMessageLoop* loop = UiMessageLoop::Current();
    return loop && loop->ModalDepth() > m_modalDepth;
}

void CUiWnd::OnDestroy() {
    if (m_modalDepth > 0)
        EndModal(-1);
    UiWin::OnDestroy();
}
