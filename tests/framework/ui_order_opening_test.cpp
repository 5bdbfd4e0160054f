// The order form's opening: what the quote and trade screens write is what
// the form reads, and nothing a row or a reply carries slips into it.
#include "framework/ui/OrderOpening.h"

#include <gtest/gtest.h>

namespace {

OrderOpening Priced(std::string code, std::string price, int market, int type, bool sell) {
    OrderOpening o = OrderOpening::Of(sell, std::move(code));
    o.price = std::move(price);
    o.market = market;
    o.type = type;
    return o;
}

} // namespace

TEST(OrderOpening, WhatIsWrittenIsReadBack) {
    const OrderOpening cases[] = {
        OrderOpening::Of(false),
        OrderOpening::Of(true, "600010"),
        Priced("600010", "8.01", 2, 1, true),
        Priced("000016", "", 1, 4, false),
    };
    for (const OrderOpening& sent : cases) {
        const std::string text = OrderOpeningText(sent);
        ASSERT_FALSE(text.empty()) << sent.code;
        EXPECT_TRUE(HasOrderSide(text)) << text;
        const OrderOpening read = ReadOrderOpening(text);
        EXPECT_EQ(read.sell, sent.sell) << text;
        EXPECT_EQ(read.code, sent.code) << text;
        EXPECT_EQ(read.price, sent.price) << text;
        EXPECT_EQ(read.market, sent.market) << text;
        EXPECT_EQ(read.type, sent.type) << text;
    }
    // A key's market suffix is the chart's, not the form's code.
    EXPECT_EQ(OrderOpeningText(Priced("600010.02", "8.01", 2, 1, false)),
              "code=600010.02&price=8.01&market=2&type=1&MMLB=0");
    EXPECT_EQ(ReadOrderOpening("code=600010.02&MMLB=0").code, "600010");
}

TEST(OrderOpening, AValueThatCouldCarryAnotherParameterIsRefused) {
    for (const char* code : {"60%26", "6000 .01", "a=b", "1&x=2"})
        EXPECT_EQ(OrderOpeningText(OrderOpening::Of(true, code)), "") << code;
    for (const char* price : {"-", "1&x=2", "10 5", "1.2.3", "1e3"})
        EXPECT_EQ(OrderOpeningText(Priced("600010", price, 2, 1, false)), "") << price;
    // Read back, a stray side buys and a stray value is left out.
    const OrderOpening read = ReadOrderOpening("code=60001x&price=8..1&market=x&type=&MMLB=2");
    EXPECT_FALSE(read.sell);
    EXPECT_EQ(read.code, "");
    EXPECT_EQ(read.price, "");
    EXPECT_EQ(read.market, -1);
    EXPECT_EQ(read.type, -1);
    EXPECT_FALSE(HasOrderSide("creditflag=1&code=600010"));
}
