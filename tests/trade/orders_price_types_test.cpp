// The price-type tables and the rule that picks one for a holder's market
// and the order's direction.
#include "trade/orders/CPriceTypeItem.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Codes(const std::vector<CPriceTypeItem>& items) {
    std::vector<std::string> out;
    for (const CPriceTypeItem& i : items)
        out.push_back(i.GetCode());
    return out;
}

struct PickCase {
    const char* market;
    int kind;
    std::vector<std::string> codes;
};

} // namespace

TEST(PriceTypes, TheTablesHoldTheExchangesTypesInOrderWithTheLimitTypeFirst) {
    const struct {
        const std::vector<CPriceTypeItem>& table;
        std::vector<std::u16string> names;
        std::vector<std::string> codes;
    } tables[] = {
        {ShenzhenBuyPriceTypes(),
         {u"限价委托", u"对方最优价格", u"本方最优价格", u"即时成交剩余撤销", u"五档即成剩撤", u"全部成交或撤销"},
         {"0B", "0a", "0b", "0c", "0d", "0e"}},
        {ShenzhenSellPriceTypes(),
         {u"限价委托", u"对方最优价格", u"本方最优价格", u"即时成交剩余撤销", u"五档即成剩撤", u"全部成交或撤销"},
         {"0S", "0f", "0g", "0h", "0i", "0j"}},
        {ShanghaiBuyPriceTypes(), {u"限价委托", u"五档即成剩撤", u"五档即成转限价"}, {"0B", "0d", "0q"}},
        {ShanghaiSellPriceTypes(), {u"限价委托", u"五档即成剩撤", u"五档即成转限价"}, {"0S", "0i", "0r"}},
    };
    for (const auto& t : tables) {
        std::vector<std::u16string> names;
        for (const CPriceTypeItem& i : t.table) {
            names.push_back(i.GetName());
            EXPECT_EQ(i.GetCode()[0], '0') << "the digit zero, not the letter O";
            EXPECT_EQ(i.IsMarketPrice(), !IsLimitPriceCode(i.GetCode()));
        }
        EXPECT_EQ(names, t.names);
        EXPECT_EQ(Codes(t.table), t.codes);
        EXPECT_FALSE(t.table.front().IsMarketPrice());
    }
}

TEST(PriceTypes, TheMarketAndDirectionPickTheTable) {
    const PickCase cases[] = {
        {"0", 1, Codes(ShenzhenBuyPriceTypes())},  {"0", 2, Codes(ShenzhenSellPriceTypes())},
        {"2", 1, Codes(ShenzhenBuyPriceTypes())},  {"2", 4, Codes(ShenzhenSellPriceTypes())},
        {"1", 1, Codes(ShanghaiBuyPriceTypes())},  {"1", 2, Codes(ShanghaiSellPriceTypes())},
        {"3", 5, Codes(ShanghaiBuyPriceTypes())},  {"3", 2, Codes(ShanghaiSellPriceTypes())},
        {"1", 6, {"0B"}},  // a short sell: the limit buy entry whatever the market
        {"0", 6, {"0B"}},  {"5", 1, {"0B"}},  {"", 2, {"0S"}},  {"00", 3, {"0B"}},
    };
    for (const PickCase& c : cases) {
        SCOPED_TRACE(std::string("market ") + c.market + " kind " + std::to_string(c.kind));
        const std::vector<CPriceTypeItem> picked = PriceTypesFor(c.market, c.kind);
        EXPECT_EQ(Codes(picked), c.codes);
        EXPECT_EQ(picked.front().GetName(), u"限价委托");
    }
}

TEST(PriceTypes, AnEntryWithoutNameOrCodeIsIncompleteAndOnlyACodedNonLimitTypeIsAMarketType) {
    EXPECT_FALSE(CPriceTypeItem(nullptr, "0a").IsComplete());
    EXPECT_FALSE(CPriceTypeItem(u"对方最优价格", nullptr).IsComplete());
    EXPECT_FALSE(CPriceTypeItem(u"x", nullptr).IsMarketPrice());
    EXPECT_TRUE(CPriceTypeItem(u"对方最优价格", "0a").IsMarketPrice());
    EXPECT_FALSE(CPriceTypeItem(u"限价委托", "0S").IsMarketPrice());
}
