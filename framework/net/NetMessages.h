// The private messages of the request road and the packing of the reply
// message. A reply travels by SendMessage, so the packed record and the
// body it points to live only during the send: the worker owns both, and a
// window copies what it keeps.
#pragma once

#include "platform/win/Message.h"

#include <cstdint>

enum : UINT {
    NET_MSG_RUN_REQUEST = 0xFFF20000,  // to a worker: run the request it holds
    NET_MSG_ABORT = 0xFFF20001,        // to a worker: abandon the request in flight
    NET_MSG_REPLY_READY = 0xFFF20002,  // to a window: wParam 0, lParam a const CNetReply*
    NET_MSG_SEND_REQUEST = 0xFFF20003, // to a window: build the request and send it
    // To a window that asked: the worker is free again. Outside the window
    // bases' numbers (WndMessages.h), which 0xFFF20004 onwards belong to.
    NET_MSG_WORKER_IDLE = 0xFFF20100,
};

// What NET_MSG_REPLY_READY carries (lParam points to it during the send).
// Every request a worker took ends in exactly one of these for its window:
// a reply, a failure (with what is known of it), or an abandonment.
struct CNetReply {
    const std::uint8_t* body = nullptr; // record-set bytes; null when length is 0
    int length = 0;                     // bytes at body
    int networkFailure = 0;             // 1 when the body is an "error" set made for a transport failure
    int requestLeft = 0;                // 1 when some byte of the request had left the device
    int outcomeUnknown = 0;             // 1: a never-twice request left and no answer came (the body
                                        //    says "请求异常，请通过当日委托核实")
    int abandoned = 0;                  // 1: the request was abandoned; no body, no answer will come
    unsigned tag = 0;                   // the sender's tag of the request (0 for untagged sends)
};

// The reply record of a NET_MSG_REPLY_READY message.
inline const CNetReply* NetReplyFromLParam(LPARAM lParam) {
    return reinterpret_cast<const CNetReply*>(lParam);
}
