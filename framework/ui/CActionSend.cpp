// The one send of a page's request that acts; see the header.
#include "framework/ui/CActionSend.h"

#include "core/CDataSetList.h"
#include "framework/ui/WndMessages.h"
#include "platform/ui/CUiMessageBox.h"

ActionEnd ActionEndOfReply(const CNetReply& reply) {
    if (reply.outcomeUnknown)
        return ActionEnd::Unknown;
    if (reply.networkFailure && !reply.requestLeft)
        return ActionEnd::NotSent;
    // Past here something reached the server: only a whole answer says
    // what it did.
    if (!reply.body || reply.length <= 0)
        return ActionEnd::Unknown;
    CDataSetList list(reply.body, reply.length);
    if (list.IsUnreadable())
        return ActionEnd::Unknown;
    // A failure after it left counts only when the server said why (it
    // refused the request unread).
    if (reply.networkFailure && !list.HasErrorSet())
        return ActionEnd::Unknown;
    return ActionEnd::Answered;
}

ActionEnd ActionEndOfNotSent(CNetWnd::NotSent why, bool requestLeft) {
    return why == CNetWnd::NotSent::Abandoned && requestLeft ? ActionEnd::Unknown : ActionEnd::NotSent;
}

CActionSend::CActionSend(CNetWnd& page, std::u16string_view notSent, std::u16string_view unknown)
    : m_page(page), m_notSent(notSent), m_unknown(unknown) {}

bool CActionSend::Send(int mainFunc, int subFunc) {
    if (m_state != State::Ready)
        return false;
    m_state = State::Sending;
    if (!m_page.TakeFreeWorker()) {
        m_page.OnRequestNotSent(CNetWnd::NotSent::WorkerBusy);
        // A page that did not hand the refusal on is made ready all the same.
        m_state = State::Ready;
        return false;
    }
    if (m_page.SendAction(mainFunc, subFunc))
        return true;
    if (m_state == State::Sending)
        m_state = State::Ready;
    return false;
}

std::optional<ActionEnd> CActionSend::TakeNotSent(CNetWnd::NotSent why) {
    if (m_state != State::Sending)
        return std::nullopt;
    const ActionEnd end = ActionEndOfNotSent(why, m_page.AbandonedAfterLeaving());
    m_state = end == ActionEnd::NotSent ? State::Ready : State::Telling;
    return end;
}

std::optional<ActionEnd> CActionSend::TakeReply(const CNetReply& reply) {
    if (m_state != State::Sending)
        return std::nullopt;
    const ActionEnd end = ActionEndOfReply(reply);
    m_state = end == ActionEnd::NotSent ? State::Ready : State::Telling;
    return end;
}

std::u16string_view CActionSend::FailureText(ActionEnd end) const {
    return end == ActionEnd::NotSent ? std::u16string_view(m_notSent) : std::u16string_view(m_unknown);
}

void CActionSend::TellFailure(ActionEnd end) {
    UiMessageBox(&m_page, FailureText(end), u"提示", MB_OK);
}

bool CActionSend::Swallows(UINT msg) const {
    return IsBusy() && (msg == WND_MSG_CLOSE || msg == WND_MSG_CAPTION_BACK || msg == WND_MSG_CAPTION_TRADE);
}
