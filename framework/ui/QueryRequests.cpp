// The trade query request; see the header.
#include "framework/ui/QueryRequests.h"

#include "core/StrUtil.h"
#include "framework/app/CAppData.h"


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
