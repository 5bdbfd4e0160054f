// The seam between a window and the request worker that carries its
// requests. The program sends through a CNetWorker; tests put a fake here
// to see the texts and to refuse or answer them.
#pragma once

#include "platform/win/Message.h"

#include <string>

class IRequestSender {
public:
    virtual ~IRequestSender() = default;
    // Offers the finished request text (CNetWorker flags) for window, with
    // the tag its CNetReply will carry; true when a worker took it (exactly
    // one NET_MSG_REPLY_READY will follow), false when it was refused (a
    // busy worker) and nothing will be delivered.
    virtual bool Send(HWND window, const std::string& text, unsigned flags, unsigned tag) = 0;
    // True when the worker is idle or becomes idle within ms.
    virtual bool WaitIdle(int ms) = 0;
    // 0 when idle or idle within ms after an abort of the running request
    // (a never-twice request that left is only waited for); 258 when it
    // stays busy.
    virtual int AbortAndWait(int ms) = 0;
    // After a busy refusal: has NET_MSG_WORKER_IDLE posted to window once
    // the worker is free, without waiting. False when the sender cannot
    // (the default): the refusal then stands.
    virtual bool NotifyWhenIdle(HWND /*window*/) { return false; }
};
