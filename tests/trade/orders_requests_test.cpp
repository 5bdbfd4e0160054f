// What the confirmation page shows, checks and sends, without a window.
#include "trade/orders/OrderRequests.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

const std::string kLogin = "custid=000100012345&tradesession=T0001&operway=i";
const std::string kSzHolder = "market=0&secuid=0100012345&fundid=000100012345";

ConfirmEntry Entry(std::u16string code, std::u16string price, std::u16string qty, std::string holder = kSzHolder) {
    return {code, u"平川银行", price, qty, u"", holder};
}

} // namespace

TEST(OrderRequests, EachFaultOfAnEntryIsToldAndNothingIsBuilt) {
    const CPriceTypeItem limit(u"限价委托", "0B"), market(u"五档即成剩撤", "0d"), noCode(u"限价委托", "");
    const struct {
        const char* what;
        ConfirmEntry entry;
        const CPriceTypeItem* type;
        OrderFault fault;
    } cases[] = {
        {"five digits", Entry(u"00001", u"1", u"100"), &limit, OrderFault::BadCode},
        {"a letter in the code", Entry(u"00001A", u"1", u"100"), &limit, OrderFault::BadCode},
        {"an empty code", Entry(u"", u"1", u"100"), &limit, OrderFault::BadCode},
        {"no quantity", Entry(u"000016", u"1", u""), &limit, OrderFault::BadQuantity},
        {"zero", Entry(u"000016", u"1", u"000"), &limit, OrderFault::BadQuantity},
        {"ten digits", Entry(u"000016", u"1", u"1000000000"), &limit, OrderFault::BadQuantity},
        {"a fraction", Entry(u"000016", u"1", u"100.5"), &limit, OrderFault::BadQuantity},
        {"a market order's bad quantity", Entry(u"000016", u"-", u"-5"), &market, OrderFault::BadQuantity},
        {"a quantity with a comma", Entry(u"000016", u"1", u"1,00"), &limit, OrderFault::BadQuantity},
        {"a limit order at 0", Entry(u"000016", u"0", u"100"), &limit, OrderFault::BadPrice},
        {"a limit order without a price", Entry(u"000016", u"", u"100"), &limit, OrderFault::BadPrice},
        {"a limit order at -", Entry(u"000016", u"-", u"100"), &limit, OrderFault::BadPrice},
        {"a price with an ampersand", Entry(u"000016", u"1&x=2", u"100"), &limit, OrderFault::BadPrice},
        {"two points", Entry(u"000016", u"1.2.3", u"100"), &limit, OrderFault::BadPrice},
        {"no price type", Entry(u"000016", u"1", u"100"), nullptr, OrderFault::NoPriceType},
        {"a price type without code", Entry(u"000016", u"1", u"100"), &noCode, OrderFault::NoPriceType},
        {"no holder", Entry(u"000016", u"1", u"100", "fundid=1"), &limit, OrderFault::BadHolder},
        {"a Hong Kong market", Entry(u"000016", u"1", u"100", "market=5&secuid=A1"), &limit, OrderFault::BadHolder},
        {"an account with a percent", Entry(u"000016", u"1", u"100", "market=0&secuid=A%261"), &limit,
         OrderFault::BadHolder},
        {"a fund id with a comma", Entry(u"000016", u"1", u"100", "market=0&secuid=A1&fundid=1,2"), &limit,
         OrderFault::BadHolder},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CheckEntry(ConfirmMode::Buy, c.entry, c.type), c.fault);
        EXPECT_FALSE(OrderFaultText(c.fault).empty());
        if (c.type) {
            EXPECT_EQ(OrderRequest(kLogin, "123456", c.entry, *c.type, ConfirmMode::Buy), "");
        }
    }
    EXPECT_EQ(CheckEntry(ConfirmMode::Buy, Entry(u"000016", u"-", u"100"), &market), OrderFault::None)
        << "a market order needs no price";
    EXPECT_EQ(OrderRequest(kLogin, "13&79", Entry(u"000016", u"1", u"100"), limit, ConfirmMode::Buy), "");
    EXPECT_EQ(OrderRequest("", "123456", Entry(u"000016", u"1", u"100"), limit, ConfirmMode::Buy), "");
}

