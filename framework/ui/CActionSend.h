// One send of a request that acts (an order, a cancellation, the password
// change, an exercise, the token application, the trade login), made from a
// page's press. The page owns one CActionSend and hands it the road's
// events; the piece keeps the page's state and decides what became of the
// request:
//
//   Ready    the press may be made;
//   Sending  the press passed its checks and a worker took the request;
//   Telling  its end is known and the page is telling the user.
//
// Send takes a free worker (CNetWnd::TakeFreeWorker: the GUI never waits)
// and sends through CNetWnd::SendAction, once. Every way it may fail to go
// — no worker, a refusal, an abandonment — reaches the page's
// OnRequestNotSent, which hands it to TakeNotSent; a reply reaches
// OnNetReply, which hands it to TakeReply. Whether the user may press again
// is decided by whether a byte of the request left (ActionEndOf...): nothing
// left is "not sent", something left without an answer is "unknown", which
// is never answered with "try again". While the piece is not Ready the page
// ignores a second press, its toolbar, the back swipe, the caption's back
// and trade buttons and a close message (IsBusy, Swallows), so the end
// always has a page to reach and a user to be told.
#pragma once

#include "framework/net/NetFailure.h"
#include "framework/net/NetMessages.h"
#include "framework/ui/CNetWnd.h"

#include <optional>
#include <string>
#include <string_view>

// What became of a request that acts.
enum class ActionEnd {
    Answered, // the server's answer (an error set included) is in: the page reads it
    NotSent,  // no byte left the device: the press may be made again
    Unknown,  // it left and no readable answer came: only the orders can tell
};

// The end told by a reply record: an unknown outcome, a failure before
// anything left, a refusal the server read out (an "error" set), an empty
// or unreadable answer to a request that left.
ActionEnd ActionEndOfReply(const CNetReply& reply);
// The end of a request that was not sent or was abandoned; requestLeft:
// the abandonment said a byte had left.
ActionEnd ActionEndOfNotSent(CNetWnd::NotSent why, bool requestLeft);

class CActionSend {
public:
    enum class State { Ready, Sending, Telling };

    // page: the page that owns the piece (outlives it). notSent: the page's
    // text for a request that did not leave; unknown: its text for one that
    // left unanswered.
    CActionSend(CNetWnd& page, std::u16string_view notSent,
                std::u16string_view unknown = kOutcomeUnknownText);

    State GetState() const { return m_state; }
    bool IsReady() const { return m_state == State::Ready; }
    bool IsSending() const { return m_state == State::Sending; }
    // From the press until the end was told.
    bool IsBusy() const { return m_state != State::Ready; }

    // The press that passed its checks: a free worker, then the page's
    // request that acts, once. True when a worker took it; false when it
    // was not ready, or the failure was handed to the page's
    // OnRequestNotSent (and so to TakeNotSent) before this returns.
    bool Send(int mainFunc = -1, int subFunc = 0);
    // From the page's OnRequestNotSent: nullopt when no send of the piece
    // is under way (nothing to do); NotSent makes it Ready, Unknown Telling.
    std::optional<ActionEnd> TakeNotSent(CNetWnd::NotSent why);
    // From the page's OnNetReply: nullopt when no send is under way; the
    // end, the piece Ready after NotSent, else Telling.
    std::optional<ActionEnd> TakeReply(const CNetReply& reply);
    // The end was told: Ready for another press.
    void Done() { m_state = State::Ready; }

    // The page's text for an end that is not an answer (caption "提示"):
    // the not-sent text or the unknown text.
    std::u16string_view FailureText(ActionEnd end) const;
    // Shows FailureText(end) in a box over the page.
    void TellFailure(ActionEnd end);

    // True for the messages a busy page drops: a close, the caption's back
    // and trade buttons.
    bool Swallows(UINT msg) const;

private:
    CNetWnd& m_page;
    std::u16string m_notSent;
    std::u16string m_unknown;
    State m_state = State::Ready;
};
