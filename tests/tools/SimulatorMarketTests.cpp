// The simulated market and its quote routes: deterministic data with rises,
// falls, a flat and an unopened stock and missing values, served by field
// number with the column names the quote windows read, every price on its
// tick.
#include "SimTestClient.h"

#include "tools/simulator/CBrokerSimulator.h"
#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/SimMarketDay.h"

#include <gtest/gtest.h>

#include <set>

namespace {
const std::string kHead = "tc_service=300&tc_isunicode=1&";

// The first set of a reply that opened without an error, with its list.
struct Rows {
    std::unique_ptr<CDataSetList> list;
    CDataSet* set = nullptr;
    CDataSet* operator->() const { return set; }
    explicit operator bool() const { return set; }
};

class SimulatorMarket : public ::testing::Test {
protected:
    void SetUp() override {
        // After the close: every stock shows its whole day.
        server.SetClock(SimChinaMs(2026, 12, 4, 15, 30));
        port = server.Start(0);
        ASSERT_GT(port, 0);
    }
    Rows Ask(const std::string& text) {
        Rows rows{OpenReply(PostRaw(port, kHead + text), "")};
        if (rows.list && !rows.list->IsError() && rows.list->GetCount() > 0) rows.set = *rows.list->GetAt(0);
        if (rows.set) rows.set->MoveFirst();
        return rows;
    }
    CBrokerSimulator server;
    int port = -1;
};

double Number(const CDataSet* set, int column) {
    CQuoteNumber n;
    set->GetFieldNumber(n, column);
    return n.GetValue();
}
} // namespace

TEST(CSimMarket, HoldsFortyStocksOfBothExchangesWithEveryKindOfDay) {
    CSimMarket market;
    int shanghai = 0, shenzhen = 0, rises = 0, falls = 0, flat = 0, unopened = 0;
    std::set<std::string> keys;
    for (const auto& s : market.Stocks()) {
        EXPECT_TRUE(keys.insert(s.Key()).second) << s.Key();
        if (s.secType != SimStock::kAShare) continue;
        (s.market == 2 ? shanghai : shenzhen)++;
        EXPECT_FALSE(s.pinyin.empty());
        (s.open == 0 ? unopened : s.Change() > 0 ? rises : s.Change() < 0 ? falls : flat)++;
    }
    EXPECT_GE(shanghai, 15);
    EXPECT_GE(shenzhen, 15);
    EXPECT_GE(shanghai + shenzhen, 40);
    for (int kinds : {rises, falls, flat, unopened}) EXPECT_GT(kinds, 0);
    EXPECT_EQ(market.Find("000001.2")->name, u"上证指数");  // one-digit market
    EXPECT_EQ(market.Find("399001.01")->secType, SimStock::kIndex);
    EXPECT_TRUE(market.Find("100100.03")) << "the default watch list's entries exist";
    EXPECT_FALSE(market.Find("999999.01"));
}

TEST_F(SimulatorMarket, QuotesFollowTheFieldListWithTheNamesTheWindowsReadAndMissingValuesAsTheMarker) {
    Rows rows = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=4&count=2&code=600010.02|399001.01&field=4|3|16|13|11|1");
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->GetRowCount(), 2);
    int column = 0;
    for (const char* name : {"name", "code", "zjcj", "jrkp", "zrsp", "exchid"})
        EXPECT_EQ(rows->FindColumn(name), column++) << name;
    EXPECT_EQ(rows->GetFieldText(0), u"华岳银行");
    EXPECT_EQ(rows->GetFieldText(1), u"600010");
    EXPECT_EQ(rows->GetFieldInt16ByName("exchid"), 2);
    rows->MoveNext();
    EXPECT_EQ(rows->GetFieldText(0), u"深证成指");

    EXPECT_EQ(Ask("TC_MFUNCNO=31000&TC_SFUNCNO=4&code=000016|123456.01")->GetRowCount(), 2)
        << "a bare code matches a Shenzhen stock and a Shanghai index; an unknown code no row";

    rows = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=4&code=600372.02|600131.02&field=13|16|18|29");
    ASSERT_TRUE(rows);
    EXPECT_EQ(Number(rows.set, 0), 0.0) << "the unopened stock's open";
    rows->MoveNext();
    EXPECT_EQ(rows->GetFieldInt32(2), CQuoteNumber::kMissingPacked);
    EXPECT_EQ(rows->GetFieldInt32(3), CQuoteNumber::kMissingPacked);

    rows = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=10&type=2&pattern=HYYH");
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->GetRowCount(), 1) << "pinyin initials";
    EXPECT_EQ(rows->GetFieldText(2), u"600010");
}