TEST(OrderRequests, ACancelNeedsOnlyItsSerialAndSendsNoPassword) {
    ConfirmEntry row{u"600010", u"华岳银行", u"0", u"1,000股", u"100003", "market=1&secuid=A100012345&fundid=000100012345"};
    EXPECT_EQ(CheckEntry(ConfirmMode::Cancel, row, nullptr), OrderFault::None)
        << "a market order's price 0 and a quantity with its unit never block a cancel";
    EXPECT_EQ(CancelRequest(kLogin, row), "tc_mfuncno=500&tc_sfuncno=7&custid=000100012345&tradesession=T0001"
                                          "&operway=i&ordersno=100003"
                                          "&market=1&secuid=A100012345&fundid=000100012345");
    for (const std::u16string serial : {u"", u"10&0", u"1=2", u"1,2", u"1%2"}) {
        row.serial = serial;
        EXPECT_EQ(CheckEntry(ConfirmMode::Cancel, row, nullptr), OrderFault::BadSerial);
        EXPECT_EQ(CancelRequest(kLogin, row), "");
    }
}

TEST(OrderRequests, ABatchChecksEveryEntryAndSendsTheCompleteOnesInParallelLists) {
    const std::string sh = "secuid=A100012345&market=1&fundid=000100012345";
    const std::vector<ConfirmEntry> entries = {
        Entry(u"000016", u"11.42", u"500"),
        Entry(u"600010", u"8.52", u"1000", "secuid=A100012345&market=1"),  // no fund id
        Entry(u"600023", u"3.41", u"0", sh),                                // no quantity
        Entry(u"600047", u"5.86", u"200", sh),
        Entry(u"60004,", u"5.86", u"200", sh),
    };
    std::vector<int> incomplete;
    EXPECT_EQ(BatchRequest(kLogin, "123456", entries, &incomplete),
              "tc_mfuncno=100&tc_sfuncno=20&custid=000100012345&tradesession=T0001"
              "&operway=i&trdpwd=123456&codes=000016,600047"
              "&price=11.42,5.86&qty=500,200&fundids=000100012345,000100012345&secuids=0100012345,A100012345&markets=0,1");
    EXPECT_EQ(incomplete, (std::vector<int>{1, 2, 4}));
    incomplete.clear();
    EXPECT_EQ(BatchRequest(kLogin, "123456", {entries[1], entries[2]}, &incomplete), "") << "none complete";
    EXPECT_EQ(incomplete, (std::vector<int>{0, 1}));
}

TEST(OrderRequests, TheLinesNameTheModeTheEntryThePriceTypeAndACancelsSerial) {
    const CPriceTypeItem best(u"对方最优价格", "0a");
    EXPECT_EQ(ConfirmLines(ConfirmMode::Buy, Entry(u"000016", u"-", u"100"), &best),
              (std::vector<std::u16string>{u"委托： 买入", u"代码： 000016", u"名称：平川银行", u"价格： -",
                                           u"数量： 100", u"报价方式： 对方最优价格"}));
    ConfirmEntry row{u"600010", u"华岳银行", u"8.52", u"1000", u"100003", ""};
    EXPECT_EQ(ConfirmLines(ConfirmMode::Cancel, row, nullptr),
              (std::vector<std::u16string>{u"委托： 撤单", u"代码： 600010", u"名称：华岳银行", u"价格： 8.52",
                                           u"数量： 1000", u"序号： 100003"}));
    EXPECT_EQ(ConfirmLines(ConfirmMode::Sell, row, nullptr).front(), u"委托： 卖出");
    EXPECT_EQ(ConfirmLines(ConfirmMode::Batch, row, nullptr).front(), u"委托： 买入");
}

// The form and the confirmation page read one table: what each fault says,
// and that the two the form answers by asking again say nothing.
TEST(OrderFaults, OneTableTellsTheFormsAndThePagesFaults) {
    const std::pair<OrderFault, std::u16string_view> told[] = {
        {OrderFault::BadCode, u"不是合法的股票代码"},    {OrderFault::BadQuantity, u"委托数量有误"},
        {OrderFault::BadPrice, u"委托价格有误"},         {OrderFault::NoPriceType, u"请选择报价方式"},
        {OrderFault::BadHolder, u"股东代码有误"},        {OrderFault::BadSerial, u"委托序号有误"},
        {OrderFault::Code, u"请输入6位证券代码！"},      {OrderFault::NoMarket, u"无法确定证券所属市场，不能委托！"},
        {OrderFault::NoHolder, u"您没有该市场的股东代码，不能委托！"}, {OrderFault::PriceType, u"请选择报价方式"},
        {OrderFault::NoQuantity, u"请输入买卖数量！"},   {OrderFault::Quantity, u"委托数量有误"},
    };
    for (const auto& [fault, text] : told)
        EXPECT_EQ(OrderFaultText(fault), text) << static_cast<int>(fault);
    for (OrderFault silent : {OrderFault::None, OrderFault::Stale, OrderFault::NoPrice})
        EXPECT_TRUE(OrderFaultText(silent).empty()) << static_cast<int>(silent);
}
