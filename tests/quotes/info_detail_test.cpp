// The detail quote page's pure parts: the request, the reply row read into
// a model, the rows with their colours for a trading stock, one not traded
// today, an index, a previous close of 0 and missing values, and what buy
// and sell open.
#include "core/CDataSetList.h"
#include "core/CDataSetWriter.h"
#include "quotes/info/StockDetail.h"
#include "tools/simulator/CSimMarket.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double kMissing = CQuoteNumber::kMissingValue;

// One reply row of the detail fields: prices with 2 decimals, counts as the
// server packs them.
struct Row {
    int market = 1, type = 1;
    std::string code = "600000";
    std::u16string name = u"浦江银行";
    double prevClose = 10.00, open = 10.10, high = 10.50, low = 9.90, last = 10.20;
    CQuoteNumber volume{1.2, 1}, amount{1250.0, 1};
    double average = 10.13, orderRatio = 12.5, volumeRatio = 1.1;
    int bidVolume = 25050, askVolume = 250; // shares, every level
};

CQuoteNumber Packed(double v, int code) {
    return v == kMissing ? CQuoteNumber(kMissing, 0) : CQuoteNumber(v, code);
}

// The reply body of rows (none: a set without a row).
std::vector<uint8_t> Body(const std::vector<Row>& rows) {
    CDataSetWriter w;
    w.AddSet("hq");
    CSimMarket::AddFieldColumns(w, CSimMarket::ParseFieldList(kDetailFields));
    for (const Row& r : rows) {
        w.AddRow();
        w.SetInt(0, r.market);
        w.SetInt(1, r.type);
        w.SetAnsiText(2, r.code);
        w.SetText(3, r.name);
        const double prices[] = {r.prevClose, r.open, r.high, r.low, r.last};
        for (int i = 0; i < 5; ++i)
            w.SetNumber(4 + i, Packed(prices[i], 2));
        w.SetNumber(9, r.volume);
        w.SetNumber(10, r.amount);
        w.SetNumber(11, Packed(r.average, 2));
        w.SetNumber(12, Packed(r.orderRatio, 3));
        w.SetNumber(13, Packed(r.volumeRatio, 3));
        for (int n = 0; n < 5; ++n) {
            w.SetNumber(14 + 2 * n, Packed(r.last - 0.01 * n, 2));
            w.SetInt(15 + 2 * n, r.bidVolume);
            w.SetNumber(24 + 2 * n, Packed(r.last + 0.01 * (n + 1), 2));
            w.SetInt(25 + 2 * n, r.askVolume);
        }
    }
    return w.Serialize();
}

std::optional<DetailQuote> Read(const Row& row) {
    const std::vector<uint8_t> body = Body({row});
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    return ReadDetailQuote(**list.GetAt(0));
}

// Distinct colours, so each cell tells which one it got.
constexpr DetailPalette kPalette{1, 2, 3, 4, 5};
enum : std::uint32_t { kRise = 1, kFall = 2, kFlat = 3, kVolume = 4, kLabel = 5 };

// The value cells (1 and 3) of the first six rows: text and colour.
using Values = std::vector<std::pair<std::u16string, std::uint32_t>>;
Values ValueCells(const std::vector<DetailRow>& rows) {
    Values out;
    for (size_t i = 0; i < rows.size() && i < 6; ++i)
        for (int c : {1, 3})
            out.emplace_back(rows[i][c].text, rows[i][c].color);
    return out;
}

