// The simulated market and its quote routes: deterministic data with rises,
// falls, a flat and an unopened stock and missing values, served by field
// number with the column names the quote windows read.
#include "SimTestClient.h"

#include "tools/simulator/CBrokerSimulator.h"
#include "tools/simulator/CSimMarket.h"

#include <gtest/gtest.h>

#include <set>

namespace {
const std::string kHead = "tc_service=300&tc_isunicode=1&";

class SimulatorMarket : public ::testing::Test {
protected:
    void SetUp() override { port = server.Start(0); ASSERT_GT(port, 0); }
    std::unique_ptr<CDataSetList> Ask(const std::string& text) {
        auto list = OpenReply(PostRaw(port, kHead + text), "");
        if (!list || list->IsError() || list->GetCount() < 1) return nullptr;
        return list;
    }
    CBrokerSimulator server;
    int port = -1;
};
} // namespace

TEST(CSimMarket, HoldsFortyStocksOfBothExchangesWithEveryKindOfDay) {
    CSimMarket market;
    int shanghai = 0, shenzhen = 0, rises = 0, falls = 0, flat = 0, unopened = 0;
    std::set<std::string> keys;
    for (const auto& s : market.Stocks()) {
        EXPECT_TRUE(keys.insert(s.Key()).second) << s.Key();
        if (s.secType != 1) continue;
        (s.market == 2 ? shanghai : shenzhen)++;
        EXPECT_FALSE(s.pinyin.empty());
        if (s.open == 0) ++unopened;
        else if (s.Change() > 0) ++rises;
        else if (s.Change() < 0) ++falls;
        else ++flat;
    }
    EXPECT_GE(shanghai + shenzhen, 40);
    EXPECT_GE(shanghai, 15);
    EXPECT_GE(shenzhen, 15);
    EXPECT_GT(rises, 0);
    EXPECT_GT(falls, 0);
    EXPECT_GT(flat, 0);
    EXPECT_GT(unopened, 0);
    ASSERT_TRUE(market.Find("000001.02"));
    EXPECT_EQ(market.Find("000001.2")->name, u"上证指数");
    EXPECT_EQ(market.Find("399001.01")->secType, 2);
    EXPECT_TRUE(market.Find("100100.03")) << "the default watch list's entries exist";
    EXPECT_FALSE(market.Find("999999.01"));
}

TEST_F(SimulatorMarket, QuoteFieldsFollowTheFieldListWithTheNamesTheWindowsRead) {
    auto list = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=4&count=2&code=600010.02|399001.01&field=4|3|16|13|11|1");
    ASSERT_TRUE(list);
    CDataSet* set = *list->GetAt(0);
    ASSERT_EQ(set->GetRowCount(), 2);
    EXPECT_EQ(set->FindColumn("name"), 0);
    EXPECT_EQ(set->FindColumn("code"), 1);
    EXPECT_EQ(set->FindColumn("jrkp"), 3);
    EXPECT_EQ(set->FindColumn("zrsp"), 4);
    EXPECT_EQ(set->FindColumn("exchid"), 5);
    set->MoveFirst();
    EXPECT_EQ(set->GetFieldText(0), u"华岳银行");
    EXPECT_EQ(set->GetFieldText(1), u"600010");
    EXPECT_EQ(set->GetFieldInt16ByName("exchid"), 2);
    set->MoveNext();
    EXPECT_EQ(set->GetFieldText(0), u"深证成指");
}

TEST_F(SimulatorMarket, BareCodeMatchesEveryMarketAndUnknownCodesGiveNoRow) {
    auto list = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=4&code=000016|123456.01");
    ASSERT_TRUE(list);
    EXPECT_EQ((*list->GetAt(0))->GetRowCount(), 2) << "000016 is a Shenzhen stock and a Shanghai index";
}

TEST_F(SimulatorMarket, UnopenedStockHasOpenZeroAndMissingValuesTravelAsTheMarker) {
    auto list = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=4&code=600372.02|600131.02&field=13|16|18|29");
    ASSERT_TRUE(list);
    CDataSet* set = *list->GetAt(0);
    set->MoveFirst();
    CQuoteNumber open;
    set->GetFieldNumber(open, 0);
    EXPECT_EQ(open.GetValue(), 0.0);
    set->MoveNext();
    EXPECT_EQ(set->GetFieldInt32(2), CQuoteNumber::kMissingPacked);
    EXPECT_EQ(set->GetFieldInt32(3), CQuoteNumber::kMissingPacked);
}

