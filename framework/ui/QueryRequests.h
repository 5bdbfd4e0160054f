// The request text of the trade query tables, as a function of the values
// it carries, so that what reaches the server is known without a window.
// Built by appending: a long preset is sent whole.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CAppData;

// "<preset>&fundid=<fund id>&<login id>": the trade query of the query
// tables and the tabbed query (sealed by the window). The login id is the
// parameter text the trade login handed out and goes as it is; the fund
// id, from the holder records, travels only when it holds ASCII letters,
// digits and "." alone (empty, before the holders are known, included).
// Empty, nothing to send, without a login id or for such a fund id.
std::string BuildQueryRequest(std::string_view preset, std::string_view fundId, std::string_view loginId);
// The same with the fund id of app's first holder record and its login id.
std::string BuildQueryRequest(std::string_view preset, const CAppData& app);

// What a query window tells the user when its query could not go (no
// session key, a refused text, a busy worker) or was abandoned. Nothing
// to send (no trade login) stays silent: nothing is sent.
inline constexpr char16_t kQueryNotSentText[] = u"查询未能发出，请稍后再试";

// What a query window tells the user when its exchange failed: the text of
// the failure's "error" set (the worker makes one for every failure of the
// road), or "未取到错误信息" when the body holds none.
std::u16string QueryFailureText(const std::uint8_t* body, int length);