TEST_F(SimulatorMarket, RankingPagesAreSortedByTheServerAndPageByOffsetToAnEmptyPageEvenNearTheLargestInt) {
    const std::string base = "tc_mfuncno=31000&tc_sfuncno=3&market=12&class=A&type=zf&direct=1&count=20&field=4|3|16|20|21";
    Rows first = Ask(base + "&offset=0");
    ASSERT_TRUE(first);
    ASSERT_EQ(first->GetRowCount(), 20);
    for (double previous = 1e9; first->GetCursor() < first->GetRowCount(); first->MoveNext()) {
        EXPECT_LE(Number(first.set, 4), previous);
        previous = Number(first.set, 4);
    }
    Rows third = Ask(base + "&offset=40");
    ASSERT_TRUE(third);
    EXPECT_GT(third->GetRowCount(), 0);
    EXPECT_LT(third->GetRowCount(), 20) << "the last page is short";
    for (const char* offset : {"44", "2147483600", "2147483647"}) {
        Rows past = Ask(base + "&offset=" + offset);
        ASSERT_TRUE(past) << offset;
        EXPECT_EQ(past->GetRowCount(), 0) << offset;
    }
    Rows shanghai = Ask("tc_mfuncno=31000&tc_sfuncno=3&market=2&class=A&type=df&direct=1&offset=0&count=5&field=1");
    ASSERT_TRUE(shanghai);
    for (; shanghai->GetCursor() < shanghai->GetRowCount(); shanghai->MoveNext())
        EXPECT_EQ(shanghai->GetFieldInt32(0), 2);
}

TEST_F(SimulatorMarket, SectorListAndMembersUseTheBoardWindowsFields) {
    Rows sectors = Ask("tc_mfuncno=100&tc_sfuncno=30&sector=gn");
    ASSERT_TRUE(sectors);
    ASSERT_GE(sectors->FindColumn("sectorname"), 0);
    auto code = sectors->GetFieldTextByName("sectorcode");
    ASSERT_TRUE(code);
    std::string ansi(code->c_str(), code->c_str() + code->GetLength());
    Rows members = Ask("tc_mfuncno=100&tc_sfuncno=31&sector=gn&sectorcode=" + ansi + "&field=4|3|16");
    ASSERT_TRUE(members);
    EXPECT_GT(members->GetRowCount(), 0);
}

TEST_F(SimulatorMarket, AFieldListLongerThanTheLimitIsCutSoTheReplyStaysSmall) {
    std::string fields = "4";
    for (int i = 0; i < 20000; ++i) fields += "|16";
    Rows rows = Ask("tc_mfuncno=31000&tc_sfuncno=4&code=6&field=" + fields);
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->GetColumnCount(), static_cast<int>(CSimMarket::kMaxFields));
}

