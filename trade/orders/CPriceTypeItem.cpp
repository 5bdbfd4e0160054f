// The price-type tables and the rule that picks one.
#include "trade/orders/CPriceTypeItem.h"

CPriceTypeItem::CPriceTypeItem(const char16_t* name, const char* code) {
    if (name)
        m_name = name;
    if (code)
        m_code = code;
}

bool CPriceTypeItem::IsMarketPrice() const {
    return !m_code.empty() && !IsLimitPriceCode(m_code);
}

bool IsLimitPriceCode(std::string_view code) {
    return code == kLimitBuyCode || code == kLimitSellCode;
}

const std::vector<CPriceTypeItem>& ShenzhenBuyPriceTypes() {
    static const std::vector<CPriceTypeItem> table{
        {u"限价委托", "0B"},       {u"对方最优价格", "0a"}, {u"本方最优价格", "0b"},
        {u"即时成交剩余撤销", "0c"}, {u"五档即成剩撤", "0d"}, {u"全部成交或撤销", "0e"},
    };
    return table;
}

const std::vector<CPriceTypeItem>& ShenzhenSellPriceTypes() {
    static const std::vector<CPriceTypeItem> table{
        {u"限价委托", "0S"},       {u"对方最优价格", "0f"}, {u"本方最优价格", "0g"},
        {u"即时成交剩余撤销", "0h"}, {u"五档即成剩撤", "0i"}, {u"全部成交或撤销", "0j"},
    };
    return table;
}

const std::vector<CPriceTypeItem>& ShanghaiBuyPriceTypes() {
    static const std::vector<CPriceTypeItem> table{
        {u"限价委托", "0B"}, {u"五档即成剩撤", "0d"}, {u"五档即成转限价", "0q"}};
    return table;
}

const std::vector<CPriceTypeItem>& ShanghaiSellPriceTypes() {
    static const std::vector<CPriceTypeItem> table{
        {u"限价委托", "0S"}, {u"五档即成剩撤", "0i"}, {u"五档即成转限价", "0r"}};
    return table;
}

std::vector<CPriceTypeItem> PriceTypesFor(std::string_view market, int tradeKind) {
    if (tradeKind == kTradeKindShortSell)
        return {ShenzhenBuyPriceTypes().front()};
    const bool buy = tradeKind % 2 != 0;
    if (market == "0" || market == "2")
        return buy ? ShenzhenBuyPriceTypes() : ShenzhenSellPriceTypes();
    if (market == "1" || market == "3")
        return buy ? ShanghaiBuyPriceTypes() : ShanghaiSellPriceTypes();
    return {buy ? ShenzhenBuyPriceTypes().front() : ShenzhenSellPriceTypes().front()};
}
