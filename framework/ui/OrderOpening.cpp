// The order form's opening: its one writer, its one reader, the gate and the opener.
#include "framework/ui/OrderOpening.h"

#include "core/StrUtil.h"
#include "framework/app/CAppData.h"
#include "framework/ui/CBaseWnd.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/WindowKeywords.h"
#include "platform/ui/CUiMessageBox.h"

#include <cstdlib>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Param(std::string_view text, const char* key, bool* present = nullptr) {
    const std::string copy(text);
    char* value = GetUrlParam(copy.c_str(), key);
    if (present)
        *present = value != nullptr;
    std::string out = value ? value : "";
    std::free(value);
    return out;
}

int IntOr(const std::string& text, int fallback) {
    if (text.empty() || text.size() > 9)
        return fallback;
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size())
        return fallback;
    for (size_t k = i; k < text.size(); ++k)
        if (!IsDigit(text[k]))
            return fallback;
    return std::atoi(text.c_str());
}

bool IsPlainValue(std::string_view value) { return !value.empty() && IsPlainRequestText(value); }

} // namespace

std::string OrderOpeningText(const OrderOpening& o) {
    const std::string side = o.sell ? "MMLB=1" : "MMLB=0";
    if (o.code.empty())
        return side;
    if (!IsPlainValue(o.code))
        return {};
    if (!o.price.empty() && !(IsPlainValue(o.price) && IsDecimalNumber(o.price.c_str())))
        return {};
    std::string text = "code=";
    text.append(o.code);
    if (!o.price.empty())
        text.append("&price=").append(o.price);
    if (o.market >= 0)
        text.append("&market=").append(std::to_string(o.market));
    if (o.type >= 0)
        text.append("&type=").append(std::to_string(o.type));
    text.append("&").append(side);
    return text;
}

OrderOpening ReadOrderOpening(std::string_view text) {
    OrderOpening o;
    // Only "1" sells: a stray value never turns into a side of its own.
    o.sell = Param(text, "MMLB") == "1";
    const std::string key = Param(text, "code");
    const std::string code = key.substr(0, key.find('.'));
    if (code.size() <= 6 && IsDigits(code))
        o.code = code;
    const std::string price = Param(text, "price");
    if (IsPriceText(price))
        o.price = price;
    o.market = IntOr(Param(text, "market"), -1);
    o.type = IntOr(Param(text, "type"), -1);
    return o;
}

bool HasOrderSide(std::string_view text) {
    bool present = false;
    Param(text, "MMLB", &present);
    return present;
}

bool TradeLoggedInOrAsk(UiWin* parent, const OrderGate& gate) {
    CAppData* app = CAppData::Instance();
    if (app && app->HasHolderData())
        return true;
    if (!gate.tellFirst.empty())
        UiMessageBox(parent, gate.tellFirst, u"提示");
    if (app)
        app->CheckTradeLogin(parent, gate.notifyValue, false);
    return false;
}

bool OpenOrderForm(UiWin* parent, std::u16string_view title, std::string_view text) {
    if (text.empty())
        return false;
    const std::u16string caption(title);
    const std::string request(text);
    CBaseWnd::GetWndManager().CreateWnd(kOrderFormKeyword, -1, caption.c_str(), "", request.c_str(), 0, parent);
    return true;
}
