// The confirmation page's lines, checks and request texts.
#include "trade/orders/OrderRequests.h"

#include "core/FunctionNumbers.h"
#include "core/StrUtil.h"

#include <cstdlib>
#include <optional>

namespace {

// The text in 8 bits when every unit is ASCII; nullopt otherwise.
std::optional<std::string> Ascii(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c == 0 || c > 0x7E)
            return std::nullopt;
        out.push_back(static_cast<char>(c));
    }
    return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// ASCII letters, digits and ".", not empty.
bool IsPlainValue(std::string_view value) { return !value.empty() && IsPlainRequestText(value); }

// Digits with at most one point, above zero.
bool IsPrice(std::string_view price) {
    return IsPriceText(price) && price.find_first_not_of("0.") != std::string_view::npos;
}

bool IsTradeMarket(std::string_view market) {
    return market == "0" || market == "1" || market == "2" || market == "3";
}

// A holder an order may name: a trade market, an account, and a fund id
// that is plain, or absent where none is required.
bool IsHolder(const HolderParams& h, bool fundRequired) {
    if (!IsTradeMarket(h.market) || !IsPlainValue(h.secuid))
        return false;
    return h.fundid.empty() ? !fundRequired : IsPlainValue(h.fundid);
}

void AppendParam(std::string& out, std::string_view name, std::string_view value) {
    out += '&';
    out += name;
    out += '=';
    out += value;
}

void AppendHolder(std::string& out, const HolderParams& h) {
    AppendParam(out, "market", h.market);
    AppendParam(out, "secuid", h.secuid);
    AppendParam(out, "fundid", h.fundid);
}

void AppendList(std::string& list, std::string_view value) {
    if (!list.empty())
        list += ',';
    list += value;
}

} // namespace

HolderParams ReadHolderParams(std::string_view holder) {
    return {GetUrlParamText(holder, "market"), GetUrlParamText(holder, "secuid"),
            GetUrlParamText(holder, "fundid")};
}

std::vector<std::u16string> ConfirmLines(ConfirmMode mode, const ConfirmEntry& entry,
                                         const CPriceTypeItem* priceType) {
    std::u16string_view word;
    switch (mode) {
    case ConfirmMode::Sell:
        word = u"卖出";
        break;
    case ConfirmMode::Cancel:
        word = u"撤单";
        break;
    default:
        word = u"买入";
        break;
    }
    std::vector<std::u16string> lines;
    lines.push_back(std::u16string(u"委托： ") + std::u16string(word));
    lines.push_back(u"代码： " + entry.code);
    lines.push_back(u"名称：" + entry.name);
    lines.push_back(u"价格： " + entry.price);
    lines.push_back(u"数量： " + entry.quantity);
    if (priceType)
        lines.push_back(u"报价方式： " + priceType->GetName());
    if (mode == ConfirmMode::Cancel)
        lines.push_back(u"序号： " + entry.serial);
    return lines;
}

std::u16string_view OrderFaultText(OrderFault fault) {
    switch (fault) {
    case OrderFault::BadCode: return u"不是合法的股票代码";
    case OrderFault::BadQuantity: return u"委托数量有误";
    case OrderFault::BadPrice: return u"委托价格有误";
    case OrderFault::NoPriceType: return u"请选择报价方式";
    case OrderFault::BadHolder: return u"股东代码有误";
    case OrderFault::BadSerial: return u"委托序号有误";
    case OrderFault::Code: return u"请输入6位证券代码！";
    case OrderFault::NoMarket: return u"无法确定证券所属市场，不能委托！";
    case OrderFault::NoHolder: return u"您没有该市场的股东代码，不能委托！";
    case OrderFault::PriceType: return u"请选择报价方式";
    case OrderFault::NoQuantity: return u"请输入买卖数量！";
    case OrderFault::Quantity: return u"委托数量有误";
    case OrderFault::None:
    case OrderFault::Stale:
    case OrderFault::NoPrice: return {};
    }
    return {};
}

bool IsSixDigitCode(std::string_view code) {
    if (code.size() != 6)
        return false;
    for (char c : code)
        if (!IsDigit(c))
            return false;
    return true;
}

bool IsOrderQuantity(std::string_view qty) {
    if (qty.empty() || qty.size() > 9)
        return false;
    bool nonZero = false;
    for (char c : qty) {
        if (!IsDigit(c))
            return false;
        nonZero = nonZero || c != '0';
    }
    return nonZero;
}

