// The order form panel's quote: 31000/4 with the panel's field list gives
// one "hq.zx" set of 34 columns in field order; every other 31000/4 is the
// quote tables' as before.
#include "core/CDataSetList.h"
#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/SimOrderFormRoutes.h"
#include "tools/simulator/SimQuoteRoutes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr char kPanelFields[] =
    "1|2|3|4|11|13|14|15|16|17|18|32|29|30|50|51|52|53|54|55|56|57|58|59|70|71|72|73|74|75|76|77|78|79";

class SimOrderFormRoutesTest : public ::testing::Test {
protected:
    void SetUp() override {
        CSimQuoteRoutes quotes;
        CSimOrderFormRoutes form;
        quotes.AddRoutes(table);
        form.AddRoutes(table);
    }
    std::unique_ptr<CDataSetList> Ask(const std::string& code, const std::string& fields) {
        SimRequest r;
        r.main = 31000;
        r.sub = 4;
        r.params = {{"code", code}, {"field", fields}};
        SimClock clock;
        SimSession session;
        SimContext context{market, clock, session};
        const SimReply reply = table.Find(31000, 4)->handler(r, context);
        return std::make_unique<CDataSetList>(reply.body.data(), static_cast<int>(reply.body.size()));
    }
    CSimMarket market;
    CSimRouteTable table;
};

TEST_F(SimOrderFormRoutesTest, ThePanelsFieldListIsAnsweredAsHqZxInFieldOrder) {
    auto list = Ask("600010.2", kPanelFields);
    CDataSet* set = *list->GetAt(0);
    ASSERT_NE(set, nullptr);
    EXPECT_STREQ(set->GetTag(), "hq.zx");
    EXPECT_EQ(set->GetColumnCount(), 34);
    ASSERT_EQ(set->GetRowCount(), 1);
    set->MoveFirst();
    EXPECT_EQ(set->GetFieldText(2).ToAnsi(), "600010");
    EXPECT_EQ(set->GetFieldInt(0), 2); // field 1, the market
    // The best bid is below the best ask.
    CQuoteNumber bid, ask;
    set->GetFieldNumber(bid, 14);
    set->GetFieldNumber(ask, 24);
    EXPECT_LT(bid.GetValue(), ask.GetValue());
    EXPECT_EQ((*Ask("999999.2", kPanelFields)->GetAt(0))->GetRowCount(), 0);
}

TEST_F(SimOrderFormRoutesTest, OtherFieldListsStayTheTablesReplies) {
    auto list = Ask("600010.02|399001.01", "4|3|16|13|11|1");
    CDataSet* set = *list->GetAt(0);
    ASSERT_NE(set, nullptr);
    EXPECT_STREQ(set->GetTag(), "hq");
    EXPECT_EQ(set->GetRowCount(), 2);
    EXPECT_EQ(set->GetColumnCount(), 6);
}

TEST(SimRepayAmount, IsAFixedYuanAmountPerFundAccount) {
    const std::string a = CSimOrderFormRoutes::RepayAmount("000100012345");
    EXPECT_EQ(a, CSimOrderFormRoutes::RepayAmount("000100012345"));
    EXPECT_NE(a, CSimOrderFormRoutes::RepayAmount("000300056789"));
    for (const char* fund : {"000100012345", "000100012346", "000300056789", "000500088001", ""}) {
        const std::string amount = CSimOrderFormRoutes::RepayAmount(fund);
        const size_t point = amount.find('.');
        ASSERT_NE(point, std::string::npos) << amount;
        EXPECT_EQ(amount.size() - point, 3u) << amount; // two decimals
        const double yuan = std::stod(amount);
        EXPECT_GE(yuan, 500.0);
        EXPECT_LT(yuan, 50500.0);
    }
}

} // namespace
