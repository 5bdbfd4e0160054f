// The trade query request; see the header.
#include "framework/ui/QueryRequests.h"

#include "core/CDataSetList.h"
#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
#include "framework/net/NetFailure.h"


namespace {
} // namespace

std::string BuildQueryRequest(std::string_view preset, std::string_view fundId, std::string_view loginId) {
    if (loginId.empty() || !IsPlainRequestText(fundId))
        return {};
    std::string out(preset);
    out += "&fundid=";
    out += fundId;
    out += '&';
    out += loginId;
    return out;
}

std::string BuildQueryRequest(std::string_view preset, const CAppData& app) {
    const char* loginId = app.GetLoginId();
    return BuildQueryRequest(preset, app.GetFundIdForMarket(nullptr).view(), loginId ? loginId : "");
}

std::u16string QueryFailureText(const std::uint8_t* body, int length) {
    if (body && length > 0) {
        const CDataSetList list(body, length);
        if (list.IsError()) {
            std::u16string text = list.GetErrorText().str();
            if (!text.empty())
                return text;
        }
    }
    return NetFailureText(0);
}