TEST(SimulatorData, TheSameRequestsGiveTheSameBytesFromEveryServerInstance) {
    // Fresh servers stand for fresh runs: nothing in a reply may hang on chance,
    // and at one clock reading (in trading hours) nothing on the moment of asking.
    const std::vector<std::string> requests = {
        "TC_MFUNCNO=100&TC_SFUNCNO=2&supportCompress=18",
        "TC_MFUNCNO=31000&TC_SFUNCNO=3&market=12&class=A&type=cje&direct=0&offset=3&count=9&field=4|3|16|17|18|29|30|32",
        "TC_MFUNCNO=31000&TC_SFUNCNO=4&code=600010.02|000851.01|6&field=4|16|50|51|70|71|59|79",
        "TC_MFUNCNO=31000&TC_SFUNCNO=8",
        "TC_MFUNCNO=31000&TC_SFUNCNO=10&type=2&pattern=H",
        "TC_MFUNCNO=100&TC_SFUNCNO=30&sector=hy",
        "TC_MFUNCNO=100&TC_SFUNCNO=31&sector=gn&sectorcode=GN02",
    };
    auto run = [&] {
        CBrokerSimulator server;
        server.SetClock(SimChinaMs(2026, 12, 7, 10, 31));
        int port = server.Start(0);
        std::vector<std::string> replies;
        for (const auto& text : requests) {
            RawReply r = PostRaw(port, kHead + text);
            EXPECT_EQ(ErrorOf(r), 0) << text;
            replies.push_back(r.etag + std::string(r.body.begin(), r.body.end()));
        }
        return replies;
    };
    EXPECT_EQ(run(), run());
}

TEST_F(SimulatorMarket, PricesLieOnTheirTickTwoDecimalsForAShareAndIndexThreeForFundAndBShare) {
    struct Case {
        const char* key;
        int type;
        int decimals;
        const char* rankingClass;  // the ranking class listing the type; null for none
    };
    const Case cases[] = {
        {"600010.02", SimStock::kAShare, 2, "A"}, {"000016.01", SimStock::kAShare, 2, "A"},
        {"000001.02", SimStock::kIndex, 2, nullptr}, {"399001.01", SimStock::kIndex, 2, nullptr},
        {"510880.02", SimStock::kFund, 3, "J"},    {"159915.01", SimStock::kFund, 3, "J"},
        {"900905.02", SimStock::kBShare, 3, "B"},  {"200596.01", SimStock::kBShare, 3, "B"},
    };
    const std::string quote = "TC_MFUNCNO=31000&TC_SFUNCNO=4&field=2|11|13|14|15|16|20|32|50|70&code=";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Rows rows = Ask(quote + c.key);
        ASSERT_TRUE(rows);
        ASSERT_EQ(rows->GetRowCount(), 1);
        EXPECT_EQ(rows->GetFieldInt32(0), c.type) << "stktype";
        bool anyThousandths = false;
        for (int col = 1; col < rows->GetColumnCount(); ++col) {
            int32_t packed = rows->GetFieldInt32(col);
            if (packed == 0 && c.type == SimStock::kIndex) continue;  // an index has no bid or ask
            ASSERT_EQ(packed & 3, c.decimals) << "column " << col << ": the code is the price's decimals";
            anyThousandths |= (packed & 3) == 3 && (packed >> 2) % 10 != 0;
        }
        EXPECT_EQ(anyThousandths, c.decimals == 3) << "only prices on a 0.001 tick use the third decimal";

        // A price set from outside lands on the tick, and the next reply shows it.
        const double onTick = c.decimals == 3 ? 1.235 : 1.23;
        double kept = 0;
        server.WithMarket([&](CSimMarket& m) { m.SetLast(c.key, 1.23456), kept = m.Find(c.key)->last; });
        EXPECT_DOUBLE_EQ(kept, onTick);
        Rows after = Ask(quote + c.key);
        ASSERT_TRUE(after);
        EXPECT_DOUBLE_EQ(Number(after.set, 5), onTick);

        if (!c.rankingClass) continue;
        Rows ranking = Ask(std::string("tc_mfuncno=31000&tc_sfuncno=3&market=12&type=zf&count=200&field=2|3&class=") +
                           c.rankingClass);
        ASSERT_TRUE(ranking);
        bool listed = false;
        const std::string code(c.key, 6);
        for (; ranking->GetCursor() < ranking->GetRowCount(); ranking->MoveNext()) {
            EXPECT_EQ(ranking->GetFieldInt32(0), c.type) << "class " << c.rankingClass;
            listed |= ranking->GetFieldText(1).str() == std::u16string(code.begin(), code.end());
        }
        EXPECT_TRUE(listed) << "class " << c.rankingClass;
    }
    // The world indices: points and changes two decimals, the percentage three.
    Rows world = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=8");
    ASSERT_TRUE(world);
    for (const char* name : {"zjcj", "zd", "jrkp", "zrsp", "zgcj", "zdcj"})
        EXPECT_EQ(world->GetFieldInt32(world->FindColumn(name)) & 3, 2) << name;
    EXPECT_EQ(world->GetFieldInt32(world->FindColumn("zdf")) & 3, 3);
    // The table colours columns 2, 3, 7, 8 and 9 by sign: they hold changes.
    for (int column : {2, 3, 7, 8, 9})
        EXPECT_EQ(world->GetColumn(column)->GetType(), DataSetType::Number) << column;
    EXPECT_EQ(world->GetColumn(11)->GetType(), DataSetType::WideText);

    EXPECT_EQ(CSimMarket::TypeOfCode("900905", 1), SimStock::kAShare) << "900 is a B share in Shanghai only";
    EXPECT_EQ(CSimMarket::TypeOfCode("200596", 2), SimStock::kAShare) << "200 is a B share in Shenzhen only";
}

