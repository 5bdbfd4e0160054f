// The deal page's pure parts: the request from the cursors, deals as rows
// (older pages read in reverse) and a merge that never passes the limit.
#include "core/CDataSetList.h"
#include "core/CDataSetWriter.h"
#include "quotes/info/DealDetails.h"

#include <gtest/gtest.h>

namespace {

TEST(DealDetails, TheRequestStartsFromTheCursorOfItsDirectionAndAnEmptyTableAsksForTheLatest) {
    const DealCursors shown = ComputeDealCursors({0, 930, 930, 931, 1459, 1459, 1459});
    const std::string head = "tc_mfuncno=31000&tc_sfuncno=9&code=600010.02&date=0";
    const std::tuple<DealCursors, DealDirection, const char*, DealDirection> cases[] = {
        {shown, DealDirection::Newer, "&time=1459&offset=3&direct=0&count=11", DealDirection::Newer},
        {shown, DealDirection::Refresh, "&time=1459&offset=3&direct=0&count=11", DealDirection::Refresh},
        {shown, DealDirection::Older, "&time=930&offset=2&direct=1&count=11", DealDirection::Older},
        {ComputeDealCursors({}), DealDirection::Newer, "&time=0&offset=0&direct=1&count=11", DealDirection::Older},
    };
    for (const auto& [cursors, direction, tail, kept] : cases) {
        const DealRequest r = MakeDealRequest("600010.02", "0", cursors, direction, 11);
        EXPECT_EQ(r.text, head + tail);
        EXPECT_EQ(r.kept, kept) << tail;
    }
    for (const auto& [code, date] : {std::pair{"1&x=2", "0"}, {"600010.02", "0&time=1"}, {"", "0"}})
        EXPECT_EQ(MakeDealRequest(code, date, shown, DealDirection::Newer, 11).text, "") << code << date;
    EXPECT_EQ(DealRowTime(DealTimeText(905)), 905);
    EXPECT_EQ(DealTimeText(905), u"09:05");
    EXPECT_EQ(DealRowTime(u"0905"), 0);
}

TEST(DealDetails, DealsBecomeRowsInTheirColoursAndAnOlderPageIsReadInReverse) {
    CDataSetWriter w;
    w.AddSet("cjmx");
    w.AddColumn(DataSetType::Int16, "tm");
    w.AddColumn(DataSetType::Number, "zjcj");
    w.AddColumn(DataSetType::Int32, "cjsl");
    w.AddColumn(DataSetType::Int8, "direct");
    for (const auto& [tm, price, lots, direct] :
         {std::tuple{1001, 10.10, 12, 1}, {1000, 9.90, 3, 2}, {905, 10.00, 7, 0}, {904, 10.00, 1, 7}}) {
        w.AddRow();
        w.SetInt(0, tm);
        w.SetNumber(1, CQuoteNumber(price, 2));
        w.SetInt(2, lots);
        w.SetInt(3, direct);
    }
    const std::vector<uint8_t> body = w.Serialize();
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    const std::vector<DealRow> rows = DealRowsOf(**list.GetAt(0), CQuoteNumber(10.00, 2), true, {1, 2, 3, 4, 5});
    const std::vector<std::vector<std::pair<std::u16string, std::uint32_t>>> want = {
        {{u"09:04", 5}, {u"10.00", 3}, {u"1", 4}, {u"-", 5}}, // a direction byte of 7
        {{u"09:05", 5}, {u"10.00", 3}, {u"7", 4}, {u"-", 5}},
        {{u"10:00", 5}, {u"9.90", 2}, {u"3", 4}, {u"S", 2}},
        {{u"10:01", 5}, {u"10.10", 1}, {u"12", 4}, {u"B", 1}},
    };
    ASSERT_EQ(rows.size(), want.size());
    for (size_t r = 0; r < want.size(); ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(std::pair(rows[r][c].text, rows[r][c].color), want[r][c]) << r << "," << c;
}

TEST(DealDetails, AMergeNeverPassesTheLimitKeepsTheNewestAndAnEmptyOlderPageKeepsTheRows) {
    auto rows = [](int first, int count) {
        std::vector<DealRow> out(count);
        for (int i = 0; i < count; ++i)
            out[i][0].text = DealTimeText(first + i);
        return out;
    };
    // shown, incoming, older; then the first and the number of rows kept,
    // numbered from 0 (shown) on (incoming).
    const int cases[][5] = {{11, 4, 0, 4, 11}, {11, 11, 0, 11, 11}, {11, 15, 0, 15, 11}, {5, 3, 0, 0, 8},
                            {11, 0, 1, 0, 11}, {11, 6, 1, 11, 6},  {3, 15, 1, 7, 11}};
    for (const auto& c : cases) {
        const std::vector<DealRow> merged = MergeDealRows(rows(0, c[0]), rows(c[0], c[1]), c[2] != 0, 11);
        const std::vector<DealRow> want = rows(c[3], c[4]);
        ASSERT_EQ(merged.size(), want.size()) << c[0] << "+" << c[1];
        for (size_t i = 0; i < want.size(); ++i)
            EXPECT_EQ(merged[i][0].text, want[i][0].text) << c[0] << "+" << c[1];
    }
}

} // namespace
