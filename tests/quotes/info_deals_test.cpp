// The deal page's pure parts: cursors over the rows shown, the request they
// make, the reply's deals as rows (older pages read in reverse), and how a
// page merges with the rows shown without passing the limit.
#include "core/CDataSetList.h"
#include "core/CDataSetWriter.h"
#include "quotes/info/DealDetails.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(DealDetails, CursorsCountTheRowsOfTheFirstAndTheLastMinuteSkippingLeadingZeros) {
    struct Case {
        std::vector<int> times;
        DealCursors want;
    };
    const Case cases[] = {
        {{}, {0, 0, 0, 0}},
        {{930, 930, 931, 1459, 1459, 1459}, {930, 2, 1459, 3}},
        {{0, 1000, 1001, 0}, {1000, 1, 1001, 1}},
        {{1300}, {1300, 1, 1300, 1}},
    };
    for (const Case& c : cases) {
        const DealCursors got = ComputeDealCursors(c.times);
        EXPECT_EQ(got.topTime, c.want.topTime);
        EXPECT_EQ(got.topCount, c.want.topCount);
        EXPECT_EQ(got.bottomTime, c.want.bottomTime);
        EXPECT_EQ(got.bottomCount, c.want.bottomCount);
    }
}

TEST(DealDetails, TheRequestStartsFromTheCursorOfItsDirectionAndAnEmptyTableAsksForTheLatest) {
    const DealCursors shown{930, 2, 1459, 3};
    const std::string head = "tc_mfuncno=31000&tc_sfuncno=9&code=600010.02&date=0";
    struct Case {
        DealCursors cursors;
        DealDirection direction;
        const char* tail;
        DealDirection kept;
    };
    const Case cases[] = {
        {shown, DealDirection::Newer, "&time=1459&offset=3&direct=0&count=11", DealDirection::Newer},
        {shown, DealDirection::Refresh, "&time=1459&offset=3&direct=0&count=11", DealDirection::Refresh},
        {shown, DealDirection::Older, "&time=930&offset=2&direct=1&count=11", DealDirection::Older},
        {{}, DealDirection::Refresh, "&time=0&offset=0&direct=1&count=11", DealDirection::Older},
        {{}, DealDirection::Newer, "&time=0&offset=0&direct=1&count=11", DealDirection::Older},
    };
    for (const Case& c : cases) {
        const DealRequest r = MakeDealRequest("600010.02", "0", c.cursors, c.direction, 11);
        EXPECT_EQ(r.text, head + c.tail);
        EXPECT_EQ(r.kept, c.kept) << c.tail;
    }
    for (const auto& [code, date] : {std::pair{"1&x=2", "0"}, {"600010.02", "0&time=1"}, {"", "0"}})
        EXPECT_EQ(MakeDealRequest(code, date, shown, DealDirection::Newer, 11).text, "") << code << date;
}

TEST(DealDetails, RowTimesReadBackFromTheirText) {
    EXPECT_EQ(DealTimeText(905), u"09:05");
    EXPECT_EQ(DealTimeText(1459), u"14:59");
    EXPECT_EQ(DealRowTime(u"09:05"), 905);
    EXPECT_EQ(DealRowTime(u"14:59"), 1459);
    EXPECT_EQ(DealRowTime(u"0905"), 0);
    EXPECT_EQ(DealRowTime(u""), 0);
}

// A deal set of (tm, price, lots, direct) rows, as the server sends it.
std::vector<uint8_t> DealBody(const std::vector<std::tuple<int, double, int, int>>& deals) {
    CDataSetWriter w;
    w.AddSet("cjmx");
    w.AddColumn(DataSetType::Int16, "tm");
    w.AddColumn(DataSetType::Number, "zjcj");
    w.AddColumn(DataSetType::Int32, "cjsl");
    w.AddColumn(DataSetType::Int8, "direct");
    for (const auto& [tm, price, lots, direct] : deals) {
        w.AddRow();
        w.SetInt(0, tm);
        w.SetNumber(1, CQuoteNumber(price, 2));
        w.SetInt(2, lots);
        w.SetInt(3, direct);
    }
    return w.Serialize();
}

