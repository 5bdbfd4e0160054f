// The order form's pure part: its opening parameters, its request texts,
// the slider's unit, the panel's rows from what a reply has, the checks
// before the confirmation page, and the layout of both orientations.
#include "core/CDataSet.h"
#include "core/CQuoteNumber.h"
#include "trade/orders/OrderForm.h"

#include <gtest/gtest.h>

namespace {

struct ParamCase {
    const char* request;
    int kind;
    const char* code;
    const char* price;
};

class FormParams : public ::testing::TestWithParam<ParamCase> {};

TEST_P(FormParams, OnlyMmlbOneSellsAndOnlyCleanValuesAreKept) {
    const ParamCase& c = GetParam();
    const OrderFormParams p = ReadOrderFormParams(c.request);
    EXPECT_EQ(p.kind, c.kind);
    EXPECT_EQ(p.code, c.code);
    EXPECT_EQ(p.price, c.price);
}

INSTANTIATE_TEST_SUITE_P(Requests, FormParams, ::testing::Values(
    ParamCase{"code=600000.02&MMLB=1", 2, "600000", ""},
    ParamCase{"code=600000.02&MMLB=0", 1, "600000", ""},
    ParamCase{"code=600000.02&MMLB=5", 1, "600000", ""},   // not a kind of its own
    ParamCase{"code=600000.02&MMLB=-1", 1, "600000", ""},
    ParamCase{"code=000016.01", 1, "000016", ""},
    ParamCase{"code=600010.02&price=8.01&market=2&type=1&MMLB=1", 2, "600010", "8.01"},
    ParamCase{"code=60%2610&price=8&x=1&MMLB=0", 1, "", "8"},  // no "%" or "&" in a code
    ParamCase{"code=6000001.02&price=1.2.3", 1, "", ""}));

TEST(FormRequests, TheMaximumQueryIsBuiltByAppendingAndRefusesWhatCannotTravel) {
    const std::string login = "custid=000100012345&tradesession=T0001&operway=i";
    EXPECT_EQ(MaxQuantityRequest(login, "123456", 1, "600010", "000100012345"),
              "tc_mfuncno=500&tc_sfuncno=4&" + login + "&trdpwd=123456&bsflag=B&stkcode=600010&fundid=000100012345");
    EXPECT_EQ(MaxQuantityRequest(login, "123456", 2, "600010", ""),
              "tc_mfuncno=500&tc_sfuncno=5&" + login + "&trdpwd=123456&bsflag=S&stkcode=600010&fundid=");
    const std::string longLogin = login + "&pad=" + std::string(2000, 'x');
    // A long session text goes whole: no formatting cap cuts it.
    EXPECT_EQ(MaxQuantityRequest(longLogin, "123456", 1, "600010", "1"),
              "tc_mfuncno=500&tc_sfuncno=4&" + longLogin + "&trdpwd=123456&bsflag=B&stkcode=600010&fundid=1");
    EXPECT_EQ(MaxQuantityRequest("", "123456", 1, "600010", ""), "");
    EXPECT_EQ(MaxQuantityRequest(login, "12&34", 1, "600010", ""), "");
    EXPECT_EQ(MaxQuantityRequest(login, "123456", 1, "60001", ""), "");
    EXPECT_EQ(MaxQuantityRequest(login, "123456", 1, "600010", "0001&x=1"), "");
}

TEST(FormParamsOfMargin, ACreditPresetWithoutMmlbIsNotReadFurther) {
    const OrderFormParams p = ReadOrderFormParams("tc_mfuncno=500&tc_sfuncno=4&creditflag=1&code=600010.02&price=8");
    EXPECT_TRUE(p.credit);
    EXPECT_EQ(p.code, "");
    EXPECT_EQ(p.price, "");
    // "MMLB" wins over "creditflag": an ordinary form.
    const OrderFormParams q = ReadOrderFormParams("creditflag=1&code=600010.02&MMLB=1");
    EXPECT_FALSE(q.credit);
    EXPECT_EQ(q.kind, 2);
    EXPECT_EQ(q.code, "600010");
}

TEST(FormKinds, EachKindHasItsCaptionWordAndKindSevenKeepsTheCaption) {
    const std::pair<int, const char16_t*> words[] = {{1, u"买入"},     {2, u"卖出"},     {3, u"买券还券"},
                                                     {4, u"卖券还款"}, {5, u"融资买入"}, {6, u"融券卖出"},
                                                     {7, u""},         {8, u""},         {0, u""}};
    for (const auto& [kind, word] : words)
        EXPECT_EQ(TradeKindWord(kind), std::u16string_view(word)) << kind;
    EXPECT_EQ(FormCaption(5, u"华岳银行"), std::u16string(u"融资买入 华岳银行"));
    EXPECT_EQ(FormCaption(4, u"平川银行"), std::u16string(u"卖券还款 平川银行"));
    EXPECT_FALSE(FormCaption(7, u"华岳银行").has_value());
}

TEST(FormRequests, MarginKindsAskThroughThePresetAndKindFourAsksItsRepayment) {
    const std::string login = "custid=000100012345&tradesession=T0001&operway=i";
    EXPECT_EQ(RepaymentRequest(login, "000100012345"),
              "tc_mfuncno=500&tc_sfuncno=75&" + login + "&creditid=0&fundid=000100012345&moneytype=0");
    EXPECT_EQ(RepaymentRequest("", "000100012345"), "");
    EXPECT_EQ(RepaymentRequest(login, "0001&x=1"), "");

    const std::string preset = "tc_mfuncno=500&tc_sfuncno=5&creditflag=1&bsflag=S";
    EXPECT_EQ(PresetQueryRequest(preset, login, "123456", "600010", "000100012345"),
              preset + "&" + login + "&trdpwd=123456&stkcode=600010&fundid=000100012345");
    EXPECT_EQ(PresetQueryRequest(preset, login, "12&34", "600010", ""), "");
    EXPECT_EQ(PresetQueryRequest(preset, login, "123456", "60001", ""), "");
    // A preset that would bring a value of its own for what the form appends,
    // or that is no plain list of pairs, sends nothing.
    for (const char* bad : {"", "tc_mfuncno=500", "tc_sfuncno=4&creditflag=1", "tc_mfuncno=500&tc_sfuncno=4&",
                            "tc_mfuncno=500&tc_sfuncno=4&stkcode=000001", "tc_mfuncno=500&tc_sfuncno=4&FundId=1",
                            "tc_mfuncno=500&tc_sfuncno=4&x=%26", "tc_mfuncno=5a&tc_sfuncno=4", "tc_mfuncno=500&&tc_sfuncno=4",
                            "tc_mfuncno=500&tc_sfuncno=4&creditflag"})
        EXPECT_FALSE(IsPresetQuery(bad)) << bad;
    EXPECT_TRUE(IsPresetQuery("tc_mfuncno=500&tc_sfuncno=4&creditflag=1&note="));
}

TEST(FormRequests, ThePanelKeyTakesTheQuoteMarketOfEveryTradeMarket) {
    EXPECT_EQ(PanelQuoteCode("000016", "0"), "000016.1");
    EXPECT_EQ(PanelQuoteCode("600010", "1"), "600010.2");
    EXPECT_EQ(PanelQuoteCode("200011", "2"), "200011.1"); // B shares too, never "200011."
    EXPECT_EQ(PanelQuoteCode("900901", "3"), "900901.2");
    EXPECT_EQ(PanelQuoteCode("600010", "7"), "");
    EXPECT_EQ(PanelQuoteCode("600010", ""), "");
    EXPECT_EQ(PanelQuoteRequest("600010.2"),
              std::string("tc_mfuncno=31000&tc_sfuncno=4&code=600010.2&field=") + kPanelQuoteFields);
    EXPECT_EQ(PanelQuoteRequest(""), "");
}

struct SliderCase {
    const char* what;
    long long num;
    int kind;
    bool enabled;
    int max, pos, unit;
    const char* quantity;    // set on the reply
    int released;            // a release at this position ...
    const char* releasedQty; // ... gives this quantity
};

class FormSlider : public ::testing::TestWithParam<SliderCase> {};

TEST_P(FormSlider, KeepsItsUnitFromTheReplyToTheRelease) {
    const SliderCase& c = GetParam();
    const QuantitySlider s = SliderForMaximum(c.num, c.kind);
    EXPECT_EQ(s.enabled, c.enabled);
    EXPECT_EQ(s.max, c.max);
    EXPECT_EQ(s.pos, c.pos);
    EXPECT_EQ(s.unit, c.unit);
    EXPECT_EQ(s.quantity, c.quantity);
    EXPECT_EQ(SliderQuantity(c.released, s.max, s.unit), c.releasedQty);
}

INSTANTIATE_TEST_SUITE_P(Maxima, FormSlider, ::testing::Values(
    SliderCase{"250 shares: two lots", 250, 1, true, 2, 0, 100, "", 2, "200"},
    SliderCase{"an odd lot sold whole stays 50", 50, 2, true, 50, 50, 1, "50", 50, "50"},
    SliderCase{"an odd lot sold in part", 50, 2, true, 50, 50, 1, "50", 30, "30"},
    SliderCase{"an odd lot cannot be bought", 50, 1, false, 0, 0, 100, "", 0, "0"},
    SliderCase{"nothing to sell", 0, 2, false, 0, 0, 100, "", 0, "0"},
    SliderCase{"1050 to sell: whole lots", 1050, 2, true, 10, 0, 100, "", 10, "1000"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

// A quote reply's first set with the given number of leading columns of
// the panel's field list: type, code, previous close, open, the levels.
std::unique_ptr<CDataSet> QuoteSet(int columns, int type, double prevClose, double open) {
    auto set = std::make_unique<CDataSet>("hq.zx");
    for (int c = 0; c < columns; ++c) {
        const bool volume = c >= 14 && c % 2 == 1;
        const bool text = c == 2 || c == 3;
        set->AddColumn(c <= 1 || volume ? DataSetType::Int32 : text ? DataSetType::AnsiText : DataSetType::Number,
                       "f" + std::to_string(c));
    }
    set->AddRow(-1);
    const auto number = [&](int c, double v) {
        const int32_t packed = CQuoteNumber(v, 2).ToPacked();
        set->SetField(c, &packed, 4);
    };
    for (int c = 0; c < columns; ++c) {
        if (c == 1) {
            const int32_t t = type;
            set->SetField(c, &t, 4);
        } else if (c == 2) {
            set->SetField(c, "600010", 6);
        } else if (c == 4) {
            number(c, prevClose);
        } else if (c == 5) {
            number(c, open);
        } else if (c >= 14 && c % 2 == 1) {
            const int32_t shares = c == 25 ? 99 : 250;
            set->SetField(c, &shares, 4);
        } else if (c >= 14) {
            number(c, c == 24 ? prevClose : 8.5);
        }
    }
    return set;
}

TEST(FormPanel, LevelsReadOnlyTheColumnsTheReplyHas) {
    const PanelColors colors{0x0000FF, 0x00A000, 0xFFFFFF};
    auto full = QuoteSet(kPanelQuoteColumns, 1, 8.0, 8.1);
    const auto rows = PanelRowsFrom(*full, colors);
    ASSERT_TRUE(rows && rows->size() == 10u);
    EXPECT_EQ((*rows)[4].name.text, u"卖一");
    EXPECT_EQ((*rows)[4].volume.text, u"-");         // 99 shares: no whole lot
    EXPECT_EQ((*rows)[4].price.color, 0x2626FFu);    // flat, and the flat colour is white
    EXPECT_EQ((*rows)[5].volume.text, u"2");         // 250 shares
    EXPECT_EQ((*rows)[5].price.color, 0x0000FFu);    // above the previous close
    EXPECT_EQ((*rows)[5].price.text, u"8.50");       // no unit word on a price
    EXPECT_EQ(PanelRowCode(*full), "600010");

    auto shortSet = QuoteSet(20, 1, 8.0, 8.1); // the asks are missing
    const auto some = PanelRowsFrom(*shortSet, colors);
    ASSERT_TRUE(some && some->size() == 10u);
    EXPECT_EQ((*some)[0].price.text, u"-");
    EXPECT_EQ((*some)[0].volume.text, u"-");
    EXPECT_NE((*some)[5].price.text, u"-");

    auto notOpen = QuoteSet(kPanelQuoteColumns, 1, 8.0, 0);
    const auto notOpenRows = PanelRowsFrom(*notOpen, colors);
    ASSERT_TRUE(notOpenRows.has_value());
    for (const PanelRow& row : *notOpenRows)
        EXPECT_TRUE(row.price.text == u"-" && row.volume.text == u"-");
    EXPECT_TRUE(PanelRowsFrom(*QuoteSet(kPanelQuoteColumns, 2, 8.0, 8.1), colors)->empty()); // an index
    EXPECT_FALSE(PanelRowsFrom(*QuoteSet(3, 1, 0, 0), colors)->empty());                   // no open: dashes
    CDataSet empty("hq.zx");
    EXPECT_FALSE(PanelRowsFrom(empty, colors).has_value());
}

TEST(FormChecks, OkGoesOnOnlyWithEverythingTheOrderNeeds) {
    OrderFormInput ok{"600010", "600010", true, true, "0B", false, "8.50", "100"};
    EXPECT_EQ(CheckOrderForm(ok), OrderFault::None);
    const auto with = [&](auto change) {
        OrderFormInput in = ok;
        change(in);
        return CheckOrderForm(in);
    };
    EXPECT_EQ(with([](auto& in) { in.code = "60001"; }), OrderFault::Code);
    EXPECT_EQ(with([](auto& in) { in.replyCode = "000016"; }), OrderFault::Stale);
    EXPECT_EQ(with([](auto& in) { in.replyHasMarket = false; }), OrderFault::NoMarket);
    EXPECT_EQ(with([](auto& in) { in.hasHolder = false; }), OrderFault::NoHolder);
    EXPECT_EQ(with([](auto& in) { in.bsflag = ""; }), OrderFault::PriceType);
    EXPECT_EQ(with([](auto& in) { in.quantity = ""; }), OrderFault::NoQuantity);
    for (const char* bad : {"0", "-100", "1.5", "1234567890", "10&x=1"})
        EXPECT_EQ(with([bad](auto& in) { in.quantity = bad; }), OrderFault::Quantity) << bad;
    EXPECT_EQ(with([](auto& in) { in.price = "0.001"; }), OrderFault::NoPrice);
    EXPECT_EQ(with([](auto& in) { in.price = ""; in.marketPrice = true; in.bsflag = "0d"; }), OrderFault::None);
    EXPECT_EQ(with([](auto& in) { in.quantity = "50"; }), OrderFault::None); // odd lots are the server's to judge
}

TEST(FormLayout, PortraitPutsThePanelBelowAndLandscapeBeside) {
    const OrderFormLayout narrow = LayoutOrderForm(480);
    EXPECT_EQ(narrow.labels[0], CRect::FromSize(20, 15, 120, 70));
    EXPECT_EQ(narrow.code, (CRect{160, 95, 460, 165}));
    EXPECT_EQ(narrow.holderDrop, (CRect{430, 15, 450, 85}));
    EXPECT_EQ(narrow.price, (CRect{160, 335, 380, 405}));
    EXPECT_EQ(narrow.form, (CRect{20, 15, 460, 645}));
    EXPECT_EQ(narrow.panel, CRect::FromSize(20, 665, 440, 540));
    EXPECT_EQ(narrow.panelRowHeight, 54);
    const OrderFormLayout wide = LayoutOrderForm(720);
    EXPECT_EQ(wide.form.right, 460);
    EXPECT_EQ(wide.panel, CRect::FromSize(480, 15, 230, 640));
    EXPECT_EQ(wide.panelRowHeight, 64);
    EXPECT_FALSE(wide.hasRepay);
}

TEST(FormLayout, KindFourInsertsTheRepaymentRowAndTallerPanelRows) {
    const OrderFormLayout plain = LayoutOrderForm(720);
    const OrderFormLayout repay = LayoutOrderForm(720, 4);
    ASSERT_TRUE(repay.hasRepay);
    EXPECT_EQ(repay.repayLabel, plain.labels[4]); // where the price was
    EXPECT_EQ(repay.repay, (CRect{160, 335, 460, 405}));
    EXPECT_EQ(repay.priceType, plain.priceType);
    EXPECT_EQ(repay.price, plain.price.Offset(0, 80));
    EXPECT_EQ(repay.labels[6], plain.labels[6].Offset(0, 80));
    EXPECT_EQ(repay.form.bottom, plain.form.bottom + 80);
    EXPECT_EQ(repay.panelRowHeight, 72);
    EXPECT_EQ(repay.panel.Height(), 720);
    // Portrait keeps the panel's rows; the panel moves below the longer form.
    const OrderFormLayout narrow = LayoutOrderForm(480, 4);
    EXPECT_EQ(narrow.panelRowHeight, 54);
    EXPECT_EQ(narrow.panel.top, narrow.form.bottom + 20);
}

} // namespace