TEST_F(SimulatorMarket, NewsArticlesStockPagesAndTheBranchDirectoryHaveTheColumnsTheirPagesRead) {
    for (const char* column : {"cjyw", "gsgg", "qsyb", "ggzx"}) {
        Rows list = Ask(std::string("TC_MFUNCNO=504&TC_SFUNCNO=20&lmdm=") + column);
        ASSERT_TRUE(list) << column;
        EXPECT_GE(list->GetRowCount(), 3) << column;
        EXPECT_EQ(list->GetColumn(0)->GetType(), DataSetType::Int32);
        Rows article = Ask("TC_MFUNCNO=504&TC_SFUNCNO=21&newsid=" + std::to_string(list->GetFieldInt32(0)));
        ASSERT_TRUE(article);
        EXPECT_EQ(article->GetColumnCount(), 2) << "a line number and the line";
        EXPECT_GE(article->GetRowCount(), 1);
    }
    Rows page = Ask("TC_MFUNCNO=504&TC_SFUNCNO=21&lmdm=gsgk&stkcode=600010");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->GetColumnCount(), 1);
    EXPECT_EQ(page->GetFieldText(0).str().rfind(u"华岳银行", 0), 0u);
    Rows none = Ask("TC_MFUNCNO=504&TC_SFUNCNO=21&newsid=999999");
    ASSERT_TRUE(none);
    EXPECT_EQ(none->GetRowCount(), 0);

    Rows regions = Ask("TC_MFUNCNO=504&TC_SFUNCNO=32");
    ASSERT_TRUE(regions);
    std::set<std::u16string> closed;
    std::u16string current;
    std::vector<int> provinces;
    for (bool more = regions->MoveFirst(); more; more = regions->MoveNext()) {
        const std::u16string region = regions->GetFieldText(1).str();
        if (region != current) {
            EXPECT_TRUE(closed.insert(current).second || current.empty()) << "each region in one run";
            EXPECT_FALSE(closed.count(region));
            current = region;
        }
        provinces.push_back(regions->GetFieldInt32(0));
    }
    EXPECT_GE(provinces.size(), 20u);
    for (int id : provinces) {
        Rows branches = Ask("TC_MFUNCNO=504&TC_SFUNCNO=13&provinceid=" + std::to_string(id));
        ASSERT_TRUE(branches) << id;
        EXPECT_GE(branches->GetRowCount(), 2) << id;
        for (bool more = branches->MoveFirst(); more; more = branches->MoveNext())
            for (int c = 1; c <= 3; ++c)
                EXPECT_FALSE(branches->GetFieldText(c).IsEmpty()) << id << " " << c;
    }
}