OrderFault CheckEntry(ConfirmMode mode, const ConfirmEntry& entry, const CPriceTypeItem* priceType) {
    const HolderParams holder = ReadHolderParams(entry.holder);
    if (mode == ConfirmMode::Cancel) {
        // A cancel is the serial's: the row's price ("0" of a market order)
        // and quantity (shown with a unit) are for the eye only.
        const std::optional<std::string> serial = Ascii(entry.serial);
        if (!serial || !IsPlainValue(*serial))
            return OrderFault::BadSerial;
        return IsHolder(holder, false) ? OrderFault::None : OrderFault::BadHolder;
    }
    const std::optional<std::string> code = Ascii(entry.code);
    if (!code || !IsSixDigitCode(*code))
        return OrderFault::BadCode;
    const std::optional<std::string> qty = Ascii(entry.quantity);
    if (!qty || !IsOrderQuantity(*qty))
        return OrderFault::BadQuantity;
    const bool batch = mode == ConfirmMode::Batch;
    if (!batch && (!priceType || priceType->GetCode().empty() || !IsPlainValue(priceType->GetCode())))
        return OrderFault::NoPriceType;
    if (batch || !priceType->IsMarketPrice()) {
        const std::optional<std::string> price = Ascii(entry.price);
        if (!price || !IsPrice(*price))
            return OrderFault::BadPrice;
    }
    return IsHolder(holder, batch) ? OrderFault::None : OrderFault::BadHolder;
}

std::string OrderRequest(std::string_view loginId, std::string_view password, const ConfirmEntry& entry,
                         const CPriceTypeItem& priceType, ConfirmMode mode) {
    if ((mode != ConfirmMode::Buy && mode != ConfirmMode::Sell) ||
        CheckEntry(mode, entry, &priceType) != OrderFault::None || !IsSendableLoginId(loginId) ||
        !IsSendablePassword(password))
        return {};
    // A market-price order is priced by the exchange: its "-" is not sent.
    const std::string price = priceType.IsMarketPrice() ? std::string() : *Ascii(entry.price);
    std::string out = std::string(kRequestHead<kFuncOrder>) + "&";
    out += loginId;
    AppendParam(out, "trdpwd", password);
    AppendParam(out, "bsflag", priceType.GetCode());
    AppendParam(out, "price", price);
    AppendParam(out, "qty", *Ascii(entry.quantity));
    AppendParam(out, "stkcode", *Ascii(entry.code));
    AppendHolder(out, ReadHolderParams(entry.holder));
    return out;
}

std::string CancelRequest(std::string_view loginId, const ConfirmEntry& entry) {
    if (CheckEntry(ConfirmMode::Cancel, entry, nullptr) != OrderFault::None || !IsSendableLoginId(loginId))
        return {};
    std::string out = std::string(kRequestHead<kFuncCancelOrder>) + "&";
    out += loginId;
    AppendParam(out, "ordersno", *Ascii(entry.serial));
    AppendHolder(out, ReadHolderParams(entry.holder));
    return out;
}

std::vector<int> IncompleteBatchEntries(const std::vector<ConfirmEntry>& entries) {
    std::vector<int> out;
    for (size_t i = 0; i < entries.size(); ++i)
        if (CheckEntry(ConfirmMode::Batch, entries[i], nullptr) != OrderFault::None)
            out.push_back(static_cast<int>(i));
    return out;
}

std::string BatchRequest(std::string_view loginId, std::string_view password, const std::vector<ConfirmEntry>& entries,
                         std::vector<int>* incomplete) {
    std::string codes, prices, qtys, fundids, secuids, markets;
    int complete = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const ConfirmEntry& e = entries[i];
        if (CheckEntry(ConfirmMode::Batch, e, nullptr) != OrderFault::None) {
            if (incomplete)
                incomplete->push_back(static_cast<int>(i));
            continue;
        }
        const HolderParams h = ReadHolderParams(e.holder);
        AppendList(codes, *Ascii(e.code));
        AppendList(prices, *Ascii(e.price));
        AppendList(qtys, *Ascii(e.quantity));
        AppendList(fundids, h.fundid);
        AppendList(secuids, h.secuid);
        AppendList(markets, h.market);
        ++complete;
    }
    if (complete == 0 || !IsSendableLoginId(loginId) || !IsSendablePassword(password))
        return {};
    std::string out = std::string(kRequestHead<kFuncBatchOrder>) + "&";
    out += loginId;
    AppendParam(out, "trdpwd", password);
    AppendParam(out, "codes", codes);
    AppendParam(out, "price", prices);
    AppendParam(out, "qty", qtys);
    AppendParam(out, "fundids", fundids);
    AppendParam(out, "secuids", secuids);
    AppendParam(out, "markets", markets);
    return out;
}
