// What the confirmation page shows, checks and sends, without a window.
#include "trade/orders/OrderRequests.h"

#include <gtest/gtest.h>

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
        EntryFault fault;
    } cases[] = {
        {"five digits", Entry(u"00001", u"1", u"100"), &limit, EntryFault::BadCode},
        {"a letter in the code", Entry(u"00001A", u"1", u"100"), &limit, EntryFault::BadCode},
        {"an empty code", Entry(u"", u"1", u"100"), &limit, EntryFault::BadCode},
        {"no quantity", Entry(u"000016", u"1", u""), &limit, EntryFault::BadQuantity},
        {"zero", Entry(u"000016", u"1", u"000"), &limit, EntryFault::BadQuantity},
        {"ten digits", Entry(u"000016", u"1", u"1000000000"), &limit, EntryFault::BadQuantity},
        {"a fraction", Entry(u"000016", u"1", u"100.5"), &limit, EntryFault::BadQuantity},
        {"a market order's bad quantity", Entry(u"000016", u"-", u"-5"), &market, EntryFault::BadQuantity},
        {"a quantity with a comma", Entry(u"000016", u"1", u"1,00"), &limit, EntryFault::BadQuantity},
        {"a limit order at 0", Entry(u"000016", u"0", u"100"), &limit, EntryFault::BadPrice},
        {"a limit order without a price", Entry(u"000016", u"", u"100"), &limit, EntryFault::BadPrice},
        {"a limit order at -", Entry(u"000016", u"-", u"100"), &limit, EntryFault::BadPrice},
        {"a price with an ampersand", Entry(u"000016", u"1&x=2", u"100"), &limit, EntryFault::BadPrice},
        {"two points", Entry(u"000016", u"1.2.3", u"100"), &limit, EntryFault::BadPrice},
        {"no price type", Entry(u"000016", u"1", u"100"), nullptr, EntryFault::NoPriceType},
        {"a price type without code", Entry(u"000016", u"1", u"100"), &noCode, EntryFault::NoPriceType},
        {"no holder", Entry(u"000016", u"1", u"100", "fundid=1"), &limit, EntryFault::BadHolder},
        {"a Hong Kong market", Entry(u"000016", u"1", u"100", "market=5&secuid=A1"), &limit, EntryFault::BadHolder},
        {"an account with a percent", Entry(u"000016", u"1", u"100", "market=0&secuid=A%261"), &limit,
         EntryFault::BadHolder},
        {"a fund id with a comma", Entry(u"000016", u"1", u"100", "market=0&secuid=A1&fundid=1,2"), &limit,
         EntryFault::BadHolder},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CheckEntry(ConfirmMode::Buy, c.entry, c.type), c.fault);
        EXPECT_FALSE(EntryFaultText(c.fault).empty());
        if (c.type) {
            EXPECT_EQ(OrderRequest(kLogin, "123456", c.entry, *c.type, ConfirmMode::Buy), "");
        }
    }
    EXPECT_EQ(CheckEntry(ConfirmMode::Buy, Entry(u"000016", u"-", u"100"), &market), EntryFault::None)
        << "a market order needs no price";
    EXPECT_EQ(OrderRequest(kLogin, "13&79", Entry(u"000016", u"1", u"100"), limit, ConfirmMode::Buy), "");
    EXPECT_EQ(OrderRequest("", "123456", Entry(u"000016", u"1", u"100"), limit, ConfirmMode::Buy), "");
}

TEST(OrderRequests, ACancelNeedsOnlyItsSerialAndSendsNoPassword) {
    ConfirmEntry row{u"600010", u"华岳银行", u"0", u"1,000股", u"100003", "market=1&secuid=A100012345&fundid=000100012345"};
    EXPECT_EQ(CheckEntry(ConfirmMode::Cancel, row, nullptr), EntryFault::None)
        << "a market order's price 0 and a quantity with its unit never block a cancel";
    EXPECT_EQ(CancelRequest(kLogin, row), "tc_mfuncno=500&tc_sfuncno=7&custid=000100012345&tradesession=T0001"
                                          "&operway=i&ordersno=100003"
                                          "&market=1&secuid=A100012345&fundid=000100012345");
    for (const std::u16string serial : {u"", u"10&0", u"1=2", u"1,2", u"1%2"}) {
        row.serial = serial;
        EXPECT_EQ(CheckEntry(ConfirmMode::Cancel, row, nullptr), EntryFault::BadSerial);
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
