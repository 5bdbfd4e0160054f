// Failure texts and bodies of the request road; see the header.
#include "framework/net/NetFailure.h"

#include "core/CDataSetWriter.h"

std::u16string NetFailureText(int code) {
    switch (code) {
    case NET_ERR_NO_NETWORK: return u"无法建立网络连接";
    case NET_ERR_CONNECT: return u"无法连接到服务器";
    case NET_ERR_SEND: return u"发送请求失败，请重试";
    case NET_ERR_RECEIVE: return u"接收数据失败，请重试";
    case NET_ERR_SERVER: return u"接收到一个错误信息";
    case NET_ERR_BAD_REPLY: return u"数据接收不全或格式错误";
    default: return u"未取到错误信息";
    }
}

std::u16string NetFailureMessage(int code) {
    std::string number = std::to_string(code);
    std::u16string text = u"错误(";
    text.append(number.begin(), number.end());
    text += u")：";
    text += NetFailureText(code);
    return text;
}

std::vector<std::uint8_t> NetFailureBody(int code) { return CDataSetWriter::ErrorBody(NetFailureMessage(code)); }

std::vector<std::uint8_t> OutcomeUnknownBody() { return CDataSetWriter::ErrorBody(kOutcomeUnknownText); }

std::vector<std::uint8_t> NotPlacedBody() { return CDataSetWriter::ErrorBody(kNotPlacedText); }

bool IsLocalNetworkFailure(int code) { return code >= NET_ERR_NO_NETWORK && code <= NET_ERR_RECEIVE; }
