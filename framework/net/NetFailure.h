// The transport failure codes of the request road and the "error" record
// set a failed exchange becomes ("错误(%d)：%s" with the code's text).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum : int {
    NET_OK = 0,
    NET_ERR_NO_NETWORK = 1,    // no network, name not resolved
    NET_ERR_CONNECT = 2,       // connect refused or timed out
    NET_ERR_SEND = 3,          // the request could not be sent whole
    NET_ERR_RECEIVE = 4,       // the reply could not be read (closed, timed out)
    NET_ERR_SERVER = 5,        // the server answered with an error code and no error set
    NET_ERR_BAD_REPLY = 6,     // bad status line, headers, ETag, body length or body
};

// The text of a code 1..6; "未取到错误信息" for any other.
std::u16string NetFailureText(int code);
// "错误(<code>)：<text>".
std::u16string NetFailureMessage(int code);
// A reply body holding one "error" set with NetFailureMessage(code).
std::vector<std::uint8_t> NetFailureBody(int code);
// The text for a request that must never reach the server twice, that left,
// and that got no answer: whether it was carried out is unknown, so the user
// is sent to the same-day orders instead of being asked to try again.
inline constexpr char16_t kOutcomeUnknownText[] = u"请求异常，请通过当日委托核实";
// A reply body holding one "error" set with kOutcomeUnknownText.
std::vector<std::uint8_t> OutcomeUnknownBody();
// The text for a request that acts and that the server refused unread (the
// session was lost, so it could not open the request): it was not carried
// out, and the user may send it again once logged on.
inline constexpr char16_t kNotPlacedText[] = u"请求未提交：会话已失效，请重新登录后再试";
// A reply body holding one "error" set with kNotPlacedText.
std::vector<std::uint8_t> NotPlacedBody();

// True for the codes of a local network failure (1 to 4), the ones a
// request may be retried after.
bool IsLocalNetworkFailure(int code);
