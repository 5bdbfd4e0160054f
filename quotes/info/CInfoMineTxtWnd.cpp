// The information-mark page: its request from the three values it was
// given, and the reply's lines as the page text.
#include "quotes/info/CInfoMineTxtWnd.h"

#include "core/CDataSetList.h"
#include "core/FunctionNumbers.h"
#include "quotes/info/InfoText.h"

std::string InfoMineRequest(std::string_view code, std::string_view ids, std::string_view date) {
    if (!IsInfoMineValue(code) || !IsInfoMineValue(ids) || !IsInfoMineValue(date))
        return {};
    std::string text = std::string(kRequestHead<kFuncInfoMarks>) + "&lmdm=xxld&stkcode=";
    text.append(code);
    text.append("&id=");
    text.append(ids);
    text.append("&date=");
    text.append(date);
    return text;
}

bool IsInfoMineValue(std::string_view value) {
    if (value.empty())
        return false;
    for (char c : value) {
        const bool ok = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' ||
                        c == ',';
        if (!ok)
            return false;
    }
    return true;
}

std::u16string InfoMineText(CDataSetList& reply) {
    CDataSet* set = *reply.GetAt(0);
    std::u16string text = set ? JoinTextColumn(*set, 0) : std::u16string();
    if (text.empty())
        text = CInfoMineTxtWnd::kNoInfoText;
    return text;
}

CInfoMineTxtWnd::CInfoMineTxtWnd() = default;

CInfoMineTxtWnd::~CInfoMineTxtWnd() {
    Destroy();
}

void CInfoMineTxtWnd::SetStockCode(const char* code) {
    if (code && *code)
        m_code = code;
}

void CInfoMineTxtWnd::SetDate(const char* date) {
    if (date && *date)
        m_date = date;
}

void CInfoMineTxtWnd::SetItemId(const char* ids) {
    if (ids && *ids)
        m_ids = ids;
}

int CInfoMineTxtWnd::BuildRequest(CAString& out) {
    std::string text = InfoMineRequest(m_code, m_ids, m_date);
    if (text.empty())
        return 0;
    out.Assign(text);
    return 1;
}

void CInfoMineTxtWnd::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    if (!data || length <= 0)
        return;
    CDataSetList reply(data, length);
    if (ShowReplyError(reply))
        return;
    SetText(InfoMineText(reply));
    Invalidate();
}