TEST_F(SimulatorMarket, RankingPagesAreSortedByTheServerAndPageByOffset) {
    std::string base = "tc_mfuncno=31000&tc_sfuncno=3&market=12&class=A&type=zf&direct=1&count=20&field=4|3|16|20|21|13|11|1";
    auto first = Ask(base + "&offset=0");
    auto third = Ask(base + "&offset=40");
    ASSERT_TRUE(first);
    ASSERT_TRUE(third);
    CDataSet* set = *first->GetAt(0);
    ASSERT_EQ(set->GetRowCount(), 20);
    double previous = 1e9;
    for (set->MoveFirst(); set->GetCursor() < set->GetRowCount(); set->MoveNext()) {
        CQuoteNumber pct;
        set->GetFieldNumber(pct, 4);
        EXPECT_LE(pct.GetValue(), previous);
        previous = pct.GetValue();
    }
    EXPECT_LT((*third->GetAt(0))->GetRowCount(), 20) << "the last page is short";

    auto shanghai = Ask("tc_mfuncno=31000&tc_sfuncno=3&market=2&class=A&type=df&direct=1&offset=0&count=5&field=1");
    ASSERT_TRUE(shanghai);
    CDataSet* sh = *shanghai->GetAt(0);
    for (sh->MoveFirst(); sh->GetCursor() < sh->GetRowCount(); sh->MoveNext()) EXPECT_EQ(sh->GetFieldInt32(0), 2);
}

TEST_F(SimulatorMarket, SectorListAndMembersUseTheBoardWindowsFields) {
    auto sectors = Ask("tc_mfuncno=100&tc_sfuncno=30&sector=gn");
    ASSERT_TRUE(sectors);
    CDataSet* set = *sectors->GetAt(0);
    ASSERT_GT(set->GetRowCount(), 0);
    set->MoveFirst();
    ASSERT_GE(set->FindColumn("sectorname"), 0);
    auto code = set->GetFieldTextByName("sectorcode");
    ASSERT_TRUE(code);
    std::string ansi(code->c_str(), code->c_str() + code->GetLength());
    auto members = Ask("tc_mfuncno=100&tc_sfuncno=31&sector=gn&sectorcode=" + ansi + "&field=4|3|16|20|21|13|11|1");
    ASSERT_TRUE(members);
    EXPECT_GT((*members->GetAt(0))->GetRowCount(), 0);
}

TEST_F(SimulatorMarket, PinyinSearchFindsByInitials) {
    auto list = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=10&type=2&pattern=HYYH");
    ASSERT_TRUE(list);
    CDataSet* set = *list->GetAt(0);
    ASSERT_EQ(set->GetRowCount(), 1);
    set->MoveFirst();
    EXPECT_EQ(set->GetFieldText(2), u"600010");
    EXPECT_EQ(set->GetFieldText(3), u"华岳银行");
}

TEST_F(SimulatorMarket, PriceChangesMadeThroughTheServerShowInTheNextReply) {
    server.WithMarket([](CSimMarket& m) { m.SetLast("600047.02", 6.50); });
    auto list = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=4&code=600047.02&field=16");
    ASSERT_TRUE(list);
    (*list->GetAt(0))->MoveFirst();
    CQuoteNumber last;
    (*list->GetAt(0))->GetFieldNumber(last, 0);
    EXPECT_EQ(last.ToText(), "6.50") << "an A share's price has two decimals";
}

TEST_F(SimulatorMarket, RankingOffsetsPastTheEndGiveAnEmptyPageEvenNearTheLargestInt) {
    std::string base = "tc_mfuncno=31000&tc_sfuncno=3&market=12&class=A&type=zf&count=200&field=3";
    for (const char* offset : {"44", "1000", "2147483600", "2147483647"}) {
        auto list = Ask(base + "&offset=" + offset);
        ASSERT_TRUE(list) << offset;
        EXPECT_EQ((*list->GetAt(0))->GetRowCount(), 0) << offset;
    }
}

TEST_F(SimulatorMarket, AFieldListLongerThanTheLimitIsCutSoTheReplyStaysSmall) {
    std::string fields = "4";
    for (int i = 0; i < 20000; ++i) fields += "|16";
    EXPECT_EQ(CSimMarket::ParseFieldList(fields).size(), CSimMarket::kMaxFields);
    RawReply r = PostRaw(port, kHead + "tc_mfuncno=31000&tc_sfuncno=4&code=6&field=" + fields);
    ASSERT_TRUE(r.complete);
    auto list = OpenReply(r, "");
    ASSERT_TRUE(list);
    EXPECT_EQ((*list->GetAt(0))->GetColumnCount(), static_cast<int>(CSimMarket::kMaxFields));
}