TEST(StockDetail, TheFigureRowsShowEachValueInItsColourAndMissingOrUntradedValuesAsDash) {
    Row untraded;
    untraded.open = 0;
    Row index;
    index.type = kIndexType;
    Row zeroClose;
    zeroClose.prevClose = 0;
    Row missing;
    missing.last = kMissing;
    missing.amount = CQuoteNumber(kMissing, 0);
    missing.prevClose = kMissing;
    struct Case {
        const char* what;
        Row row;
        size_t rows;
        Values values; // 最新 涨跌 / 幅度% 总手 / 金额 均价 / 昨收 今开 / 最高 最低 / 委比 量比
    };
    const Case cases[] = {
        {"trading", Row(), 16,
         {{u"10.20", kRise}, {u"0.20", kRise}, {u"2.00", kRise}, {u"1.2万", kVolume}, {u"1250.0万", kVolume},
          {u"10.13", kRise}, {u"10.00", kLabel}, {u"10.10", kRise}, {u"10.50", kRise}, {u"9.90", kFall},
          {u"12.500", kRise}, {u"1.100", kLabel}}},
        {"open 0", untraded, 16,
         {{u"-", kLabel}, {u"-", kLabel}, {u"-", kLabel}, {u"-", kVolume}, {u"-", kVolume}, {u"-", kLabel},
          {u"10.00", kLabel}, {u"-", kLabel}, {u"-", kLabel}, {u"-", kLabel}, {u"12.500", kRise},
          {u"1.100", kLabel}}},
        {"index", index, 6,
         {{u"10.20", kRise}, {u"0.20", kRise}, {u"2.00", kRise}, {u"1.2万", kVolume}, {u"1250.0万", kVolume},
          {u"10.13", kRise}, {u"10.00", kLabel}, {u"10.10", kRise}, {u"10.50", kRise}, {u"9.90", kFall},
          {u"-", kLabel}, {u"1.100", kLabel}}},
        {"previous close 0", zeroClose, 16,
         {{u"10.20", kRise}, {u"10.20", kRise}, {u"-", kLabel}, {u"1.2万", kVolume}, {u"1250.0万", kVolume},
          {u"10.13", kRise}, {u"0.00", kLabel}, {u"10.10", kRise}, {u"10.50", kRise}, {u"9.90", kRise},
          {u"12.500", kRise}, {u"1.100", kLabel}}},
        {"missing last, amount, previous close", missing, 16,
         {{u"-", kLabel}, {u"-", kLabel}, {u"-", kLabel}, {u"1.2万", kVolume}, {u"-", kVolume},
          {u"10.13", kFlat}, {u"-", kLabel}, {u"10.10", kFlat}, {u"10.50", kFlat}, {u"9.90", kFlat},
          {u"12.500", kRise}, {u"1.100", kLabel}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<DetailQuote> quote = Read(c.row);
        ASSERT_TRUE(quote);
        const std::vector<DetailRow> rows = DetailRows(*quote, kPalette);
        ASSERT_EQ(rows.size(), c.rows);
        EXPECT_EQ(ValueCells(rows), c.values);
        EXPECT_EQ(rows[1][0].text, u"幅度%");
        EXPECT_EQ(rows[5][2].text, u"量比");
    }
}

TEST(StockDetail, LevelRowsRunFromTheFifthAskToTheFifthBidWithVolumesInLots) {
    const std::optional<DetailQuote> quote = Read(Row());
    ASSERT_TRUE(quote);
    const std::vector<DetailRow> rows = DetailRows(*quote, kPalette);
    ASSERT_EQ(rows.size(), 16u);
    const char16_t* labels[] = {u"卖五", u"卖四", u"卖三", u"卖二", u"卖一",
                                u"买一", u"买二", u"买三", u"买四", u"买五"};
    const char16_t* prices[] = {u"10.25", u"10.24", u"10.23", u"10.22", u"10.21",
                                u"10.20", u"10.19", u"10.18", u"10.17", u"10.16"};
    for (int i = 0; i < 10; ++i) {
        const DetailRow& row = rows[6 + i];
        EXPECT_EQ(row[0].text, labels[i]);
        EXPECT_EQ(row[1].text, prices[i]);
        EXPECT_EQ(row[1].color, kRise);
        EXPECT_EQ(row[2].text, u"");
        EXPECT_EQ(row[3].text, i < 5 ? u"2" : u"250") << "shares / 100, whole lots";
        EXPECT_EQ(row[3].color, kVolume);
    }
    Row untraded;
    untraded.open = 0;
    const std::vector<DetailRow> dashes = DetailRows(*Read(untraded), kPalette);
    EXPECT_EQ(dashes[6][1].text, u"-");
    EXPECT_EQ(dashes[6][1].color, kLabel);
    EXPECT_EQ(dashes[15][3].text, u"-");
    EXPECT_EQ(dashes[15][3].color, kVolume);
}

TEST(StockDetail, AReplyCodeGetsItsMarketAndARowlessSetNoModel) {
    Row bare;
    EXPECT_EQ(Read(bare)->key, "600000.01");
    Row keyed;
    keyed.code = "000001.02";
    keyed.market = 2;
    EXPECT_EQ(Read(keyed)->key, "000001.02");
    const std::vector<uint8_t> body = Body({});
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    EXPECT_FALSE(ReadDetailQuote(**list.GetAt(0)));
}

TEST(StockDetail, TheRequestSetsTheCodeInThePresetAndCarriesOnlyAnAcceptedKey) {
    const std::string fields = "&field=" + std::string(kDetailFields);
    EXPECT_EQ(DetailQuoteRequest("tc_mfuncno=31000&tc_sfuncno=4", "600010.02"),
              "tc_mfuncno=31000&tc_sfuncno=4&code=600010.02" + fields);
    EXPECT_EQ(DetailQuoteRequest("tc_mfuncno=31000&code=1A0001&tc_sfuncno=4", "600010.02"),
              "tc_mfuncno=31000&code=600010.02&tc_sfuncno=4" + fields);
    EXPECT_EQ(DetailQuoteRequest("tc_mfuncno=31000&tc_sfuncno=4", "1&x=2.01"), "");
    EXPECT_EQ(DetailQuoteRequest("tc_mfuncno=31000&tc_sfuncno=4", ""), "");
}

TEST(StockDetail, BuyAndSellOpenTheFormOnlyForAShownTradableQuoteAndWithoutAPriceItCannotTell) {
    Row untraded;
    untraded.open = 0;
    Row missing;
    missing.last = kMissing;
    Row index;
    index.type = kIndexType;
    Row hostile;
    hostile.code = "1&x=2";
    const std::optional<DetailQuote> quotes[] = {Read(Row()), Read(untraded), Read(missing), Read(index),
                                                 Read(hostile)};
    struct Case {
        const DetailQuote* quote;
        bool sell;
        DetailOrderStep step;
        const char* request;
    };
    const Case cases[] = {
        {nullptr, false, DetailOrderStep::Nothing, ""},
        {&*quotes[0], false, DetailOrderStep::Open, "code=600000.01&price=10.20&market=1&type=1&MMLB=0"},
        {&*quotes[1], true, DetailOrderStep::Open, "code=600000.01&market=1&type=1&MMLB=1"},
        {&*quotes[2], false, DetailOrderStep::Open, "code=600000.01&market=1&type=1&MMLB=0"},
        {&*quotes[3], false, DetailOrderStep::RefuseIndex, ""},
        {&*quotes[4], false, DetailOrderStep::Nothing, ""},
    };
    for (const Case& c : cases) {
        const DetailOrder order = DetailOrderFor(c.quote, c.sell);
        EXPECT_EQ(order.step, c.step) << c.request;
        EXPECT_EQ(order.request, c.request);
    }
    EXPECT_EQ(DetailOrderFor(&*quotes[1], true).title, u"卖出 浦江银行");
}

TEST(StockDetail, TheSameStockIsAnEqualCodeIgnoringCaseNeverAPartOfOne) {
    EXPECT_TRUE(SameStockCode(u"1a0001", u"1A0001"));
    EXPECT_TRUE(SameStockCode(u"600010.02", u"600010.02"));
    EXPECT_FALSE(SameStockCode(u"600010.02", u"600010.0"));
    EXPECT_FALSE(SameStockCode(u"0.02", u"600010.02"));
}

} // namespace