constexpr DealPalette kPalette{1, 2, 3, 4, 5};

TEST(DealDetails, DealsBecomeRowsInTheirColoursAndAnOlderPageIsReadInReverse) {
    const std::vector<uint8_t> body =
        DealBody({{1001, 10.10, 12, 1}, {1000, 9.90, 3, 2}, {905, 10.00, 7, 0}, {904, 10.00, 1, 7}});
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    CDataSet& set = **list.GetAt(0);
    const std::vector<DealRow> older = DealRowsOf(set, CQuoteNumber(10.00, 2), true, kPalette);
    ASSERT_EQ(older.size(), 4u);
    const std::vector<std::vector<std::pair<std::u16string, std::uint32_t>>> want = {
        {{u"09:04", 5}, {u"10.00", 3}, {u"1", 4}, {u"-", 5}},
        {{u"09:05", 5}, {u"10.00", 3}, {u"7", 4}, {u"-", 5}},
        {{u"10:00", 5}, {u"9.90", 2}, {u"3", 4}, {u"S", 2}},
        {{u"10:01", 5}, {u"10.10", 1}, {u"12", 4}, {u"B", 1}},
    };
    for (size_t r = 0; r < want.size(); ++r)
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(older[r][c].text, want[r][c].first) << r << "," << c;
            EXPECT_EQ(older[r][c].color, want[r][c].second) << r << "," << c;
        }
    const std::vector<DealRow> newer = DealRowsOf(set, std::nullopt, false, kPalette);
    EXPECT_EQ(newer.front()[0].text, u"10:01");
    EXPECT_EQ(newer.front()[1].color, 3u) << "no previous close: flat";
}

// count rows whose time cells are "n".
std::vector<DealRow> Rows(int first, int count) {
    std::vector<DealRow> rows(count);
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(first + i);
        rows[i][0].text.assign(n.begin(), n.end());
    }
    return rows;
}
std::vector<std::u16string> Firsts(const std::vector<DealRow>& rows) {
    std::vector<std::u16string> out;
    for (const DealRow& r : rows)
        out.push_back(r[0].text);
    return out;
}

TEST(DealDetails, AMergeNeverPassesTheLimitKeepsTheNewestAndAnEmptyOlderPageKeepsTheRows) {
    struct Case {
        int shown, incoming;
        bool older;
        int firstKept, kept; // rows numbered from 0 (shown) then on (incoming)
    };
    const Case cases[] = {
        {11, 4, false, 4, 11},   // the four oldest go
        {11, 11, false, 11, 11}, // all go
        {11, 15, false, 15, 11}, // more than the limit: the newest eleven
        {5, 3, false, 0, 8},
        {11, 0, true, 0, 11},    // an empty older page keeps the rows
        {11, 6, true, 11, 6},    // an older page replaces them
        {3, 15, true, 7, 11},
    };
    for (const Case& c : cases) {
        const std::vector<DealRow> merged = MergeDealRows(Rows(0, c.shown), Rows(c.shown, c.incoming), c.older, 11);
        EXPECT_EQ(Firsts(merged), Firsts(Rows(c.firstKept, c.kept))) << c.shown << "+" << c.incoming;
    }
    EXPECT_EQ(MergeDealRows(Rows(0, 900), Rows(900, 300), false, 0).size(), 1200u) << "no limit";
}

TEST(DealDetails, TheCaptionNamesTheStockOrItsCodeAlone) {
    EXPECT_EQ(DealCaption(u"华岳银行", u"600010"), u"华岳银行 600010 成交明细");
    EXPECT_EQ(DealCaption(u"", u"600010.02"), u"600010.02 成交明细");
}

} // namespace
