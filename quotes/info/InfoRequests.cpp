// The information pages' requests.
#include "quotes/info/InfoRequests.h"

#include "core/StrUtil.h"
#include "quotes/tables/QuoteRequests.h"

#include <cstdlib>

std::string ArticleRequest(std::string_view preset, int id) {
    const std::string main = GetUrlParamText(preset, "tc_mfuncno");
    const std::string sub = GetUrlParamText(preset, "cont_sfunc");
    if (!IsRequestValue(main) || !IsRequestValue(sub))
        return {};
    std::string text = "tc_mfuncno=";
    text += main;
    text += "&tc_sfuncno=";
    text += sub;
    text += "&newsid=";
    text += std::to_string(id);
    return text;
}

std::optional<InfoChildOpen> StockInfoChild(std::string_view childRequest, std::u16string_view childTitle,
                                            bool addStock, std::string_view code,
                                            std::u16string_view stockName) {
    InfoChildOpen open{std::string(childRequest), std::u16string(childTitle)};
    if (!addStock)
        return open;
    if (!IsRequestValue(code))
        return std::nullopt;
    open.request += "&stkcode=";
    open.request += code;
    open.title += u'_';
    open.title += stockName;
    return open;
}