TEST(SimulatorData, TheSameRequestsGiveTheSameBytesFromEveryServerInstance) {
    // Fresh servers stand for fresh runs: nothing in a reply may hang on the clock or chance.
    const std::vector<std::string> requests = {
        "TC_MFUNCNO=100&TC_SFUNCNO=2&supportCompress=18",
        "TC_MFUNCNO=31000&TC_SFUNCNO=3&market=12&class=A&type=cje&direct=0&offset=3&count=9&field=4|3|16|17|18|29|30|32",
        "TC_MFUNCNO=31000&TC_SFUNCNO=4&code=600010.02|000851.01|6&field=4|16|50|51|70|71|59|79",
        "TC_MFUNCNO=31000&TC_SFUNCNO=8",
        "TC_MFUNCNO=31000&TC_SFUNCNO=10&type=2&pattern=H",
        "TC_MFUNCNO=100&TC_SFUNCNO=30&sector=hy",
        "TC_MFUNCNO=100&TC_SFUNCNO=31&sector=gn&sectorcode=GN02",
        "TC_MFUNCNO=504&TC_SFUNCNO=20",
    };
    auto run = [&] {
        CBrokerSimulator server;
        int port = server.Start(0);
        std::vector<std::vector<uint8_t>> bodies;
        for (const auto& text : requests) {
            RawReply r = PostRaw(port, kHead + text);
            EXPECT_TRUE(r.complete) << text;
            bodies.push_back(r.body);
            bodies.push_back(std::vector<uint8_t>(r.etag.begin(), r.etag.end()));
        }
        return bodies;
    };
    auto first = run();
    EXPECT_EQ(run(), first);
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
    // A packed price carries value x 10^code above the two code bits.
    auto thousandths = [](int32_t packed) { return (packed & 3) == 3 && (packed >> 2) % 10 != 0; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        auto list = Ask(std::string("TC_MFUNCNO=31000&TC_SFUNCNO=4&field=2|11|13|14|15|16|20|32|50|70&code=") + c.key);
        ASSERT_TRUE(list);
        CDataSet* set = *list->GetAt(0);
        ASSERT_EQ(set->GetRowCount(), 1);
        set->MoveFirst();
        EXPECT_EQ(set->GetFieldInt32(0), c.type) << "stktype";
        bool anyThousandths = false;
        for (int col = 1; col < set->GetColumnCount(); ++col) {
            int32_t packed = set->GetFieldInt32(col);
            if (packed == 0 && c.type == SimStock::kIndex) continue;  // an index has no bid or ask
            ASSERT_EQ(packed & 3, c.decimals) << "column " << col << ": the code is the price's decimals";
            anyThousandths |= thousandths(packed);
        }
        EXPECT_EQ(anyThousandths, c.decimals == 3) << "prices on a 0.01 tick have no third decimal";

        // A price set from outside lands on the tick too.
        double set3 = 0;
        server.WithMarket([&](CSimMarket& m) {
            m.SetLast(c.key, 1.23456);
            set3 = m.Find(c.key)->last;
            EXPECT_EQ(m.Find(c.key)->PriceDecimals(), c.decimals);
        });
        EXPECT_DOUBLE_EQ(set3, c.decimals == 3 ? 1.235 : 1.23);

        if (!c.rankingClass) continue;
        auto ranking = Ask(std::string("tc_mfuncno=31000&tc_sfuncno=3&market=12&type=zf&count=200&field=2|3&class=") +
                           c.rankingClass);
        ASSERT_TRUE(ranking);
        CDataSet* rows = *ranking->GetAt(0);
        bool listed = false;
        for (rows->MoveFirst(); rows->GetCursor() < rows->GetRowCount(); rows->MoveNext()) {
            EXPECT_EQ(rows->GetFieldInt32(0), c.type) << "class " << c.rankingClass;
            const std::string code(c.key, 6);
            listed |= rows->GetFieldText(1).str() == std::u16string(code.begin(), code.end());
        }
        EXPECT_TRUE(listed) << "class " << c.rankingClass;
    }
    // The world indices: points and changes two decimals, the percentage three.
    auto world = Ask("TC_MFUNCNO=31000&TC_SFUNCNO=8");
    ASSERT_TRUE(world);
    CDataSet* indices = *world->GetAt(0);
    ASSERT_GT(indices->GetRowCount(), 0);
    indices->MoveFirst();
    for (const char* name : {"zjcj", "zd", "jrkp", "zrsp", "zgcj", "zdcj"})
        EXPECT_EQ(indices->GetFieldInt32(indices->FindColumn(name)) & 3, 2) << name;
    EXPECT_EQ(indices->GetFieldInt32(indices->FindColumn("zdf")) & 3, 3);

    EXPECT_EQ(CSimMarket::TypeOfCode("900905", 1), SimStock::kAShare) << "900 is a B share in Shanghai only";
    EXPECT_EQ(CSimMarket::TypeOfCode("200596", 2), SimStock::kAShare) << "200 is a B share in Shenzhen only";
}
